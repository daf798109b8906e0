// The main window's part in the tile editor: making it and connecting what it
// asks of the window (undo, redo, save) and of the map view.

#include "ui/app/CMainFrame.h"

#include "core/undo/UndoStore.h"
#include "ui/app/FileCommands.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"
#include "ui/tiles/CTileEditor.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>

namespace qm::ui {

namespace {
// activePane: 1 map view, 2 a tile page of the manager, 3 the palette page, 4 the tile editor.
constexpr int ACTIVE_PANE_TILE_EDITOR = 4;
} // namespace

void CMainFrame::createTileEditor()
{
    auto* editor = new CTileEditor(workspace_, *undoStore_, this);
    attachPane(Pane::TileEditor, editor); // into its dock
    // The dock's caption is the comment of the editor's tile.
    QDockWidget* dock = menus_->tileEditorDock();
    connect(editor, &QWidget::windowTitleChanged, dock, [dock](const QString& comment) {
        dock->setWindowTitle(comment.isEmpty() ? QStringLiteral("Tile Editor") : comment);
    });

    connect(editor, &CTileEditor::saveRequested, this, [this] { fileCommands_->saveProject(); });
    // The Edit menu's Cut, Copy and Paste act on the editor after a click in
    // it, or while it has the keyboard focus.
    connect(editor, &CTileEditor::activated, this, [this] { setActivePane(ACTIVE_PANE_TILE_EDITOR); });
    connect(qApp, &QApplication::focusChanged, this, [this, editor](QWidget*, QWidget* now) {
        if (now && (now == editor || editor->isAncestorOf(now)))
            setActivePane(ACTIVE_PANE_TILE_EDITOR);
    });
    for (auto [command, run] : {std::pair{Command::Cut, &CTileEditor::cut}, std::pair{Command::Copy, &CTileEditor::copy},
                                std::pair{Command::Paste, &CTileEditor::paste}}) {
        connect(commandAction(command), &QAction::triggered, editor, [this, editor, run] {
            if (activePane() == ACTIVE_PANE_TILE_EDITOR && editor->isVisible())
                (editor->*run)();
        });
    }
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
