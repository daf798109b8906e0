// The main window's side of the tile set manager: making it the content of
// the "Tileset Manager" dock, tying it to the map view and the tile editor,
// and the "&Color" menu's two display modes.

#include "ui/app/CMainFrame.h"

#include "core/undo/UndoStore.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/CurrentTile.h"
#include "ui/map/MapViewCommands.h"
#include "ui/map/MapViewTools.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>

namespace qm::ui {

void CMainFrame::createTileSetManager()
{
    using C = Command;
    QDockWidget* dock = menus_->managerDock();
    QWidget* placeholder = dock->widget();
    auto* mgr = new CTilesetMgr(workspace_, *undoStore_, dock);
    tileSetMgr_ = mgr;
    attachPane(Pane::TileSetManager, mgr);
    if (placeholder && placeholder != mgr)
        placeholder->deleteLater();
    mgr->mapToolProvider = [this] { return currentTool_; };

    if (CQuiltmarkView* view = mapView_) {
        // The view draws and edits in the layer of the tile page shown.
        connect(mgr, &CTilesetMgr::pageChanged, view, [view](int kind) {
            if (kind == TILE_BG || kind == TILE_OBJ || kind == TILE_TAG)
                view->setCurrentLayer(kind);
        });
        view->setCurrentLayer(mgr->currentSetKind());
        connect(mgr, &CTilesetMgr::undoStepBegun, view, &CQuiltmarkView::refreshUndoActions);
        // Undo and Redo may give tiles or colours back.
        connect(view, &CQuiltmarkView::undoStateChanged, mgr, [mgr] { mgr->rebuildAllBitmaps(); });
        connect(view, &CQuiltmarkView::managerArrowKey, mgr, [mgr](int key) { mgr->key(key); });
        // Select cells, pick a tile, Enter: the cells get the tile.
        connect(mgr, &CTilesetMgr::enterKey, view, [view] { view->commands().execute(MapCommand::BlockFill); });

        // The painting tools put down the manager's current tile.
        view->currentTileProvider = [mgr] {
            const int set = mgr->currentSetKind();
            return CurrentTile{static_cast<TileKind>(mgr->currentKind()), mgr->currentTile(set),
                               mgr->currentPalette(set)};
        };
        connect(view, &CQuiltmarkView::tilePicked, mgr, [mgr](int kind, int tile) { mgr->selectTile(kind, tile); });
        connect(view, &CQuiltmarkView::copyMapToTileRequested, mgr,
                [mgr](int, const QList<int>& tiles) { mgr->replaceSelection(tiles); });
        // The reverse eyedropper marks the cells of a tile or a palette picked here.
        connect(mgr, &CTilesetMgr::selectCellsUsingTile, view,
                [view](int kind, int tile) { view->tools().selectCellsUsingTile(kind, tile); });
        connect(mgr, &CTilesetMgr::selectCellsWithPalette, view,
                [view](int palette) { view->tools().selectCellsUsingPalette(view->currentLayer(), palette); });
    }

    if (auto* editor = qobject_cast<CTileEditor*>(pane(Pane::TileEditor))) {
        // The editor's Up and Down and its frame steps move the manager's
        // current tile; the editor follows through MSG_CURRENT_TILE_CHANGED.
        disconnect(editor, &CTileEditor::currentTileRequested, editor, &CTileEditor::setCurrentTile);
        connect(editor, &CTileEditor::currentTileRequested, mgr, &CTilesetMgr::moveCurrentTile);
        connect(editor, &CTileEditor::managerArrowKey, mgr, [mgr](int key) { mgr->key(key); });
        // Opened from the View menu, it works on the manager's current set.
        connect(commandAction(C::TileEditor), &QAction::triggered, editor, [editor, mgr](bool open) {
            if (!open)
                return;
            editor->setTileSet(mgr->currentSetKind());
            editor->setCurrentTile(mgr->currentTile());
        });
    }

    // The pane with the keyboard focus owns Cut, Copy and Paste: 1 the map
    // view, 2 a tile page of the manager, 3 its palette page.
    connect(qApp, &QApplication::focusChanged, this, [this, mgr](QWidget*, QWidget* now) {
        if (!now)
            return;
        if (mgr->isAncestorOf(now))
            setActivePane(mgr->currentKind() == PAGE_PALETTE ? 3 : 2);
        else if (mapView_ && (now == mapView_ || mapView_->isAncestorOf(now)))
            setActivePane(1);
    });
    connect(mgr, &CTilesetMgr::pageChanged, this, [this](int kind) {
        if (activePane() == 2 || activePane() == 3)
            setActivePane(kind == PAGE_PALETTE ? 3 : 2);
    });
    for (auto [command, run] : {std::pair{C::Cut, &CTilesetMgr::cut}, std::pair{C::Copy, &CTilesetMgr::copy},
                                std::pair{C::Paste, &CTilesetMgr::paste}}) {
        connect(commandAction(command), &QAction::triggered, mgr, [this, mgr, run] {
            if (activePane() == 2 || activePane() == 3)
                (mgr->*run)();
        });
    }

    QAction* trueColour = commandAction(C::TrueColor);
    QAction* gbcColour = commandAction(C::GbcColor);
    trueColour->setEnabled(true);
    gbcColour->setEnabled(true);
    connect(trueColour, &QAction::triggered, this, [this] { chooseColourMode(true); });
    connect(gbcColour, &QAction::triggered, this, [this] { chooseColourMode(false); });
    refreshTileSetManager();
}

void CMainFrame::refreshTileSetManager()
{
    if (tileSetMgr_)
        tileSetMgr_->rebuildAllBitmaps();
}

void CMainFrame::showTileSetName(TileKind kind, bool shown)
{
    const std::string& path = kind == TILE_OBJ ? workspace_.project.objTileSetPath : workspace_.project.bgTileSetPath;
    if (tileSetMgr_)
        tileSetMgr_->setFileName(kind, shown ? QString::fromStdString(path) : QString());
}

void CMainFrame::chooseColourMode(bool trueColour)
{
    commandAction(Command::TrueColor)->setChecked(trueColour);
    commandAction(Command::GbcColor)->setChecked(!trueColour);
    if (!tileSetMgr_ || !tileSetMgr_->setTrueColour(trueColour))
        return;
    // A change of display only: no change flag.
    router_->deliver(Pane::MapView, MSG_COLOURS_CHANGED, 12, 0xFFFF);
    router_->deliverToOpenEditor(MSG_COLOURS_CHANGED, 12, 0xFFFF);
    tileSetMgr_->update();
}

} // namespace qm::ui
