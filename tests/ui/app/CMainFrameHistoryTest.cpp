#include "FrameHarness.h"

#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "core/undo/UndoStore.h"
#include "support/QtTestRunner.h"
#include "ui/app/Autosave.h"
#include "ui/app/HistoryDock.h"
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
using qm::test::Harness;
using qm::test::TempDir;
using qm::test::savedBytes;

namespace {

using C = CMainFrame::Command;


void clickRow(CMainFrame& frame, int row)
{
    QListWidget* list = frame.historyDock()->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QString undoText(CMainFrame& frame, C command) { return frame.commandAction(command)->text().section(QLatin1Char('\t'), 0, 0); }

int copiesIn(const TempDir& root) { return static_cast<int>(qm::test::entriesIn(root.path())); }

} // namespace

class CMainFrameHistoryTest : public QObject {
    Q_OBJECT

    // An editor writes a copy of an edit, and is gone without saving.
    static void leaveCopy(const QString& root, int tile, std::vector<std::uint8_t>& edited)
    {
        Harness h;
        h.frame.project().projectPath = "/home/u/level.qmm";
        h.frame.autosave().enable(root, 120);
        h.fill(4, 4, tile);
        h.frame.workspace().tiles.bg.tiles[static_cast<std::size_t>(tile)].setPixel(2, 2, 3);
        const bool burst = h.frame.autosave().burstTimer().isActive();
        h.frame.autosave().writeNow();
        QVERIFY(burst && !h.frame.autosave().folder().isEmpty());
        edited = savedBytes(h.frame.workspace());
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theHistoryDockAFailedRedoAndTheCopiesOfferedAtStart()
    {
        TempDir dir;
        Harness f;
        f.frame.show();
        ProjectState& st = f.frame.project();
        st.projectPath = dir.file("level.qmm");
        st.bgTileSetPath = dir.file("level.qmb");
        st.objTileSetPath = dir.file("level.qmo");
        for (int i = 1; i <= 3; ++i)
            f.fill(i, 0, i);
        QCOMPARE(undoText(f.frame, C::Undo), QStringLiteral("&Undo Block Fill"));
        QVERIFY(f.frame.fileCommands().saveProject() && st.changeFlags == 0);

        HistoryDock* dock = f.frame.historyDock();
        QAction* toggle = dock->toggleViewAction();
        QVERIFY(f.frame.menus().viewMenu()->actions().contains(toggle));
        toggle->trigger();
        QCOMPARE(std::tuple(dock->isVisible(), dock->list()->count(), dock->currentRow()), std::tuple(true, 4, 3));
        // Each entry clicked: the row, the step reached, the cells, changed or not, the Edit menu.
        const auto jump = [&](int row) {
            clickRow(f.frame, row);
            QString cells;
            for (int x = 1; x <= 3; ++x)
                cells += st.map.cellAt(x, 0)->hasBg() ? QString::number(st.map.cellAt(x, 0)->bgTile) : QStringLiteral(".");
            return std::tuple(dock->currentRow(), int(f.frame.undoStore().position()), cells, f.frame.windowTitle().contains("-*"),
                              undoText(f.frame, C::Undo), undoText(f.frame, C::Redo));
        };
        const QString undo = QStringLiteral("&Undo Block Fill"), redo = QStringLiteral("&Redo Block Fill");
        QCOMPARE(jump(1), std::tuple(1, 1, QStringLiteral("1.."), true, undo, redo)); // back past the save: changed
        QCOMPARE(jump(3), std::tuple(3, 3, QStringLiteral("123"), false, undo, QStringLiteral("&Redo"))); // the saved one
        QCOMPARE(jump(0), std::tuple(0, 0, QStringLiteral("..."), true, QStringLiteral("&Undo"), redo));
        QVERIFY(!f.frame.commandAction(C::Undo)->isEnabled());
        f.fill(2, 3, 5);
        f.view()->commands().rangePrompt = [](const QString&, int from, int) { return std::make_pair(from, from); };
        f.frame.commandAction(C::DeleteRow)->trigger();
        const int height = f.frame.project().map.height;
        f.frame.commandAction(C::Undo)->trigger();
        QCOMPARE(f.frame.project().map.height, height + 1);
        f.frame.undoStore().maxRecords = 0;
        f.frame.commandAction(C::Redo)->trigger();
        QCOMPARE(f.shown, QStringList{QString::fromLatin1(MSG_NO_MEMORY_UNDO)});
        QCOMPARE(std::tuple(f.frame.project().map.height, f.frame.commandAction(C::Redo)->isEnabled(), f.cell(2, 3).showsTile(TILE_BG, 5)),
                 std::tuple(height + 1, true, true));
        // A copy of work left behind is offered at start.
        TempDir root;
        const QString rootPath = QString::fromStdString(root.path().string());
        std::vector<std::uint8_t> edited;
        leaveCopy(rootPath, 7, edited);
        Harness yes({Answer::Yes});
        yes.frame.autosave().enable(rootPath, 120);
        QVERIFY(yes.frame.autosave().offerRecovery());
        QVERIFY(yes.prompter.questions.size() == 1 && yes.prompter.questions[0].find("/home/u/level.qmm") != std::string::npos);
        QCOMPARE(savedBytes(yes.frame.workspace()), edited); // opened as modified, with the original paths
        QCOMPARE(std::pair(yes.frame.project().projectPath, yes.frame.windowTitle().contains("-*")),
                 std::pair(std::string("/home/u/level.qmm"), true));
        // Taken over: a clean state removes it.
        QCOMPARE(copiesIn(root), 1);
        yes.frame.project().clearChanged();
        yes.frame.autosave().waitForWorker();
        QCOMPARE(copiesIn(root), 0);

        leaveCopy(rootPath, 8, edited);
        Harness no({Answer::No});
        no.frame.autosave().enable(rootPath, 120);
        QVERIFY(!no.frame.autosave().offerRecovery());
        QCOMPARE(std::pair(no.prompter.questions.size(), copiesIn(root)), std::pair(std::size_t(1), 0));

        leaveCopy(rootPath, 9, edited);
        const QString folder = QDir(rootPath).entryList(QDir::Dirs | QDir::NoDotAndDotDot).at(0);
        const std::string manifest = root.file(folder.toStdString() + "/manifest");
        const std::vector<std::uint8_t> bytes = qm::test::readBytes(manifest);
        qm::test::writeBytes(manifest, {bytes.begin(), bytes.end() - 1});
        Harness damaged({Answer::Yes});
        damaged.frame.autosave().enable(rootPath, 120);
        QVERIFY(!damaged.frame.autosave().offerRecovery());
        QCOMPARE(std::pair(damaged.prompter.informed.size(), damaged.prompter.questions.size()), std::pair(std::size_t(1), std::size_t(0)));
        QVERIFY(std::filesystem::exists(root.path() / RECOVERY_DAMAGED_FOLDER / folder.toStdString()));
    }

};

QM_QTEST(CMainFrameHistoryTest)
#include "CMainFrameHistoryTest.moc"
