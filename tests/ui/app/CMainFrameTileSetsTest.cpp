#include "ui/app/CMainFrame.h"

#include "support/QtTestRunner.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/CurrentTile.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditorAnimation.h"
#include "ui/tiles/TileEditorControls.h"
#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/CTilesetPage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using namespace qm::ui;

class CMainFrameTileSetsTest : public QObject {
    Q_OBJECT
private slots:
    void managerSitsInItsDockAndFollowsTheView()
    {
        CMainFrame frame;
        CTilesetMgr* mgr = frame.tileSetManager();
        mgr->showPage(TILE_OBJ);
        mgr->showPage(PAGE_PALETTE); // the layer stays
        QCOMPARE(frame.mapView()->currentLayer(), int(TILE_OBJ));

        // A tile edit in the manager is undone by the main window's Undo.
        mgr->showPage(TILE_BG);
        frame.workspace().tiles.bg.tiles[0].pixels.fill(2);
        frame.workspace().project.clearChanged();
        mgr->clearSelectedTiles();
        QVERIFY(frame.workspace().project.changeFlags & CHANGED_BG_TILES);
        QAction* undo = frame.commandAction(CMainFrame::Command::Undo);
        undo->trigger();
        QCOMPARE(int(frame.workspace().tiles.bg.tiles[0].pixels[0]), 2);
    }

    void mapFollowsANewTilePaletteAndUndoTakesBothBack()
    {
        CMainFrame frame;
        Workspace& ws = frame.workspace();
        frame.route(MSG_INIT_MAP, 0, 0);
        MapGrid& map = ws.project.map;
        QVERIFY(map.width > 2);
        for (int x : {0, 1, 2}) {
            MapCell& cell = *map.cellAt(x, 0);
            cell.bgAttr = TILE_BG;
            cell.bgTile = std::uint16_t(x == 2 ? 2 : 1);
        }
        map.cellAt(2, 0)->setPalette(TILE_BG, 5);
        ws.tiles.bg.tiles[2].setPalette(5);
        CTilesetMgr* mgr = frame.tileSetManager();
        mgr->showPage(TILE_BG);
        mgr->replaceSelection({1, 2});
        mgr->setPaletteOfSelectedTiles(3);
        QCOMPARE(map.cellAt(0, 0)->palette(TILE_BG), 3);
        QCOMPARE(map.cellAt(2, 0)->palette(TILE_BG), 3);
        frame.commandAction(CMainFrame::Command::Undo)->trigger(); // tiles and cells in one step
        QCOMPARE(int(ws.tiles.bg.tiles[2].palette()), 5);
        QCOMPARE(map.cellAt(0, 0)->palette(TILE_BG), 0);
        QCOMPARE(map.cellAt(2, 0)->palette(TILE_BG), 5);
    }

    void viewAndEditMenuWorkWithTheManager()
    {
        CMainFrame frame;
        frame.route(MSG_INIT_MAP, 0, 0);
        CTilesetMgr* mgr = frame.tileSetManager();
        frame.workspace().tiles.obj.tiles[12].setPalette(6);
        mgr->selectTile(TILE_OBJ, 12);
        const CurrentTile current = frame.mapView()->currentTile();
        QCOMPARE(std::tuple(current.layer, current.tile, current.palette), std::tuple(int(TILE_OBJ), 12, 6));
        mgr->showPage(PAGE_PALETTE);
        QCOMPARE(frame.mapView()->currentTile().layer, PAGE_PALETTE);

        // Edit > Copy goes to the manager while it has the focus.
        mgr->showPage(TILE_OBJ);
        QApplication::clipboard()->clear();
        frame.setActivePane(2);
        frame.commandAction(CMainFrame::Command::Copy)->trigger();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasFormat(QStringLiteral("CTile")));
        QVERIFY(!data->hasFormat(QStringLiteral("CQuiltmarkView")));
    }

    void tileEditorMovesTheManagersCurrentTile()
    {
        CMainFrame frame;
        frame.show();
        CTilesetMgr* mgr = frame.tileSetManager();
        auto* editor = qobject_cast<CTileEditor*>(frame.pane(CMainFrame::Pane::TileEditor));
        QVERIFY(editor);
        mgr->selectTile(TILE_OBJ, 30);
        frame.commandAction(CMainFrame::Command::TileEditor)->trigger();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->kind(), int(TILE_OBJ));
        emit editor->currentTileRequested(36);
        QCOMPARE(mgr->selectedTiles(TILE_OBJ), QList<int>{36});
        QCOMPARE(editor->animation().start(), 36); // back through MSG_CURRENT_TILE_CHANGED
        emit editor->managerArrowKey(Qt::Key_Down);
        QCOMPARE(mgr->currentTile(TILE_OBJ), 37);
        // A double click opens the editor on the page's set.
        mgr->showPage(TILE_BG);
        mgr->doubleClickTile(TILE_BG, 4);
        QCOMPARE(editor->kind(), int(TILE_BG));
    }

    void theAnimationFollowsANewTileAndStopsWhereItStarted()
    {
        CMainFrame frame;
        frame.show();
        CTilesetMgr* mgr = frame.tileSetManager();
        auto* editor = qobject_cast<CTileEditor*>(frame.pane(CMainFrame::Pane::TileEditor));
        mgr->selectTile(TILE_BG, 10);
        frame.commandAction(CMainFrame::Command::TileEditor)->trigger();
        editor->controls().framesBox()->setText(QStringLiteral("3"));
        TileEditorAnimation& animation = editor->animation();
        animation.play();
        animation.tick();
        QCOMPARE(editor->frame().start, 11);
        // A tile picked while it plays starts the cycle afresh there.
        mgr->selectTile(TILE_BG, 40);
        QCOMPARE(editor->frame().start, 40);
        animation.tick();
        QCOMPARE(editor->frame().start, 41);
        // So does a new frame size.
        editor->stepFrameWidth(1);
        QCOMPARE(editor->frame().start, 40);
        animation.tick();
        QCOMPARE(editor->frame().start, 42);
        // Stop: back at the tile the cycle started from, where the manager is.
        QTest::mouseClick(editor->button(QStringLiteral("STOP")), Qt::LeftButton);
        QCOMPARE(editor->frame().start, 40);
        QCOMPARE(mgr->currentTile(TILE_BG), 40);
    }

    void colourMenuAndDmgMode()
    {
        CMainFrame frame;
        QAction* trueColour = frame.commandAction(CMainFrame::Command::TrueColor);
        QAction* gbcColour = frame.commandAction(CMainFrame::Command::GbcColor);
        trueColour->trigger();
        QVERIFY(trueColour->isChecked() && !gbcColour->isChecked());
        QCOMPARE(frame.workspace().tiles.palettes.bgDisplay[0][3], (DisplayColour{248, 248, 248}));
        QCOMPARE(frame.workspace().project.changeFlags & CHANGED_PALETTE, 0); // a display change only
        gbcColour->trigger();
        gbcColour->trigger(); // the mode in force: stays checked
        QVERIFY(gbcColour->isChecked() && !frame.workspace().tiles.palettes.trueColour);

        frame.dmgModeBox()->setChecked(true);
        QVERIFY(frame.workspace().tiles.dmgMode);
        QCOMPARE(&frame.tileSetManager()->displayTable(TILE_TAG), &frame.workspace().tiles.palettes.objMonoDisplay);
    }
};

QM_QTEST(CMainFrameTileSetsTest)
#include "CMainFrameTileSetsTest.moc"
