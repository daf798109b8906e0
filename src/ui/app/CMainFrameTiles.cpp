// The main window's side of the tile set manager: making it the content of
// the "Tileset Manager" dock, tying it to the map view, and the "&Color"
// menu's two display modes.

#include "ui/app/CMainFrame.h"

#include "core/map/UndoStore.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>

namespace qm::ui {

void CMainFrame::createTileSetManager()
{
    using C = Command;
    QWidget* placeholder = managerDock_->widget();
    auto* mgr = new CTilesetMgr(workspace_, *undoStore_, managerDock_);
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
    if (!tileSetMgr_)
        return;
    tileSetMgr_->setFileName(TILE_BG, QString::fromStdString(workspace_.project.bgTileSetPath));
    tileSetMgr_->setFileName(TILE_OBJ, QString::fromStdString(workspace_.project.objTileSetPath));
    tileSetMgr_->rebuildAllBitmaps();
}

void CMainFrame::chooseColourMode(bool trueColour)
{
    commandAction(Command::TrueColor)->setChecked(trueColour);
    commandAction(Command::GbcColor)->setChecked(!trueColour);
    if (!tileSetMgr_ || !tileSetMgr_->setTrueColour(trueColour))
        return;
    // A change of display only: no change flag.
    deliver(Pane::MapView, MSG_COLOURS_CHANGED, 12, 0xFFFF);
    if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
        deliver(Pane::TileEditor, MSG_COLOURS_CHANGED, 12, 0xFFFF);
    tileSetMgr_->update();
}

} // namespace qm::ui
