#include "support/QtTestRunner.h"
#include "ui/app/ProgressDialog.h"

#include <QtTest>

using namespace qm::ui;

class ProgressDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startStepEndAndTheTextInvertsOverTheFilledPart()
    {
        ProgressDialog dialog;
        dialog.start("Loading map data", 4);
        QCOMPARE(std::pair(dialog.isVisible(), dialog.windowTitle()), std::pair(true, QStringLiteral("Loading map data")));
        dialog.step();
        dialog.step();
        QCOMPARE(dialog.bar()->text(), QStringLiteral("Process completed 50%"));
        for (int i = 0; i < 3; ++i) // steps past the total stay at 100%
            dialog.step();
        QCOMPARE(dialog.bar()->percent(), 100);
        dialog.end();
        QCOMPARE(std::pair(dialog.isVisible(), dialog.bar()->value()), std::pair(false, 0));
        // An empty operation does not divide by zero.
        dialog.start("Nothing", 0);
        dialog.step();
        QCOMPARE(dialog.bar()->percent(), 0);
        ProgressBar bar;
        bar.resize(200, 24);
        bar.setRange(0, 2);
        bar.setValue(1);
        const QImage image = bar.grab().toImage();
        const QPalette pal = bar.palette();
        QCOMPARE(std::pair(image.pixelColor(5, 3), image.pixelColor(195, 3)),
                 std::pair(pal.color(QPalette::Highlight), pal.color(QPalette::Base)));
        // Somewhere on the left half the text shows in the inverse colour, on the right half in the plain one.
        const auto shows = [&](int from, int to, const QColor& c) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = from; x < to; ++x)
                    if (image.pixelColor(x, y) == c)
                        return true;
            return false;
        };
        QVERIFY(shows(0, 100, pal.color(QPalette::HighlightedText)) && shows(101, 199, pal.color(QPalette::Text)));
    }

};

QM_QTEST(ProgressDialogTest)
#include "ProgressDialogTest.moc"
