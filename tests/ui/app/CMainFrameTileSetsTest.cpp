// The main window with its tile set manager and its tile editor.
#include "FrameHarness.h"

#include "support/QtTestRunner.h"
#include "ui/app/AppSettings.h"
#include "ui/app/WindowSettings.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorControls.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;
using qm::test::Harness;
using C = CMainFrame::Command;

namespace {

// The frame shown, with its manager and its tile editor.
struct Panes : Harness {
    Panes() { frame.show(); }
    CTilesetMgr* mgr = frame.tileSetManager();
    CTileEditor* editor = qobject_cast<CTileEditor*>(frame.pane(CMainFrame::Pane::TileEditor));
    QDockWidget* dock() const { return qobject_cast<QDockWidget*>(editor->parentWidget()); }
};

} // namespace

class CMainFrameTileSetsTest : public QObject {
    Q_OBJECT
private slots:
    void managerFollowsTheViewItsEditsAreUndoneByTheFrameAndColourModesShow()
    {
        Panes f;
        f.mgr->showPage(TILE_OBJ);
        f.mgr->showPage(PAGE_PALETTE); // the layer stays
        QCOMPARE(f.view()->currentLayer(), int(TILE_OBJ));
        f.frame.workspace().tiles.obj.tiles[12].setPalette(6);
        f.mgr->selectTile(TILE_OBJ, 12);
        const CurrentTile current = f.view()->currentTile();
        QCOMPARE(std::tuple(current.layer, current.tile, current.palette), std::tuple(int(TILE_OBJ), 12, 6));
        f.mgr->showPage(PAGE_PALETTE);
        QCOMPARE(f.view()->currentTile().layer, PAGE_PALETTE);

        // Edit > Copy goes to the manager while it has the focus.
        f.mgr->showPage(TILE_OBJ);
        QApplication::clipboard()->clear();
        f.frame.setActivePane(2);
        f.frame.commandAction(C::Copy)->trigger();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasFormat(QStringLiteral("CTile")) && !data->hasFormat(QStringLiteral("CQuiltmarkView")));

        // A tile edit in the manager is undone by the main window's Undo.
        f.mgr->showPage(TILE_BG);
        f.frame.workspace().tiles.bg.tiles[0].pixels.fill(2);
        f.frame.project().clearChanged();
        f.mgr->clearSelectedTiles();
        QVERIFY(f.frame.project().changeFlags & CHANGED_BG_TILES);
        f.frame.commandAction(C::Undo)->trigger();
        QCOMPARE(int(f.frame.workspace().tiles.bg.tiles[0].pixels[0]), 2);

        // The colour modes of the View menu change the display only; DMG mode gives the tag page the OBJ shades.
        QAction* trueColour = f.frame.commandAction(C::TrueColor);
        QAction* gbcColour = f.frame.commandAction(C::GbcColor);
        trueColour->trigger();
        QVERIFY(trueColour->isChecked() && !gbcColour->isChecked());
        QCOMPARE(std::pair(f.frame.workspace().tiles.palettes.bgDisplay[0][3], f.frame.project().changeFlags & CHANGED_PALETTE),
                 std::pair(DisplayColour{248, 248, 248}, 0)); // a display change only
        gbcColour->trigger();
        gbcColour->trigger(); // the mode in force: stays checked
        QVERIFY(gbcColour->isChecked() && !f.frame.workspace().tiles.palettes.trueColour);

        f.frame.dmgModeBox()->setChecked(true);
        QVERIFY(f.frame.workspace().tiles.dmgMode && &f.mgr->displayTable(TILE_TAG) == &f.frame.workspace().tiles.palettes.objMonoDisplay);
        Harness h;
        Workspace& ws = h.frame.workspace();
        MapGrid& map = ws.project.map;
        for (int x : {0, 1, 2})
            map.cellAt(x, 0)->place(TILE_BG, x == 2 ? 2 : 1, x == 2 ? 5 : 0);
        ws.tiles.bg.tiles[2].setPalette(5);
        CTilesetMgr* mgr = h.frame.tileSetManager();
        mgr->showPage(TILE_BG);
        mgr->replaceSelection({1, 2});
        mgr->setPaletteOfSelectedTiles(3);
        QCOMPARE(std::pair(h.cell(0, 0).palette(TILE_BG), h.cell(2, 0).palette(TILE_BG)), std::pair(3, 3));
        h.frame.commandAction(C::Undo)->trigger(); // tiles and cells in one step
        QCOMPARE(std::tuple(ws.tiles.bg.tiles[2].palette(), h.cell(0, 0).palette(TILE_BG), h.cell(2, 0).palette(TILE_BG)),
                 std::tuple(5, 0, 5));
    }

    void theEditorIsADockThatCanFloatMovesWithTheManagerAndAnimates()
    {
        {
            Panes f;
            f.frame.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.frame));
            QDockWidget* dock = f.dock();
            QVERIFY(dock && !dock->isVisible() && (dock->features() & QDockWidget::DockWidgetFloatable));
            QCOMPARE(f.frame.dockWidgetArea(dock), Qt::RightDockWidgetArea);
            QAction* command = f.frame.commandAction(C::TileEditor);

            // A double click in the manager opens it, docked, on that tile; its caption is the comment.
            CTile& tile = f.frame.workspace().tiles.bg.tiles[12];
            tile.setComment("door");
            f.frame.route(MSG_TILE_DOUBLE_CLICKED, 12, TILE_BG);
            QVERIFY(f.editor->isVisible() && !dock->isFloating() && command->isChecked());
            QCOMPARE(dock->windowTitle(), QStringLiteral("door"));

            // Inside the main window its own keys still reach it: Shift+H flips the tile.
            tile.setPixel(0, 0, 3);
            f.editor->setFocus();
            QTest::keyClick(f.editor, Qt::Key_H, Qt::ShiftModifier);
            QCOMPARE(int(tile.pixel(7, 0)), 3);

            // With the focus there, Edit > Copy, Cut and Paste act on it.
            QCOMPARE(f.frame.activePane(), 4);
            f.frame.commandAction(C::Copy)->trigger();
            QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("TileDesigner")));
            f.frame.commandAction(C::Cut)->trigger();
            QCOMPARE(std::pair(int(tile.pixel(7, 0)), f.frame.commandAction(C::Paste)->isEnabled()), std::pair(0, true));
            f.frame.commandAction(C::Paste)->trigger();
            QVERIFY(tile.pixel(7, 0) == 3 && (f.frame.project().changeFlags & CHANGED_BG_TILES));
            // The editor's Undo walks the main window's history: the paste, then the cut.
            QTest::mouseClick(f.editor->button("UNDO"), Qt::LeftButton);
            QCOMPARE(std::pair(int(tile.pixel(7, 0)), f.editor->button("REDO")->isEnabled()), std::pair(0, true));
            QTest::mouseClick(f.editor->button("UNDO"), Qt::LeftButton);
            QCOMPARE(int(tile.pixel(7, 0)), 3);

            // Esc closes the dock and the check mark goes.
            QTest::keyClick(f.editor, Qt::Key_Escape);
            QVERIFY(!dock->isVisible() && !command->isChecked());

            // Floating, its place is kept under "TileDesigner"; docked, none is.
            command->trigger();
            dock->setFloating(true);
            dock->move(300, 200);
            f.frame.settings().store(dock);
            QCOMPARE(std::pair(openSettings()->value(QStringLiteral("TileDesigner/Left")).toInt(),
                               openSettings()->value(QStringLiteral("TileDesigner/Top")).toInt()),
                     std::pair(300, 200));
        }
        Panes again;
        again.frame.commandAction(C::TileEditor)->trigger();
        QCOMPARE(std::pair(again.dock()->isFloating(), again.dock()->pos()), std::pair(true, QPoint(300, 200)));
        again.dock()->setFloating(false);
        again.frame.settings().store(again.dock());
        QCOMPARE(openSettings()->value(QStringLiteral("TileDesigner/Left")).toInt(), -1);
        Panes f;
        f.mgr->selectTile(TILE_OBJ, 30);
        f.frame.commandAction(C::TileEditor)->trigger();
        QCOMPARE(std::pair(f.editor->isVisible(), f.editor->kind()), std::pair(true, int(TILE_OBJ)));
        emit f.editor->currentTileRequested(36);
        QCOMPARE(f.mgr->selectedTiles(TILE_OBJ), QList<int>{36});
        QCOMPARE(f.editor->animation().start(), 36); // back through MSG_CURRENT_TILE_CHANGED
        emit f.editor->managerArrowKey(Qt::Key_Down);
        QCOMPARE(f.mgr->currentTile(TILE_OBJ), 37);
        // A double click opens the editor on the page's set.
        f.mgr->showPage(TILE_BG);
        f.mgr->doubleClickTile(TILE_BG, 4);
        QCOMPARE(f.editor->kind(), int(TILE_BG));

        // The animation: a picked tile or a new frame size starts the cycle afresh; Stop goes back.
        f.mgr->selectTile(TILE_BG, 10);
        f.editor->controls().framesBox()->setText(QStringLiteral("3"));
        TileEditorAnimation& animation = f.editor->animation();
        QList<int> starts;
        const auto tick = [&] { animation.tick(), starts << f.editor->frame().start; };
        animation.play();
        tick();
        f.mgr->selectTile(TILE_BG, 40); // a tile picked while it plays starts the cycle afresh there
        starts << f.editor->frame().start;
        tick();
        f.editor->stepFrameWidth(1); // so does a new frame size
        starts << f.editor->frame().start;
        tick();
        QCOMPARE(starts, (QList<int>{11, 40, 41, 40, 42}));
        // Stop: back at the tile the cycle started from, where the manager is.
        QTest::mouseClick(f.editor->button(QStringLiteral("STOP")), Qt::LeftButton);
        QCOMPARE(std::pair(f.editor->frame().start, f.mgr->currentTile(TILE_BG)), std::pair(40, 40));
    }
};

QM_QTEST(CMainFrameTileSetsTest)
#include "CMainFrameTileSetsTest.moc"
