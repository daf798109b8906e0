#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/app/AppSettings.h"
#include "ui/app/DialogFolder.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/WindowSettings.h"

#include <QDir>
#include <QStandardPaths>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::TempDir;

class AppSettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> settingsDir_;

private slots:
    void init()
    {
        // Every test starts from empty settings of its own.
        QStandardPaths::setTestModeEnabled(true);
        settingsDir_ = std::make_unique<TempDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsDir_->path().string()));
    }

    void placementWithinTheScreenAndSixRecentFilesNewestFirst()
    {
        QVERIFY(!framePlacement(FrameSettings{}, QRect(0, 0, 1024, 768), QSize(1024, 768)));
        FrameSettings v{.status = SHOW_MAXIMIZED, .top = 50, .left = 100, .bottom = 650, .right = 900};
        auto p = framePlacement(v, QRect(0, 24, 1024, 744), QSize(1024, 768));
        QVERIFY(p);
        QCOMPARE(std::pair(p->rect, p->status), std::pair(QRect(100, 74, 800, 600), int(SHOW_MAXIMIZED))); // moved by the work area
        v = FrameSettings{.status = SHOW_MAXIMIZED, .top = 3000, .left = 5000, .bottom = 3600, .right = 5800};
        p = framePlacement(v, QRect(0, 0, 1024, 768), QSize(1024, 768));
        QVERIFY(p);
        QCOMPARE(p->rect, QRect(1024 - 32, 768 - 32, 800, 600));
        // The tile editor's place needs both values.
        QVERIFY(tileEditorRect(FrameSettings{.tileEditorLeft = 40}).isNull());
        QStringList files;
        for (int i = 1; i <= 8; ++i)
            files = withRecentFile(files, QStringLiteral("/m/%1.qmm").arg(i));
        QCOMPARE(files, (QStringList{"/m/8.qmm", "/m/7.qmm", "/m/6.qmm", "/m/5.qmm", "/m/4.qmm", "/m/3.qmm"}));
        files = withRecentFile(files, QStringLiteral("/m/5.qmm"));
        QCOMPARE(files, (QStringList{"/m/5.qmm", "/m/8.qmm", "/m/7.qmm", "/m/6.qmm", "/m/4.qmm", "/m/3.qmm"}));
        auto settings = openSettings();
        writeRecentFiles(*settings, files);
        QCOMPARE(readRecentFiles(*settings), files);
        writeRecentFiles(*settings, {QStringLiteral("/only.qmm")});
        QCOMPARE(readRecentFiles(*settings), QStringList{QStringLiteral("/only.qmm")});
    }

    void frameStoresAndRestoresItsSettings()
    {
        TempDir work;
        const QString before = QDir::currentPath();
        const QString lastPath = QString::fromStdString(work.path().string());
        {
            CMainFrame frame;
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.setGeometry(120, 90, 700, 500);
            setDialogFolder(lastPath); // a file was chosen there
            QVERIFY(frame.close());
        }
        auto settings = openSettings();
        const FrameSettings stored = readFrameSettings(*settings);
        QCOMPARE(std::tuple(stored.lastPath, stored.status, QSize(stored.right - stored.left, stored.bottom - stored.top),
                            stored.tileEditorLeft), // never placed: stays absent
                 std::tuple(lastPath, int(SHOW_NORMAL), QSize(700, 500), -1));

        FrameSettings more = stored;
        more.tileEditorLeft = 30;
        more.tileEditorTop = 40;
        writeFrameSettings(*settings, more);
        setDialogFolder(before);
        CMainFrame again;
        QCOMPARE(std::tuple(dialogFolder(), QDir::currentPath(), again.geometry().size(), again.settings().tileEditorRect()),
                 std::tuple(lastPath, before, QSize(700, 500), QRect(30, 40, 225, 228))); // the working directory never moves
    }
};

QM_QTEST(AppSettingsTest)
#include "AppSettingsTest.moc"
