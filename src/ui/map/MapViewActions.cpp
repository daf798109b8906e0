#include "ui/map/MapViewActions.h"

#include "ui/map/CQuiltmarkView.h"

#include <QAction>
#include <QColorDialog>

namespace qm::ui {

MapViewActions::MapViewActions(CQuiltmarkView& view) : QObject(&view), view_(view)
{
    colourPrompt = [this](const QColor& initial) { return QColorDialog::getColor(initial, &view_); };
    createActions();
}

void MapViewActions::createActions()
{
    QWidget* owner = &view_;
    undoAction_ = new QAction(QStringLiteral("&Undo"), owner);
    undoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    connect(undoAction_, &QAction::triggered, this, &MapViewActions::undo);
    redoAction_ = new QAction(QStringLiteral("&Redo"), owner);
    redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(redoAction_, &QAction::triggered, this, &MapViewActions::redo);
    view_.addAction(undoAction_);
    view_.addAction(redoAction_);

    hideObjAction_ = new QAction(QStringLiteral("&Hide OBJ Tile"), owner);
    hideObjAction_->setCheckable(true);
    connect(hideObjAction_, &QAction::triggered, this, [this] { view_.setObjHidden(!view_.objHidden()); });
    transparentObjAction_ = new QAction(QStringLiteral("&Transparent OBJ Tile"), owner);
    transparentObjAction_->setCheckable(true);
    connect(transparentObjAction_, &QAction::triggered, this,
            [this] { view_.setObjTransparent(!view_.objTransparent()); });
    transparentTagsAction_ = new QAction(QStringLiteral("Transparent Tags"), owner);
    transparentTagsAction_->setCheckable(true);
    connect(transparentTagsAction_, &QAction::triggered, this,
            [this] { view_.setTagsTransparent(!view_.tagsTransparent()); });
    hideTagsAction_ = new QAction(QStringLiteral("Hide Tags"), owner);
    hideTagsAction_->setCheckable(true);
    hideTagsAction_->setChecked(true); // checked while tags are not shown
    connect(hideTagsAction_, &QAction::triggered, this, [this] { view_.setTagsVisible(!view_.tagsVisible()); });

    cursorColourAction_ = new QAction(QStringLiteral("&Cursor Color"), owner);
    connect(cursorColourAction_, &QAction::triggered, this, &MapViewActions::chooseCursorColour);
    gridColourAction_ = new QAction(QStringLiteral("&Grid Color"), owner);
    connect(gridColourAction_, &QAction::triggered, this, &MapViewActions::chooseGridColour);

    // The actions follow the view's undo store and display switches.
    const auto followUndo = [this](bool canUndo, bool canRedo) {
        undoAction_->setEnabled(canUndo);
        redoAction_->setEnabled(canRedo);
        undoAction_->setText(undoMenuText(QStringLiteral("&Undo"), view_.undoStore().undoName()));
        redoAction_->setText(undoMenuText(QStringLiteral("&Redo"), view_.undoStore().redoName()));
    };
    connect(&view_, &CQuiltmarkView::undoStateChanged, this, followUndo);
    followUndo(view_.undoStore().canUndo(), view_.undoStore().canRedo());
    connect(&view_, &CQuiltmarkView::displaySwitchesChanged, this, [this] {
        hideObjAction_->setChecked(view_.objHidden());
        transparentObjAction_->setChecked(view_.objTransparent());
        transparentTagsAction_->setChecked(view_.tagsTransparent());
        hideTagsAction_->setChecked(!view_.tagsVisible());
    });
}

QString undoMenuText(const QString& command, std::string_view stepName)
{
    if (stepName.empty())
        return command;
    return command + QLatin1Char(' ') + QString::fromUtf8(stepName.data(), static_cast<qsizetype>(stepName.size()));
}

void MapViewActions::undo() { exchange(true); }

void MapViewActions::redo() { exchange(false); }

bool MapViewActions::exchange(bool back)
{
    UndoStore& store = view_.undoStore();
    Workspace& ws = view_.workspace();
    const Result r = back ? store.undo(ws, *this) : store.redo(ws, *this);
    if (!r) {
        // The entry stays where it was: the state and Undo and Redo too.
        if (!r.text().empty())
            view_.showMessage(QString::fromStdString(r.text()));
        return false;
    }
    // The store set the change flags (and cleared them back at the saved
    // state); the view's modified mark follows the map's flag.
    if (ws.project.changeFlags & CHANGED_MAP)
        view_.markModified();
    view_.refreshUndoActions();
    view_.refreshCellInfo();
    return true;
}

void MapViewActions::jumpTo(std::size_t position)
{
    const UndoStore& store = view_.undoStore();
    while (store.position() > position && exchange(true)) {
    }
    while (store.position() < position && exchange(false)) {
    }
}

void MapViewActions::cellChanged(int x, int y)
{
    view_.renderer().renderCell(x, y);
    view_.renderer().renderTagCell(x, y);
}

void MapViewActions::areaChanged(int x1, int y1, int x2, int y2)
{
    view_.renderer().renderArea(x1, y1, x2, y2);
    view_.renderer().renderTagArea(x1, y1, x2, y2);
}

void MapViewActions::tilesChanged(TileKind kind, int first, int last)
{
    view_.renderer().renderCellsUsingTiles(kind, first, last);
    ProjectState& project = view_.workspace().project;
    project.setChanged(kind == TILE_BG ? CHANGED_BG_TILES : kind == TILE_OBJ ? CHANGED_OBJ_TILES : 0xC0);
    emit view_.tilesRestored(kind, first, last);
}

void MapViewActions::coloursChanged(std::uint32_t flags, std::uint32_t mask)
{
    view_.workspace().project.setChanged(CHANGED_PALETTE);
    view_.refreshColours();
    emit view_.message(MSG_COLOURS_CHANGED, flags, mask);
}

void MapViewActions::linesChanged()
{
    view_.mapReset(0);
    view_.markModified();
}

void MapViewActions::redraw() { view_.viewport()->update(); }

QColor MapViewActions::promptColour(const QColor& initial) { return colourPrompt ? colourPrompt(initial) : QColor(); }

void MapViewActions::chooseCursorColour()
{
    const QColor c = promptColour(view_.cursorColour());
    if (c.isValid())
        view_.setCursorColour(c);
}

void MapViewActions::chooseGridColour()
{
    const QColor c = promptColour(view_.gridColour());
    if (c.isValid())
        view_.setGridColour(c);
}

} // namespace qm::ui
