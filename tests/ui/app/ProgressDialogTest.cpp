#include "support/QtTestRunner.h"
#include "ui/app/ProgressDialog.h"

#include <QtTest>

using namespace qm::ui;

class ProgressDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startStepEnd()
    {
        ProgressDialog dialog;
        dialog.start("Loading map data", 4);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Loading map data"));
        dialog.step();
        dialog.step();
        QCOMPARE(dialog.bar()->text(), QStringLiteral("Process completed 50%"));
        for (int i = 0; i < 3; ++i) // steps past the total stay at 100%
            dialog.step();
        QCOMPARE(dialog.bar()->percent(), 100);
        dialog.end();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.bar()->value(), 0);
        // An empty operation does not divide by zero.
        dialog.start("Nothing", 0);
        dialog.step();
        QCOMPARE(dialog.bar()->percent(), 0);
        dialog.end();
    }

    void filledPartAndTextColoursInvert()
    {
        ProgressBar bar;
        bar.resize(200, 24);
        bar.setRange(0, 2);
        bar.setValue(1);
        const QImage image = bar.grab().toImage();
        const QPalette pal = bar.palette();
        QCOMPARE(image.pixelColor(5, 3), pal.color(QPalette::Highlight));
        QCOMPARE(image.pixelColor(195, 3), pal.color(QPalette::Base));
        // Somewhere on the left half the text shows in the inverse colour,
        // and on the right half in the plain text colour.
        bool inverse = false, plain = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (x < 100 && c == pal.color(QPalette::HighlightedText))
                    inverse = true;
                if (x >= 101 && x < 199 && c == pal.color(QPalette::Text))
                    plain = true;
            }
        QVERIFY(inverse);
        QVERIFY(plain);
    }
};

QM_QTEST(ProgressDialogTest)
#include "ProgressDialogTest.moc"
