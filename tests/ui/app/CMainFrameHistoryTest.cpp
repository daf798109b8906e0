#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "core/undo/UndoStore.h"
#include "support/QtTestRunner.h"
#include "support/TestSupport.h"
#include "ui/app/Autosave.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/FileCommands.h"
#include "ui/app/HistoryDock.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewCommands.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QStandardPaths>
#include <QtTest>

#include <filesystem>

using namespace qm;
using namespace qm::ui;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;

namespace {

using C = CMainFrame::Command;

// A main window on a blank map whose cells are filled from the Edit menu.
struct Frame {
    explicit Frame(std::deque<Answer> answers = {}) : prompter(std::move(answers))
    {
        frame = std::make_unique<CMainFrame>();
        frame->setPrompter(&prompter);
        frame->route(MSG_INIT_MAP, 0, 0);
        view()->showMessage = [this](const QString& text) { shown << text; };
    }
    CQuiltmarkView* view() const { return frame->mapView(); }
    void fill(int x, int y, int tile)
    {
        view()->currentTileProvider = [tile] { return CurrentTile{TILE_BG, tile, 1}; };
        view()->moveCursor(x, y);
        frame->commandAction(C::BlockFill)->trigger();
    }
    void clickRow(int row)
    {
        QListWidget* list = frame->historyDock()->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // What Save would write.
    std::vector<std::uint8_t> savedBytes() const
    {
        NullProgress none;
        std::vector<std::uint8_t> all = encodeProject(frame->workspace(), none);
        for (TileKind kind : {TILE_BG, TILE_OBJ}) {
            const std::vector<std::uint8_t> set = encodeTileSetFile(frame->workspace().tiles, kind);
            all.insert(all.end(), set.begin(), set.end());
        }
        return all;
    }

    ScriptedPrompter prompter;
    QStringList shown;
    std::unique_ptr<CMainFrame> frame;
};

int copiesIn(const TempDir& root)
{
    return static_cast<int>(QDir(QString::fromStdString(root.path().string()))
                                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                .size());
}

} // namespace

class CMainFrameHistoryTest : public QObject {
    Q_OBJECT

    // An editor writes a copy of an edit, and is gone without saving.
    static void leaveCopy(const QString& root, int tile, std::vector<std::uint8_t>& edited)
    {
        Frame f;
        f.frame->project().projectPath = "/home/u/level.qmm";
        f.frame->autosave().enable(root, 120);
        f.fill(4, 4, tile);
        f.frame->workspace().tiles.bg.tiles[static_cast<std::size_t>(tile)].setPixel(2, 2, 3);
        QVERIFY(f.frame->autosave().burstTimer().isActive());
        f.frame->autosave().writeNow();
        QVERIFY(!f.frame->autosave().folder().isEmpty());
        edited = f.savedBytes();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theHistoryDockJumpsAndSaveMarksTheUnchangedEntry()
    {
        TempDir dir;
        Frame f;
        f.frame->show();
        ProjectState& st = f.frame->project();
        st.projectPath = dir.file("level.qmm");
        st.bgTileSetPath = dir.file("level.qmb");
        st.objTileSetPath = dir.file("level.qmo");
        for (int i = 1; i <= 3; ++i)
            f.fill(i, 0, i);
        QCOMPARE(f.frame->commandAction(C::Undo)->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("&Undo Block Fill"));
        QVERIFY(f.frame->fileCommands().saveProject());
        QCOMPARE(st.changeFlags, ChangeFlags(0));

        HistoryDock* dock = f.frame->historyDock();
        QAction* toggle = dock->toggleViewAction();
        QVERIFY(f.frame->menus().viewMenu()->actions().contains(toggle));
        toggle->trigger();
        QVERIFY(dock->isVisible());
        QCOMPARE(dock->list()->count(), 4);
        QCOMPARE(dock->currentRow(), 3);

        f.clickRow(1); // back past the save: changed again
        QCOMPARE(f.frame->undoStore().position(), std::size_t(1));
        QVERIFY(st.map.cellAt(1, 0)->showsTile(TILE_BG, 1));
        QVERIFY(!st.map.cellAt(2, 0)->hasBg());
        QVERIFY(st.changeFlags & CHANGED_MAP);
        QCOMPARE(dock->currentRow(), 1);
        QCOMPARE(f.frame->commandAction(C::Redo)->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("&Redo Block Fill"));
        f.clickRow(3); // forward to the saved entry: unchanged
        QVERIFY(st.map.cellAt(3, 0)->showsTile(TILE_BG, 3));
        QCOMPARE(st.changeFlags, ChangeFlags(0));
        QVERIFY(!f.frame->windowTitle().contains(QStringLiteral("-*")));
        f.clickRow(0);
        QVERIFY(!st.map.cellAt(1, 0)->hasBg());
        QVERIFY(!f.frame->commandAction(C::Undo)->isEnabled());
        QCOMPARE(f.frame->commandAction(C::Undo)->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("&Undo"));
        st.changeFlags = 0;
    }

    void aLineStepThatCannotBeRedoneIsShownAndStays()
    {
        Frame f;
        f.fill(2, 3, 5);
        f.view()->commands().rangePrompt = [](const QString&, int from, int) { return std::make_pair(from, from); };
        f.frame->commandAction(C::DeleteRow)->trigger();
        const int height = f.frame->project().map.height;
        f.frame->commandAction(C::Undo)->trigger();
        QCOMPARE(f.frame->project().map.height, height + 1);
        f.frame->undoStore().maxRecords = 0;
        f.frame->commandAction(C::Redo)->trigger();
        QCOMPARE(f.shown, QStringList{QString::fromLatin1(MSG_NO_MEMORY_UNDO)});
        QCOMPARE(f.frame->project().map.height, height + 1);
        QVERIFY(f.frame->commandAction(C::Redo)->isEnabled());
        QVERIFY(f.frame->project().map.cellAt(2, 3)->showsTile(TILE_BG, 5));
        f.frame->project().changeFlags = 0;
    }

    void aCopyOfWorkLeftBehindIsOfferedAtStart()
    {
        TempDir root;
        const QString rootPath = QString::fromStdString(root.path().string());
        std::vector<std::uint8_t> edited;
        leaveCopy(rootPath, 7, edited);
        Frame yes({Answer::Yes});
        yes.frame->autosave().enable(rootPath, 120);
        QVERIFY(yes.frame->autosave().offerRecovery());
        QCOMPARE(yes.prompter.questions.size(), std::size_t(1));
        QVERIFY(yes.prompter.questions[0].find("/home/u/level.qmm") != std::string::npos);
        QCOMPARE(yes.savedBytes(), edited);
        QCOMPARE(yes.frame->project().projectPath, std::string("/home/u/level.qmm"));
        QVERIFY(yes.frame->windowTitle().contains(QStringLiteral("-*")));
        // Taken over: a clean state removes it.
        QCOMPARE(copiesIn(root), 1);
        yes.frame->project().clearChanged();
        yes.frame->autosave().waitForWorker();
        QCOMPARE(copiesIn(root), 0);

        leaveCopy(rootPath, 8, edited);
        Frame no({Answer::No});
        no.frame->autosave().enable(rootPath, 120);
        QVERIFY(!no.frame->autosave().offerRecovery());
        QCOMPARE(no.prompter.questions.size(), std::size_t(1));
        QCOMPARE(copiesIn(root), 0);

        leaveCopy(rootPath, 9, edited);
        const QString folder = QDir(rootPath).entryList(QDir::Dirs | QDir::NoDotAndDotDot).at(0);
        const std::string manifest = root.file(folder.toStdString() + "/manifest");
        std::vector<std::uint8_t> bytes = qm::test::readBytes(manifest);
        bytes.pop_back();
        qm::test::writeBytes(manifest, bytes);
        Frame damaged({Answer::Yes});
        damaged.frame->autosave().enable(rootPath, 120);
        QVERIFY(!damaged.frame->autosave().offerRecovery());
        QCOMPARE(damaged.prompter.informed.size(), std::size_t(1));
        QVERIFY(damaged.prompter.questions.empty());
        QVERIFY(std::filesystem::exists(root.path() / RECOVERY_DAMAGED_FOLDER / folder.toStdString()));
    }
};

QM_QTEST(CMainFrameHistoryTest)
#include "CMainFrameHistoryTest.moc"
