#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/app/AppSettings.h"
#include "ui/app/DialogFolder.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/WindowSettings.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
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

    void placementFollowsTheSavedRectangleWithinTheScreen()
    {
        FrameSettings none;
        QVERIFY(!framePlacement(none, QRect(0, 0, 1024, 768), QSize(1024, 768)));
        FrameSettings v;
        v.status = SHOW_MAXIMIZED;
        v.left = 100;
        v.top = 50;
        v.right = 900;
        v.bottom = 650;
        auto p = framePlacement(v, QRect(0, 24, 1024, 744), QSize(1024, 768));
        QVERIFY(p);
        QCOMPARE(p->rect, QRect(100, 74, 800, 600)); // moved by the work area's origin
        QCOMPARE(p->status, SHOW_MAXIMIZED);

        v.left = 5000;
        v.right = 5800;
        v.top = 3000;
        v.bottom = 3600;
        p = framePlacement(v, QRect(0, 0, 1024, 768), QSize(1024, 768));
        QVERIFY(p);
        QCOMPARE(p->rect, QRect(1024 - 32, 768 - 32, 800, 600));
    }

    void tileEditorRectangleNeedsBothValues()
    {
        FrameSettings v;
        v.tileEditorLeft = 40;
        QVERIFY(tileEditorRect(v).isNull());
        v.tileEditorTop = 60;
        QCOMPARE(tileEditorRect(v), QRect(40, 60, 225, 228));
    }

    void recentFilesKeepSixNewestFirst()
    {
        QStringList files;
        for (int i = 1; i <= 8; ++i)
            files = withRecentFile(files, QStringLiteral("/m/%1.qmm").arg(i));
        QCOMPARE(files.size(), 6);
        QCOMPARE(files.first(), QStringLiteral("/m/8.qmm"));
        QCOMPARE(files.last(), QStringLiteral("/m/3.qmm"));
        files = withRecentFile(files, QStringLiteral("/m/5.qmm"));
        QCOMPARE(files.first(), QStringLiteral("/m/5.qmm"));
        QCOMPARE(files.size(), 6);
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
        QCOMPARE(stored.lastPath, lastPath);
        QCOMPARE(stored.status, SHOW_NORMAL);
        QCOMPARE(QSize(stored.right - stored.left, stored.bottom - stored.top), QSize(700, 500));
        QCOMPARE(stored.tileEditorLeft, -1); // never placed: stays absent

        FrameSettings more = stored;
        more.tileEditorLeft = 30;
        more.tileEditorTop = 40;
        writeFrameSettings(*settings, more);
        setDialogFolder(before);
        CMainFrame again;
        QCOMPARE(dialogFolder(), lastPath);
        QCOMPARE(QDir::currentPath(), before); // the working directory never moves
        QCOMPARE(again.geometry().size(), QSize(700, 500));
        QCOMPARE(again.settings().tileEditorRect(), QRect(30, 40, 225, 228));
    }
};

QM_QTEST(AppSettingsTest)
#include "AppSettingsTest.moc"
