#include "ui/app/CMainFrame.h"

#include <QtTest>

class CMainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void opensAndClosesCleanly()
    {
        qm::ui::CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(frame.windowTitle().startsWith(QStringLiteral("Quilt Mark-[")));
        QVERIFY(frame.close());
    }
};

QTEST_MAIN(CMainFrameTest)
#include "CMainFrameTest.moc"
