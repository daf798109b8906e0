#include "core/base/FileIO.h"
#include "core/base/ZoomTable.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CToolBarEx.h"
#include "ui/app/FileCommands.h"
#include "ui/app/WindowSettings.h"
#include "core/undo/UndoStore.h"
#include "ui/map/CQuiltmarkView.h"
#include "support/QtTestRunner.h"
#include "FrameHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>
#include <QWheelEvent>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;
using qm::test::Harness;

// A pane that records what it is given.
class FakePane : public QWidget {
    Q_OBJECT
public:
    struct Got {
        AppMessage msg;
        qint64 w, l;
    };
    std::vector<Got> got;
    void handleMessage(qm::ui::AppMessage msg, qint64 w, qint64 l) { got.push_back({msg, w, l}); }
    bool received(AppMessage msg) const
    {
        return std::any_of(got.begin(), got.end(), [msg](const Got& g) { return g.msg == msg; });
    }
signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
};

class CMainFrameTest : public QObject {
    Q_OBJECT

    static std::string title(CMainFrame& f) { return f.windowTitle().toStdString(); }

private slots:
    void titleShowsUntitledModifiedAndZoom()
    {
        Harness h;
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-100%]"));
        h.frame.setChanged(CHANGED_MAP);
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-*100%]"));
        emit h.frame.zoomBox()->activated(3);
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-*125%]"));
        h.frame.project().clearChanged();
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-125%]"));
    }

    void titleElidesALongPathKeepingRootAndFileName()
    {
        Harness h;
        h.frame.resize(1000, 600);
        const std::string path = "/home/somebody/projects/games/an-unusually-long-directory-name/"
                                 "and-another-one-that-goes-on-and-on/levels/forest/level1.qmm";
        h.frame.project().projectPath = path;
        h.frame.rebuildTitle();
        const std::string wide = title(h.frame);
        h.frame.resize(420, 600);
        h.frame.rebuildTitle();
        const std::string narrow = title(h.frame);
        QVERIFY(wide.rfind("Quilt Mark-[/home/", 0) == 0);
        QVERIFY(narrow.rfind("Quilt Mark-[/", 0) == 0);
        QVERIFY(narrow.find("/.../level1.qmm-100%]") != std::string::npos);
        QVERIFY(narrow.size() < wide.size());
        QVERIFY(narrow.find("and-another-one") == std::string::npos);
    }

    void zoomStaysWithinItsEntries()
    {
        Harness h;
        QComboBox* box = h.frame.zoomBox();
        QCOMPARE(box->count(), 11);
        QCOMPARE(box->currentText(), QStringLiteral("100%"));
        emit box->activated(10);
        QCOMPARE(h.frame.zoomIndex(), 10);
        QVERIFY(h.frame.windowTitle().endsWith(QStringLiteral("-700%]")));
        // The view's zoom selects the entry; a level past the entries is ignored.
        h.frame.route(MSG_ZOOM_CHANGED, 0, 0);
        h.frame.route(MSG_ZOOM_CHANGED, 11, 0);
        QCOMPARE(h.frame.zoomIndex(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("25%"));
    }

    void zoomKeysWheelAndFitAndTheLevelIsKept()
    {
        {
            Harness h;
            h.frame.show();
            CQuiltmarkView* view = h.frame.mapView();
            using C = CMainFrame::Command;
            QVERIFY(h.frame.commandAction(C::ZoomIn)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+="))));
            QVERIFY(h.frame.commandAction(C::ZoomIn)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl++"))));
            QCOMPARE(h.frame.commandAction(C::ZoomOut)->shortcut(), QKeySequence(QStringLiteral("Ctrl+-")));
            QCOMPARE(h.frame.commandAction(C::ZoomToFit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
            h.frame.commandAction(C::ZoomIn)->trigger();
            QCOMPARE(view->cellSize(), 10);
            h.frame.commandAction(C::ZoomOut)->trigger();
            h.frame.commandAction(C::ZoomOut)->trigger();
            QCOMPARE(view->cellSize(), 6);
            QCOMPARE(h.frame.zoomBox()->currentText(), QStringLiteral("50%"));

            h.frame.commandAction(C::ZoomToFit)->trigger();
            const QSize room = view->maximumViewportSize();
            QCOMPARE(h.frame.zoomIndex(), zoomToFit(20, 18, room.width(), room.height()));
            QVERIFY(h.frame.zoomIndex() > 2);

            // Ctrl and the wheel: one step a notch, the cell under the pointer stays there.
            h.frame.project().map.create(100, 100);
            h.frame.route(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
            h.frame.setZoom(1);
            const QPoint at = view->cellRect(5, 4).center();
            QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
            QCOMPARE(view->cellSize(), 10);
            QCOMPARE(view->cellAtPoint(at), QPoint(5, 4));
            QVERIFY(h.frame.windowTitle().endsWith(QStringLiteral("-125%]")));

            h.frame.setZoom(6);
            QVERIFY(h.frame.close());
        }
        Harness again;
        QCOMPARE(again.frame.zoomIndex(), 6);
        QCOMPARE(again.frame.mapView()->cellSize(), 16);
        openSettings()->remove(QStringLiteral("Frame/Zoom")); // as before the first start
    }

    void temporaryToolReturnsOnKeyRelease()
    {
        Harness h;
        QCOMPARE(h.frame.currentTool(), int(TOOL_SELECT));
        h.frame.selectTool(TOOL_PENCIL);
        h.frame.setTemporaryTool(TOOL_HAND, QCursor(Qt::OpenHandCursor));
        QCOMPARE(h.frame.currentTool(), int(TOOL_HAND));
        QCOMPARE(h.frame.pendingTool(), int(TOOL_PENCIL));
        // The same tool again changes nothing (the pending one is kept).
        h.frame.setTemporaryTool(TOOL_HAND, QCursor(Qt::OpenHandCursor));
        QCOMPARE(h.frame.pendingTool(), int(TOOL_PENCIL));
        QTest::keyRelease(&h.frame, Qt::Key_Space);
        QCOMPARE(h.frame.currentTool(), int(TOOL_PENCIL));
        QCOMPARE(h.frame.pendingTool(), int(TOOL_NONE));
        // Nothing pending: a key release keeps the tool.
        QTest::keyRelease(&h.frame, Qt::Key_A);
        QCOMPARE(h.frame.currentTool(), int(TOOL_PENCIL));
    }

    void altSwitchesTheZoomToolOnly()
    {
        Harness h;
        h.frame.selectTool(TOOL_HAND);
        QTest::keyPress(&h.frame, Qt::Key_Alt);
        QCOMPARE(h.frame.currentTool(), int(TOOL_HAND));
        QTest::keyRelease(&h.frame, Qt::Key_Alt);
        h.frame.selectTool(TOOL_ZOOM);
        QTest::keyPress(&h.frame, Qt::Key_Alt);
        QCOMPARE(h.frame.currentTool(), int(TOOL_ZOOM_OUT));
        QTest::keyRelease(&h.frame, Qt::Key_Alt);
        QCOMPARE(h.frame.currentTool(), int(TOOL_ZOOM));
        // A zoom tool held from the select tool ends in the select tool.
        h.frame.selectTool(TOOL_SELECT);
        h.frame.setTemporaryTool(TOOL_ZOOM, QCursor());
        QTest::keyPress(&h.frame, Qt::Key_Alt);
        QTest::keyRelease(&h.frame, Qt::Key_Alt);
        QCOMPARE(h.frame.currentTool(), int(TOOL_SELECT));
    }

    void toolCommandsAndMessages()
    {
        Harness h;
        h.frame.commandAction(CMainFrame::Command::BucketTool)->trigger();
        QCOMPARE(h.frame.currentTool(), int(TOOL_BUCKET));
        h.frame.route(MSG_SELECT_TOOL, TOOL_LINE, 0);
        QCOMPARE(h.frame.currentTool(), int(TOOL_LINE));
        QVERIFY(h.frame.commandAction(CMainFrame::Command::LineTool)->isChecked());
        h.frame.route(MSG_SELECT_TOOL, TOOL_ZOOM, 0); // not a command the view may send
        QCOMPARE(h.frame.currentTool(), int(TOOL_LINE));
    }

    void messagesAreRoutedAsTheTableSays()
    {
        Harness h;
        auto* view = new FakePane;
        auto* manager = new FakePane;
        FakePane editor;
        h.frame.show();
        h.frame.setMapView(view);
        h.frame.attachPane(CMainFrame::Pane::TileSetManager, manager);
        h.frame.attachPane(CMainFrame::Pane::TileEditor, &editor);
        QCOMPARE(h.frame.pane(CMainFrame::Pane::MapView), view);

        // Tiles changed by the editor: view and manager re-render, the flag of the kind.
        emit editor.message(MSG_TILES_CHANGED, TILE_OBJ | TILES_CHANGED_KEEP_PAGE, 7);
        QVERIFY(view->received(MSG_TILES_CHANGED));
        QVERIFY(manager->received(MSG_TILES_CHANGED));
        QVERIFY(!editor.received(MSG_TILES_CHANGED));
        QCOMPARE(int(h.frame.project().changeFlags), int(CHANGED_OBJ_TILES));
        h.frame.project().changeFlags = 0;
        emit editor.message(MSG_TILES_CHANGED, TILE_TAG, 3);
        QCOMPARE(int(h.frame.project().changeFlags), 0xC0);
        h.frame.project().changeFlags = 0;

        // A palette change: the record's kind sets its flag, both panes follow.
        view->got.clear();
        manager->got.clear();
        TilePaletteChange change{1, 2, TILE_BG, 5, 5};
        emit manager->message(MSG_TILE_PALETTE_CHANGED, 0, messageParam(&change));
        QVERIFY(view->received(MSG_TILE_PALETTE_CHANGED));
        QVERIFY(manager->received(MSG_TILE_PALETTE_CHANGED));
        QCOMPARE(view->got.back().l, messageParam(&change));
        QCOMPARE(int(h.frame.project().changeFlags), int(CHANGED_BG_TILES));
        h.frame.project().changeFlags = 0;
        TilePaletteChange other{1, 2, 0x33, 5, 5};
        emit manager->message(MSG_TILE_PALETTE_CHANGED, 0, messageParam(&other));
        QCOMPARE(int(h.frame.project().changeFlags), 0);

        // Colours: the view follows, the flag is set; the hidden editor is skipped.
        emit manager->message(MSG_COLOURS_CHANGED, 0x40, 1);
        QVERIFY(view->received(MSG_COLOURS_CHANGED));
        QVERIFY(!editor.received(MSG_COLOURS_CHANGED));
        QCOMPARE(int(h.frame.project().changeFlags), int(CHANGED_PALETTE));

        // The current tile reaches the tile editor only while it is open.
        emit manager->message(MSG_CURRENT_TILE_CHANGED, TILE_BG, 12);
        QVERIFY(!editor.received(MSG_CURRENT_TILE_CHANGED));
        emit manager->message(MSG_TILE_DOUBLE_CLICKED, 12, 0);
        QVERIFY(editor.isVisible());
        QVERIFY(editor.received(MSG_TILE_DOUBLE_CLICKED));
        emit manager->message(MSG_CURRENT_TILE_CHANGED, TILE_BG, 13);
        QVERIFY(editor.received(MSG_CURRENT_TILE_CHANGED));
        QCOMPARE(editor.got.back().l, qint64(13));
        // "Tile Editor" closes the open editor and opens it again.
        QAction* editorCommand = h.frame.commandAction(CMainFrame::Command::TileEditor);
        QVERIFY(editorCommand->isEnabled());
        QVERIFY(editorCommand->isChecked());
        editorCommand->trigger();
        QVERIFY(!editor.isVisible());
        editorCommand->trigger();
        QVERIFY(editor.isVisible());
        editor.hide();

        // The view's own zoom only moves the box; the box's choice goes to the view.
        view->got.clear();
        emit view->message(MSG_ZOOM_CHANGED, 5, 0);
        QCOMPARE(h.frame.zoomIndex(), 5);
        QCOMPARE(h.frame.zoomBox()->currentText(), QStringLiteral("175%"));
        QVERIFY(!view->received(MSG_SET_ZOOM));
        emit h.frame.zoomBox()->activated(7);
        QVERIFY(view->received(MSG_SET_ZOOM));
        QCOMPARE(view->got.back().w, qint64(7));
        QVERIFY(h.frame.windowTitle().endsWith(QStringLiteral("-*300%]")));

        // Grid command toggles its text and tells the view.
        QAction* grid = h.frame.commandAction(CMainFrame::Command::ShowGrid);
        grid->trigger();
        QCOMPARE(view->got.back().msg, MSG_GRID);
        QCOMPARE(view->got.back().w, GRID_SHOW);
        QVERIFY(grid->text().startsWith(QStringLiteral("Hide &Grid")));
        grid->trigger();
        QCOMPARE(view->got.back().w, GRID_HIDE);

        // The start-up map.
        h.frame.project().map.create(3, 3);
        view->got.clear();
        h.frame.route(MSG_INIT_MAP, 0, 0);
        QCOMPARE(h.frame.project().map.width, 20);
        QCOMPARE(h.frame.project().map.height, 18);
        QVERIFY(view->received(MSG_MAP_RESET));
        QCOMPARE(view->got.back().w, MAP_RESET_SIZE);

        // DMG mode redraws the view without marking the project changed.
        h.frame.project().changeFlags = 0;
        view->got.clear();
        h.frame.dmgModeBox()->setChecked(true);
        QVERIFY(h.frame.workspace().tiles.dmgMode);
        QCOMPARE(view->got.back().msg, MSG_COLOURS_CHANGED);
        QCOMPARE(view->got.back().w, qint64(12));
        QCOMPARE(view->got.back().l, qint64(0xFFFF));
        QCOMPARE(int(h.frame.project().changeFlags), 0);
    }

    void menusHoldTheCommandsWithTheirKeys()
    {
        Harness h;
        using C = CMainFrame::Command;
        QCOMPARE(h.frame.commandAction(C::New)->text(), QStringLiteral("&New\tCtrl+N"));
        QCOMPARE(h.frame.commandAction(C::SaveAs)->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(h.frame.commandAction(C::HandTool)->text(), QStringLiteral("HandTool\tShift+M"));
        QCOMPARE(h.frame.commandAction(C::Eyedropper)->statusTip(),
                 QStringLiteral("Eyedropper (Shift+I)- Ctrl+Click to search OBJ tile"));
        QVERIFY(h.frame.commandAction(C::Export)->isEnabled());
        QVERIFY(!h.frame.commandAction(C::Undo)->isEnabled());
        QVERIFY(h.frame.commandAction(C::GbcColor)->isChecked());
        // Reload only with a project path.
        QVERIFY(!h.frame.commandAction(C::Reload)->isEnabled());
        h.frame.project().projectPath = "/x/level.qmm";
        h.frame.rebuildTitle();
        QVERIFY(h.frame.commandAction(C::Reload)->isEnabled());

        const QList<QAction*> bar = h.frame.toolBarEx()->actions();
        QCOMPARE(bar.at(0), h.frame.commandAction(C::New));
        QCOMPARE(bar.at(1), h.frame.commandAction(C::Open));
        QCOMPARE(bar.at(2), h.frame.commandAction(C::Save));
        QCOMPARE(bar.at(3), h.frame.commandAction(C::Reload));
        QCOMPARE(h.frame.dmgModeBox()->text(), QStringLiteral("DMG Mode"));
        QCOMPARE(h.frame.hideObjBox()->text(), QStringLiteral("Hide OBJ"));
        QCOMPARE(h.frame.hideTagsBox()->text(), QStringLiteral("Hide Tags"));
        h.frame.hideObjBox()->click(); // runs the view's switch, which the menu follows
        QVERIFY(h.frame.mapView()->objHidden());
        QVERIFY(h.frame.commandAction(C::HideObjTile)->isChecked());
    }

    void newProjectNormalisesTheNameAndShowsTheSize()
    {
        TempDir dir;
        Harness h;
        NewProjectRequest request;
        request.projectPath = dir.file("level.qmm.bak");
        request.width = 32;
        request.height = 24;
        h.dialogs.newProject = request;
        h.frame.commandAction(CMainFrame::Command::New)->trigger();
        QCOMPARE(h.dialogs.newCalls, 1);
        QCOMPARE(h.frame.project().projectPath, dir.file("level.qmm"));
        QCOMPARE(h.frame.widthField()->text(), QStringLiteral("32"));
        QCOMPARE(h.frame.heightField()->text(), QStringLiteral("24"));
        QCOMPARE(h.frame.statusText(), QStringLiteral("Map size:(32,24)"));
        QVERIFY(h.frame.windowTitle().contains(QStringLiteral("level.qmm-100%]")));
        QVERIFY(h.prompter.questions.empty());

        // With unsaved work the question comes first; Cancel stops New.
        h.frame.setChanged(CHANGED_MAP);
        h.prompter = ScriptedPrompter({Answer::Cancel});
        h.frame.fileCommands().newProject();
        QCOMPARE(h.prompter.questions, std::vector<std::string>{"Map has been changed, save?"});
        QCOMPARE(h.dialogs.newCalls, 1);
    }

    void saveWithAnEmptyTileSetPathIsSaveAs()
    {
        TempDir dir;
        Harness h;
        ProjectState& st = h.frame.project();
        st.projectPath = dir.file("p.qmm");
        st.bgTileSetPath = dir.file("p.bts");
        st.setChanged(CHANGED_MAP);
        h.dialogs.savePaths = SavePaths{dir.file("p.qmm"), dir.file("p.qmb"), dir.file("p")};
        QVERIFY(h.frame.fileCommands().saveProject());
        QCOMPARE(h.dialogs.saveCalls, 1);
        QCOMPARE(h.dialogs.offered.bgTileSetPath, dir.file("p.qmb")); // normalised before the dialog
        QCOMPARE(st.objTileSetPath, dir.file("p.qmo"));
        QVERIFY(fileExists(dir.file("p.qmm")));
        QVERIFY(fileExists(dir.file("p.qmb")));
        QVERIFY(fileExists(dir.file("p.qmo")));
        QCOMPARE(int(st.changeFlags), 0);
        QCOMPARE(h.frame.windowTitle(), QStringLiteral("Quilt Mark-[%1-100%]").arg(QString::fromStdString(dir.file("p.qmm"))));

        // All paths set: Save writes without asking.
        st.setChanged(CHANGED_BG_TILES);
        QVERIFY(h.frame.fileCommands().saveProject());
        QCOMPARE(h.dialogs.saveCalls, 1);
        QCOMPARE(int(st.changeFlags), 0);

        // Save As cancelled saves nothing and keeps the flags.
        st.setChanged(CHANGED_MAP);
        h.dialogs.savePaths.reset();
        QVERIFY(!h.frame.fileCommands().saveProjectAs());
        QCOMPARE(int(st.changeFlags), int(CHANGED_MAP));
    }

    void closingAsksAndACancelledSaveKeepsTheWindow()
    {
        Harness h;
        h.frame.show();
        h.frame.setChanged(CHANGED_PALETTE);
        h.prompter = ScriptedPrompter({Answer::Cancel});
        QVERIFY(!h.frame.close());
        QCOMPARE(h.prompter.questions.back(), std::string("Palette has been changed, save?"));
        // Yes, then the Save As dialog cancelled: nothing saved, the window stays.
        h.prompter = ScriptedPrompter({Answer::Yes});
        QVERIFY(!h.frame.close());
        QCOMPARE(h.dialogs.saveCalls, 1);
        h.prompter = ScriptedPrompter({Answer::No});
        QVERIFY(h.frame.close());
    }

    void mapPropertiesShrinkQuestion()
    {
        Harness h;
        auto* view = new FakePane;
        h.frame.setMapView(view);
        h.dialogs.mapSize = QSize(20, 10);

        h.prompter = ScriptedPrompter({Answer::Cancel});
        h.frame.fileCommands().mapProperties();
        QCOMPARE(h.prompter.questions.back(),
                 std::string("Changing map's height will result in losing some part of the map, continue ?"));
        QCOMPARE(h.frame.project().map.height, 18);
        QCOMPARE(int(h.frame.project().changeFlags), 0);
        QVERIFY(view->got.empty());

        h.prompter = ScriptedPrompter({Answer::No});
        h.frame.fileCommands().mapProperties();
        QCOMPARE(h.frame.project().map.height, 18);
        QCOMPARE(int(h.frame.project().changeFlags), int(CHANGED_PROJECT));
        QVERIFY(h.frame.windowTitle().contains(QStringLiteral("-*")));
        QCOMPARE(view->got.back().msg, MSG_MAP_RESET);
        QCOMPARE(view->got.back().w, MAP_RESET_SIZE);

        h.prompter = ScriptedPrompter({Answer::Yes});
        h.frame.fileCommands().mapProperties();
        QCOMPARE(h.frame.project().map.height, 10);
        QCOMPARE(h.frame.heightField()->text(), QStringLiteral("10"));

        h.dialogs.mapSize.reset(); // the dialog closed without OK
        h.frame.fileCommands().mapProperties();
        QCOMPARE(h.frame.project().map.height, 10);
    }

    void openFileChoosesByTheFirstMatchingExtension()
    {
        TempDir dir;
        Workspace source;
        source.tiles.bg.tiles[4].pixels[0] = 3;
        source.tiles.obj.tiles[4].pixels[0] = 2;
        NullProgress progress;
        QVERIFY(saveTileSetFile(dir.file("x.qmb.qmm"), TILE_BG, source.tiles, progress).ok());
        QVERIFY(saveTileSetFile(dir.file("y.qmm.ots"), TILE_OBJ, source.tiles, progress).ok());
        source.project.map.create(5, 4);
        source.project.projectPath = dir.file("level.qmm");
        QVERIFY(writeProject(source, progress).ok());

        Harness h;
        h.frame.project().projectPath = "/keep.qmm";
        QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("x.qmb.qmm"))));
        QCOMPARE(h.frame.project().bgTileSetPath, dir.file("x.qmb.qmm"));
        QCOMPARE(h.frame.project().projectPath, std::string("/keep.qmm"));
        QCOMPARE(int(h.frame.workspace().tiles.bg.tiles[4].pixels[0]), 3);
        QCOMPARE(h.frame.statusText(), QStringLiteral("Map size:(20,18)"));

        QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("y.qmm.ots"))));
        QCOMPARE(h.frame.project().objTileSetPath, dir.file("y.qmm.qmo"));
        QCOMPARE(int(h.frame.workspace().tiles.obj.tiles[4].pixels[0]), 2);

        QVERIFY(h.frame.fileCommands().openFile(QString::fromStdString(dir.file("level.qmm"))));
        QCOMPARE(h.frame.project().projectPath, dir.file("level.qmm"));
        QCOMPARE(h.frame.project().map.width, 5);
        QCOMPARE(h.frame.widthField()->text(), QStringLiteral("5"));
        QCOMPARE(h.frame.settings().recentFiles().first(), QString::fromStdString(dir.file("level.qmm")));

        QVERIFY(!h.frame.fileCommands().openFile(QString::fromStdString(dir.file("notes.txt"))));
        QCOMPARE(h.frame.project().projectPath, dir.file("level.qmm"));
        QVERIFY(h.prompter.informed.empty());
    }

    void aRefusedProjectLeavesTheOpenOneAlone()
    {
        TempDir dir;
        qm::test::writeBytes(dir.file("bad.qmm"), {'n', 'o', 'p', 'e'});
        Harness h;
        h.frame.project().projectPath = dir.file("mine.qmm");
        h.frame.project().map.create(7, 7);
        h.dialogs.openPath = QString::fromStdString(dir.file("bad.qmm"));
        h.frame.fileCommands().openProject();
        QCOMPARE(h.prompter.informed, std::vector<std::string>{"Invalid Quiltmark file."});
        QCOMPARE(h.frame.project().projectPath, dir.file("mine.qmm"));
        QCOMPARE(h.frame.project().map.width, 7);
        QVERIFY(h.frame.settings().recentFiles().isEmpty() ||
                h.frame.settings().recentFiles().first() != QString::fromStdString(dir.file("bad.qmm")));
    }

    void reloadAsksFirst()
    {
        TempDir dir;
        Workspace source;
        source.project.map.create(6, 2);
        source.project.projectPath = dir.file("r.qmm");
        NullProgress progress;
        QVERIFY(writeProject(source, progress).ok());

        Harness h;
        h.frame.project().projectPath = dir.file("r.qmm");
        h.prompter = ScriptedPrompter({Answer::No, Answer::Yes});
        h.frame.fileCommands().reloadProject();
        QCOMPARE(h.frame.project().map.width, 20);
        QCOMPARE(h.prompter.questions.back(), std::string("Discard changes and reload project ?"));
        QCOMPARE(h.prompter.questionButtons.back(), Buttons::YesNoCancel);
        h.frame.fileCommands().reloadProject();
        QCOMPARE(h.frame.project().map.width, 6);
    }

    void theMapViewIsTheCentralPaneAndFollowsTheFrame()
    {
        Harness h;
        CQuiltmarkView* view = h.frame.mapView();
        QVERIFY(view);
        QCOMPARE(h.frame.centralWidget(), static_cast<QWidget*>(view));

        // Menu switches run the view's own commands, and the box follows.
        QAction* hideObj = h.frame.commandAction(CMainFrame::Command::HideObjTile);
        QVERIFY(hideObj->isEnabled());
        hideObj->trigger();
        QVERIFY(view->objHidden());
        QVERIFY(h.frame.hideObjBox()->isChecked());

        // Tools reach the view.
        h.frame.selectTool(TOOL_PENCIL);
        QCOMPARE(view->currentTool(), int(TOOL_PENCIL));

        // An edit marks the project and enables Undo; a new project forgets the history.
        QAction* undo = h.frame.commandAction(CMainFrame::Command::Undo);
        QVERIFY(!undo->isEnabled());
        h.frame.undoStore().beginStep(STEP_CELLS);
        QVERIFY(h.frame.undoStore().saveCell(h.frame.project().map, 0, 0, TILE_BG));
        h.frame.project().map.cellAt(0, 0)->place(TILE_BG, 3, 1);
        view->markModified();
        view->refreshUndoActions();
        QVERIFY(undo->isEnabled());
        QVERIFY(h.frame.project().changeFlags & CHANGED_MAP);
        QVERIFY(title(h.frame).find("-*") != std::string::npos);
        undo->trigger();
        QCOMPARE(h.frame.project().map.cellAt(0, 0)->bgAttr, 0);

        h.prompter = ScriptedPrompter({Answer::No});
        NewProjectRequest request;
        request.width = 5;
        request.height = 4;
        h.dialogs.newProject = request;
        h.frame.fileCommands().newProject();
        QVERIFY(!undo->isEnabled());
        QVERIFY(!h.frame.commandAction(CMainFrame::Command::Redo)->isEnabled());
        QVERIFY(!view->isModified());
    }
};

QM_QTEST(CMainFrameTest)
#include "CMainFrameTest.moc"
