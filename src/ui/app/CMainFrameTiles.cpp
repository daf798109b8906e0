// The main window's part in the tile editor: making it and connecting what it
// asks of the window (undo, redo, save) and of the map view.

#include "ui/app/CMainFrame.h"

#include "core/undo/UndoStore.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/tiles/CInitDialogBar.h"

#include <QAction>

namespace qm::ui {

namespace {
// activePane: 1 map view, 2 a tile page of the manager, 3 the palette page, 4 the tile editor.
constexpr int ACTIVE_PANE_TILE_EDITOR = 4;
} // namespace

void CMainFrame::createTileEditor()
{
    auto* editor = new CInitDialogBar(workspace_, *undoStore_, this);
    editor->hide();
    attachPane(Pane::TileEditor, editor);

    connect(editor, &CInitDialogBar::saveRequested, this, [this] { saveProject(); });
    connect(editor, &CInitDialogBar::closed, this, [this] {
        if (QAction* command = commandAction(Command::TileEditor))
            command->setChecked(false);
    });
    connect(editor, &CInitDialogBar::activated, this, [this] { setActivePane(ACTIVE_PANE_TILE_EDITOR); });
    // Until the tile set manager takes these requests, the editor follows them itself.
    connect(editor, &CInitDialogBar::currentTileRequested, editor, &CInitDialogBar::setCurrentTile);

    if (CQuiltmarkView* view = mapView_) {
        connect(editor, &CInitDialogBar::undoRequested, view, &CQuiltmarkView::undo);
        connect(editor, &CInitDialogBar::redoRequested, view, &CQuiltmarkView::redo);
        connect(editor, &CInitDialogBar::undoStepBegun, view, &CQuiltmarkView::refreshUndoActions);
        connect(view, &CQuiltmarkView::undoStateChanged, editor, &CInitDialogBar::setUndoState);
        connect(view, &CQuiltmarkView::tilesRestored, editor, [editor] {
            if (editor->isVisible())
                editor->refresh();
        });
    }
}

} // namespace qm::ui
