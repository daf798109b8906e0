// The main window's part in the tile editor: making it and connecting what it
// asks of the window (undo, redo, save) and of the map view.

#include "ui/app/CMainFrame.h"

#include "core/undo/UndoStore.h"
#include "ui/app/FileCommands.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"
#include "ui/tiles/CTileEditor.h"

#include <QAction>

namespace qm::ui {

namespace {
// activePane: 1 map view, 2 a tile page of the manager, 3 the palette page, 4 the tile editor.
constexpr int ACTIVE_PANE_TILE_EDITOR = 4;
} // namespace

void CMainFrame::createTileEditor()
{
    auto* editor = new CTileEditor(workspace_, *undoStore_, this);
    editor->hide();
    attachPane(Pane::TileEditor, editor);

    connect(editor, &CTileEditor::saveRequested, this, [this] { fileCommands_->saveProject(); });
    connect(editor, &CTileEditor::closed, this, [this] {
        if (QAction* command = commandAction(Command::TileEditor))
            command->setChecked(false);
    });
    connect(editor, &CTileEditor::activated, this, [this] { setActivePane(ACTIVE_PANE_TILE_EDITOR); });
    // Until the tile set manager takes these requests, the editor follows them itself.
    connect(editor, &CTileEditor::currentTileRequested, editor, &CTileEditor::setCurrentTile);

    if (CQuiltmarkView* view = mapView_) {
        connect(editor, &CTileEditor::undoRequested, &view->actions(), &MapViewActions::undo);
        connect(editor, &CTileEditor::redoRequested, &view->actions(), &MapViewActions::redo);
        connect(editor, &CTileEditor::undoStepBegun, view, &CQuiltmarkView::refreshUndoActions);
        connect(view, &CQuiltmarkView::undoStateChanged, editor, &CTileEditor::setUndoState);
        connect(view, &CQuiltmarkView::tilesRestored, editor, [editor] {
            if (editor->isVisible())
                editor->refresh();
        });
    }
}

} // namespace qm::ui
