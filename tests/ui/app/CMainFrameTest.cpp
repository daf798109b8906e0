#include "FrameHarness.h"

#include "core/base/FileIO.h"
#include "core/base/ZoomTable.h"
#include "core/project/ProjectFile.h"
#include "support/QtTestRunner.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CToolBarEx.h"
#include "ui/app/TileCountLabel.h"
#include "ui/app/WindowSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWheelEvent>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using qm::test::ScriptedPrompter;
using qm::test::TempDir;
using C = CMainFrame::Command;

// A pane that records what it is given.
class FakePane : public QWidget {
    Q_OBJECT
public:
    struct Got { AppMessage msg; qint64 w, l; };
    std::vector<Got> got;
    void handleMessage(qm::ui::AppMessage msg, qint64 w, qint64 l) { got.push_back({msg, w, l}); }
    bool received(AppMessage msg) const { return std::any_of(got.begin(), got.end(), [msg](const Got& g) { return g.msg == msg; }); }
signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
};

class CMainFrameTest : public QObject {
    Q_OBJECT

    static std::string title(CMainFrame& f) { return f.windowTitle().toStdString(); }

private slots:
    void titleMenusToolbarAndStatusBarFollowTheProject()
    {
        Harness h;
        QCOMPARE(h.frame.commandAction(C::Eyedropper)->statusTip(),
                 QStringLiteral("Eyedropper (Shift+I)- Ctrl+Click to search OBJ tile"));
        const auto a = [&h](C c) { return h.frame.commandAction(c); };
        QCOMPARE(h.frame.toolBarEx()->actions().mid(0, 4), (QList<QAction*>{a(C::New), a(C::Open), a(C::Save), a(C::Reload)}));
        QVERIFY(!a(C::Undo)->isEnabled() && !a(C::Reload)->isEnabled()); // Reload only with a project path
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-100%]"));
        h.frame.setChanged(CHANGED_MAP);
        emit h.frame.zoomBox()->activated(3);
        QCOMPARE(title(h.frame), std::string("Quilt Mark-[Untitled-*125%]"));
        h.frame.project().clearChanged();
        // A window too narrow for the path keeps its root and file name.
        const std::string path = "/home/somebody/projects/an-unusually-long-directory-name/levels/level1.qmm";
        h.frame.project().projectPath = path;
        h.frame.resize(1000, 600);
        h.frame.rebuildTitle();
        QVERIFY(a(C::Reload)->isEnabled());
        QCOMPARE(title(h.frame), "Quilt Mark-[" + path + "-125%]");
        h.frame.resize(400, 600);
        h.frame.rebuildTitle();
        QVERIFY(title(h.frame).rfind("Quilt Mark-[/", 0) == 0 && title(h.frame).ends_with("/.../level1.qmm-125%]"));
        // The status bar counts the tiles the map uses.
        QCOMPARE(h.frame.centralWidget(), static_cast<QWidget*>(h.frame.mapView()));
        h.fill(0, 0, 3); // New, Open and Reload clearing the history: CMainFrameProjectTest
        QVERIFY(h.frame.commandAction(C::Undo)->isEnabled() && title(h.frame).find("-*") != std::string::npos);
        QTRY_COMPARE(h.frame.tileCount()->text(), QStringLiteral("Tiles 1/256 \u00B7 bank 1: 0/256")); // once the edits pause
    }

    void zoomBoxKeysWheelFitTheStoredLevelAndTheTools()
    {
        {
            Harness h;
            h.frame.show();
            CQuiltmarkView* view = h.frame.mapView();
            QCOMPARE(std::pair(h.frame.commandAction(C::ZoomIn)->shortcuts(), h.frame.commandAction(C::ZoomToFit)->shortcut()),
                     std::pair(QKeySequence::listFromString("Ctrl+=; Ctrl++"), QKeySequence(QStringLiteral("Ctrl+0"))));
            h.frame.commandAction(C::ZoomIn)->trigger();
            const int zoomedIn = view->cellSize();
            for (int i = 0; i < 3; ++i) // not below 25%
                h.frame.commandAction(C::ZoomOut)->trigger();
            QCOMPARE(std::pair(zoomedIn, h.frame.zoomBox()->currentText()), std::pair(10, QStringLiteral("25%")));
            // The view's own zoom moves the box; a level past the entries is ignored.
            h.frame.route(MSG_ZOOM_CHANGED, 1, 0);
            h.frame.route(MSG_ZOOM_CHANGED, 11, 0);
            QCOMPARE(h.frame.zoomIndex(), 1);

            h.frame.commandAction(C::ZoomToFit)->trigger();
            const QSize room = view->maximumViewportSize();
            QVERIFY(h.frame.zoomIndex() == zoomToFit(20, 18, room.width(), room.height()) && h.frame.zoomIndex() > 2);

            // Ctrl and the wheel: a step a notch, the cell under the pointer stays there.
            h.frame.project().map.create(100, 100);
            h.frame.route(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
            h.frame.setZoom(1);
            const QPoint at = view->cellRect(5, 4).center();
            QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
            QCOMPARE(std::tuple(view->cellSize(), view->cellAtPoint(at), h.frame.windowTitle().endsWith("-125%]")),
                     std::tuple(10, QPoint(5, 4), true));
            h.frame.setZoom(6);
            QVERIFY(h.frame.close());
        }
        Harness again;
        QCOMPARE(std::pair(again.frame.zoomIndex(), again.view()->cellSize()), std::pair(6, 16));
        openSettings()->remove(QStringLiteral("Frame/Zoom")); // as before the first start
        Harness h;
        h.frame.commandAction(C::BucketTool)->trigger();
        const int bucket = h.frame.currentTool();
        h.frame.route(MSG_SELECT_TOOL, TOOL_LINE, 0);
        h.frame.route(MSG_SELECT_TOOL, TOOL_ZOOM, 0); // not a command the view may send
        QCOMPARE(std::tuple(bucket, h.frame.currentTool(), h.frame.commandAction(C::LineTool)->isChecked()),
                 std::tuple(int(TOOL_BUCKET), int(TOOL_LINE), true));

        // A tool held by a key: the one before returns at the next release.
        h.frame.selectTool(TOOL_PENCIL);
        h.frame.setTemporaryTool(TOOL_HAND, QCursor(Qt::OpenHandCursor));
        h.frame.setTemporaryTool(TOOL_HAND, QCursor(Qt::OpenHandCursor)); // the pending one is kept
        QCOMPARE(h.frame.pendingTool(), int(TOOL_PENCIL));
        QTest::keyRelease(&h.frame, Qt::Key_Space);
        QCOMPARE(std::pair(h.frame.currentTool(), h.frame.pendingTool()), std::pair(int(TOOL_PENCIL), int(TOOL_NONE)));

        // Alt turns the zoom tool into zoom out; held from the select tool it ends there.
        h.frame.selectTool(TOOL_SELECT);
        h.frame.setTemporaryTool(TOOL_ZOOM, QCursor());
        QTest::keyPress(&h.frame, Qt::Key_Alt);
        const int withAlt = h.frame.currentTool();
        QTest::keyRelease(&h.frame, Qt::Key_Alt);
        QCOMPARE(std::pair(withAlt, h.frame.currentTool()), std::pair(int(TOOL_ZOOM_OUT), int(TOOL_SELECT)));
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

        // Who receives a message and which change flags it sets: "v"iew, "m"anager, tile "e"ditor.
        FakePane* panes[] = {view, manager, &editor};
        const auto send = [&](FakePane* from, AppMessage msg, qint64 w, qint64 l) {
            for (FakePane* p : panes)
                p->got.clear();
            h.frame.project().changeFlags = 0;
            emit from->message(msg, w, l);
            QString reached;
            for (int i = 0; i < 3; ++i)
                reached += panes[i]->received(msg) ? QChar("vme"[i]) : QChar('-');
            return std::pair(reached, int(h.frame.project().changeFlags));
        };
        TilePaletteChange change{1, 2, TILE_BG, 5, 5}, other{1, 2, 0x33, 5, 5};
        const QList<std::pair<QString, int>> routes = {
            send(&editor, MSG_TILES_CHANGED, TILE_OBJ | TILES_CHANGED_KEEP_PAGE, 7),
            send(&editor, MSG_TILES_CHANGED, TILE_TAG, 3),
            send(manager, MSG_TILE_PALETTE_CHANGED, 0, messageParam(&change)), // the record's kind sets the flag
            send(manager, MSG_TILE_PALETTE_CHANGED, 0, messageParam(&other)),
            send(manager, MSG_COLOURS_CHANGED, 0x40, 1), // the tile editor only while it is open
            send(manager, MSG_CURRENT_TILE_CHANGED, TILE_BG, 12),
            send(manager, MSG_TILE_DOUBLE_CLICKED, 12, 0), // opens it
            send(manager, MSG_CURRENT_TILE_CHANGED, TILE_BG, 13),
        };
        QCOMPARE(routes, (QList<std::pair<QString, int>>{{"vm-", CHANGED_OBJ_TILES}, {"vm-", 0xC0}, {"vm-", CHANGED_BG_TILES},
                                                         {"vm-", 0}, {"vm-", CHANGED_PALETTE}, {"---", 0}, {"--e", 0},
                                                         {"--e", 0}}));
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.got.back().l, qint64(13));
        send(manager, MSG_TILE_PALETTE_CHANGED, 0, messageParam(&change)); // the record itself is passed on
        QCOMPARE(view->got.back().l, messageParam(&change));

        // The zoom box's choice goes to the view (the view's own zoom: zoomBoxKeysWheel...).
        emit h.frame.zoomBox()->activated(7);
        QCOMPARE(view->got.back().w, qint64(7));

        // The grid command tells the view, and says what it will do next.
        QAction* grid = h.frame.commandAction(C::ShowGrid);
        grid->trigger();
        QVERIFY(view->got.back().w == GRID_SHOW && grid->text().startsWith(QStringLiteral("Hide &Grid")));
    }

    void newSaveAsOpenAndReloadAskAndRefuseAsTheySay()
    {
        TempDir dir;
        Harness h;
        h.dialogs.newProject = NewProjectRequest{dir.file("p.qmm.bak"), "", "", 32, 24};
        h.frame.commandAction(C::New)->trigger();
        QCOMPARE(std::tuple(h.frame.project().projectPath, h.frame.widthField()->text(), h.frame.statusText(), h.prompter.questions.size()),
                 std::tuple(dir.file("p.qmm"), QStringLiteral("32"), QStringLiteral("Map size:(32,24)"), size_t(0)));

        // Unsaved work: the question first, and Cancel stops New.
        h.frame.setChanged(CHANGED_MAP);
        h.prompter = ScriptedPrompter({Answer::Cancel});
        h.frame.fileCommands().newProject();
        QCOMPARE(std::pair(h.prompter.questions, h.dialogs.newCalls), std::pair(std::vector<std::string>{"Map has been changed, save?"}, 1));

        // Save without tile set paths is Save As; then Save writes without asking.
        h.dialogs.savePaths = SavePaths{dir.file("p.qmm"), dir.file("p.qmb"), dir.file("p")};
        QVERIFY(h.frame.fileCommands().saveProject());
        QCOMPARE(std::tuple(h.frame.project().objTileSetPath, fileExists(dir.file("p.qmo")), int(h.frame.project().changeFlags)),
                 std::tuple(dir.file("p.qmo"), true, 0));
        h.frame.setChanged(CHANGED_BG_TILES);
        QVERIFY(h.frame.fileCommands().saveProject() && h.dialogs.saveCalls == 1);
        h.frame.setChanged(CHANGED_MAP);
        h.dialogs.savePaths.reset(); // Save As cancelled keeps the flags
        QVERIFY(!h.frame.fileCommands().saveProjectAs() && h.frame.project().changeFlags == CHANGED_MAP);
        // Refused files leave the open project alone; Reload asks first.
        Workspace source;
        NullProgress progress;
        source.project.map.create(6, 2);
        source.project.projectPath = dir.file("r.qmm");
        QVERIFY(writeProject(source, progress).ok());
        qm::test::writeBytes(dir.file("bad.qmm"), {'n', 'o', 'p', 'e'});
        h.frame.project().changeFlags = 0;
        h.prompter = ScriptedPrompter();
        QVERIFY(!h.frame.fileCommands().openFile(QString::fromStdString(dir.file("notes.txt"))));
        QVERIFY(h.prompter.informed.empty());
        // A refused project leaves the open one alone, and out of the recent files.
        h.frame.project().projectPath = dir.file("r.qmm");
        h.dialogs.openPath = QString::fromStdString(dir.file("bad.qmm"));
        h.frame.fileCommands().openProject();
        QCOMPARE(std::pair(h.prompter.informed, h.frame.project().projectPath), std::pair(std::vector<std::string>{"Invalid Quiltmark file."}, dir.file("r.qmm")));
        QVERIFY(!h.frame.settings().recentFiles().contains(QString::fromStdString(dir.file("bad.qmm"))));
        // Reload asks first; only Yes reads the file again.
        h.prompter = ScriptedPrompter({Answer::No, Answer::Yes});
        h.frame.fileCommands().reloadProject();
        QCOMPARE(std::pair(h.frame.project().map.width, h.prompter.questions.back()), std::pair(32, std::string("Discard changes and reload project ?")));
        h.frame.fileCommands().reloadProject();
        QCOMPARE(h.frame.project().map.width, 6);
    }

    void mapPropertiesAndClosingAskFirst()
    {
        Harness h;
        auto* view = new FakePane;
        h.frame.setMapView(view);
        h.dialogs.mapSize = QSize(20, 10);
        h.prompter = ScriptedPrompter({Answer::Cancel, Answer::No, Answer::Yes});
        h.frame.fileCommands().mapProperties(); // Cancel
        QCOMPARE(std::pair(h.frame.project().map.height, view->got.size()), std::pair(18, size_t(0)));
        h.frame.fileCommands().mapProperties(); // No: kept, and still a change
        QCOMPARE(std::tuple(h.frame.project().map.height, int(h.frame.project().changeFlags), view->got.back().w),
                 std::tuple(18, int(CHANGED_PROJECT), qint64(MAP_RESET_SIZE)));
        h.frame.fileCommands().mapProperties(); // Yes
        QCOMPARE(h.frame.heightField()->text(), QStringLiteral("10"));
        // Closing with unsaved work asks first; a cancelled Save As keeps the window.
        h.frame.show();
        h.frame.project().changeFlags = 0;
        h.frame.setChanged(CHANGED_PALETTE);
        h.prompter = ScriptedPrompter({Answer::Cancel});
        QVERIFY(!h.frame.close() && h.prompter.questions.back() == "Palette has been changed, save?");
        h.prompter = ScriptedPrompter({Answer::Yes}); // then Save As is cancelled
        QVERIFY(!h.frame.close() && h.dialogs.saveCalls == 1);
        h.prompter = ScriptedPrompter({Answer::No});
        QVERIFY(h.frame.close());
    }

};

QM_QTEST(CMainFrameTest)
#include "CMainFrameTest.moc"
