// The main window after the project is replaced or saved under new names:
// what its panes show, and which file a name on the command line means.
#include "FrameHarness.h"

#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/QtTestRunner.h"
#include "ui/app/AppSettings.h"
#include "ui/app/WindowSettings.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/CTilesetPage.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <filesystem>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using qm::test::TempDir;

namespace {

// A 5 x 4 project p.qmm in dir whose BG set (bg.qmb) has its own first colour.
void writeProject(const TempDir& dir, const std::string& name = "p.qmm", const std::string& version = "5.6")
{
    Workspace ws;
    NullProgress quiet;
    ws.tiles.palettes.bgPalettes[0][0] = GbcColor{31, 0, 0};
    ws.tiles.palettes.recomputeAll();
    QVERIFY(saveTileSetFile(dir.file("bg.qmb"), TILE_BG, ws.tiles, quiet).ok());
    ws.project.map.create(5, 4);
    ws.project.projectPath = dir.file(name);
    ws.project.bgTileSetPath = dir.file("bg.qmb");
    ws.project.objTileSetPath = dir.file("gone.qmo");
    QVERIFY(qm::writeProject(ws, quiet).ok());
    if (version != "5.6") {
        std::vector<std::uint8_t> bytes = qm::test::readBytes(dir.file(name));
        std::copy(version.begin(), version.end(), bytes.begin() + 19);
        qm::test::writeBytes(dir.file(name), bytes);
    }
}

} // namespace

class CMainFrameProjectTest : public QObject {
    Q_OBJECT
private slots:
    void aRelativePathOnTheCommandLineIsTakenWhereTheEditorStarted()
    {
        TempDir start, last;
        writeProject(start, "level.qmm");
        openSettings()->setValue(QStringLiteral("Frame/LastPath"), QString::fromStdString(last.path().string()));
        {
            qm::test::InDirectory in(start.path()); // where the editor was started
            Harness h;
            QVERIFY(h.frame.fileCommands().openFile(QStringLiteral("level.qmm")));
            QCOMPARE(std::pair(h.frame.project().projectPath, QDir::currentPath()),
                     std::pair(start.file("level.qmm"), QString::fromStdString(start.path().string())));
            // The dialogs' folder is the one kept between runs.
            h.frame.settings().store(nullptr);
        }
        QCOMPARE(openSettings()->value(QStringLiteral("Frame/LastPath")).toString(),
                 QString::fromStdString(last.path().string()));
    }

    void thePanesStartOverWithEveryNewProject_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* c : {"New", "Open", "Reload", "tile set"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void thePanesStartOverWithEveryNewProject()
    {
        QFETCH(QString, command);
        TempDir dir;
        writeProject(dir);
        Harness h;
        h.frame.show();
        CTilesetMgr* mgr = h.frame.tileSetManager();
        auto* editor = qobject_cast<CTileEditor*>(h.frame.pane(CMainFrame::Pane::TileEditor));
        // The editor on BG tile 7, the manager on its OBJ page at tile 30.
        mgr->selectTile(TILE_BG, 7);
        h.frame.commandAction(CMainFrame::Command::TileEditor)->trigger();
        QCOMPARE(editor->frame().start, 7);
        mgr->showPage(TILE_OBJ);
        mgr->page(TILE_OBJ)->state().selectTile(30);
        h.fill(1, 1, 2);
        h.frame.project().changeFlags = 0; // a step in the history, nothing to save

        h.prompter = qm::test::ScriptedPrompter({Answer::Yes}, Answer::No);
        if (command == "New") {
            h.dialogs.newProject = NewProjectRequest{dir.file("n.qmm"), dir.file("bg.qmb"), "", 6, 6};
            h.frame.fileCommands().newProject();
        } else if (command == "Open") {
            h.dialogs.openPath = QString::fromStdString(dir.file("p.qmm"));
            h.frame.fileCommands().openProject();
        } else if (command == "Reload") {
            h.frame.project().projectPath = dir.file("p.qmm");
            h.frame.fileCommands().reloadProject();
        } else {
            QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("bg.qmb"))));
        }
        const DisplayColour red = h.frame.workspace().tiles.palettes.bgDisplay[0][0];
        QCOMPARE(std::tuple(mgr->currentKind(), mgr->selectedTiles(TILE_BG), mgr->selectedTiles(TILE_OBJ), mgr->selectedTiles(TILE_TAG),
                            editor->kind(), editor->frame().start, editor->colourOf(h.frame.workspace().tiles.bg.tiles[0], 0)),
                 std::tuple(int(TILE_BG), QList<int>{0}, QList<int>{0}, QList<int>{0}, int(TILE_BG), 0, QColor(red.red, red.green, red.blue)));
        QVERIFY(!h.frame.commandAction(CMainFrame::Command::Undo)->isEnabled()); // the history is gone too
        editor->hide();
    }

    void aPageNamesOnlyLoadedSetsAndAFailedConversionShowsTheNewFile()
    {
        TempDir dir;
        writeProject(dir);
        Harness h;
        CTilesetMgr* mgr = h.frame.tileSetManager();
        const auto labels = [mgr] { return std::pair(mgr->page(TILE_BG)->fileLabel()->text(), mgr->page(TILE_OBJ)->fileLabel()->text()); };
        QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("p.qmm"))));
        QCOMPARE(labels(), std::pair(QStringLiteral("bg.qmb"), QString())); // gone.qmo was not found
        h.dialogs.savePaths = SavePaths{dir.file("s.qmm"), dir.file("s.qmb"), dir.file("s.qmo")};
        QVERIFY(h.frame.fileCommands().saveProjectAs());
        QCOMPARE(labels(), std::pair(QStringLiteral("s.qmb"), QStringLiteral("s.qmo")));
        // A failed conversion still shows the file that was taken over.
        writeProject(dir, "old.qmd", "5.2");
        std::filesystem::create_directory(dir.file("old.001")); // the backup cannot be written
        h.prompter = qm::test::ScriptedPrompter({Answer::Yes});
        QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("old.qmd"))));
        QVERIFY(h.prompter.informed.back().find("old.001") != std::string::npos);
        QCOMPARE(std::tuple(h.frame.project().projectPath, h.frame.widthField()->text(), h.frame.windowTitle().contains("old.qmm")),
                 std::tuple(dir.file("old.qmm"), QStringLiteral("5"), true));
    }

};

QM_QTEST(CMainFrameProjectTest)
#include "CMainFrameProjectTest.moc"
