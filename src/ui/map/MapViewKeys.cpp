#include "ui/map/MapViewKeys.h"

#include "core/edit/TypeIn.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"
#include "ui/map/MapViewCommands.h"

#include <QKeyEvent>
#include <QTimer>

namespace qm::ui {

namespace {

// The key codes of the type-in offsets for a Qt key event.
int typeInKeyCode(const QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 0x60 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk:
            return 0x6A;
        case Qt::Key_Plus:
            return 0x6B;
        case Qt::Key_Comma:
            return 0x6C;
        case Qt::Key_Minus:
            return 0x6D;
        case Qt::Key_Period:
            return 0x6E;
        case Qt::Key_Slash:
            return 0x6F;
        default:
            break;
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
        return key; // the same codes
    if (key == Qt::Key_F1)
        return 0x70;
    if (key == Qt::Key_Sleep)
        return 0x5F;
    return -1;
}

} // namespace

MapViewKeys::MapViewKeys(CQuiltmarkView& view) : QObject(&view), view_(view)
{
    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(500);
    connect(blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        view_.viewport()->update();
    });
}

bool MapViewKeys::takesShortcut(const QKeyEvent* event) const
{
    return typeInMode_ && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// ---------------------------------------------------------------- the key table

void MapViewKeys::press(QKeyEvent* event)
{
    typedIn_ = false;
    if (typeInMode_ && typeInKey(event))
        return;
    emit view_.frameKeyEvent(event, true);
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int key = event->key();
    const int tool = view_.currentTool();
    if (!event->isAutoRepeat()) {
        if (key == Qt::Key_B)
            bHeld_ = true;
        if (key == Qt::Key_O)
            oHeld_ = true;
        if (key == Qt::Key_A)
            aHeld_ = true;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit view_.mapCommand(MapCommand::BlockFill, 0);
        break;
    case Qt::Key_Shift:
        if (tool == TOOL_PENCIL || tool == TOOL_BUCKET || tool == TOOL_LINE)
            emit view_.temporaryToolRequested(TOOL_REV_EYEDROPPER);
        break;
    case Qt::Key_Control:
        if (tool == TOOL_SELECT || tool == TOOL_ZOOM || tool == TOOL_HAND || tool == TOOL_PENCIL ||
            tool == TOOL_BUCKET || tool == TOOL_LINE)
            emit view_.temporaryToolRequested(TOOL_EYEDROPPER);
        break;
    case Qt::Key_Space:
        emit view_.temporaryToolRequested(TOOL_HAND);
        break;
    case Qt::Key_B:
        if (!ctrl && !shift)
            emit view_.temporaryToolRequested(TOOL_BUCKET);
        break;
    case Qt::Key_G:
        if (!ctrl && !shift)
            emit view_.temporaryToolRequested(TOOL_LINE);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl) {
            const ScrollRequest request = key == Qt::Key_PageUp     ? ScrollRequest::PageBack
                                          : key == Qt::Key_PageDown ? ScrollRequest::PageForward
                                          : key == Qt::Key_Home     ? ScrollRequest::Start
                                                                    : ScrollRequest::End;
            view_.scroll().request(shift ? Qt::Horizontal : Qt::Vertical, request);
            view_.viewport()->update();
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (ctrl)
            moveCursorByKey(key);
        else if (shift)
            view_.scroll().request(key == Qt::Key_Left || key == Qt::Key_Right ? Qt::Horizontal : Qt::Vertical,
                                key == Qt::Key_Left || key == Qt::Key_Up ? ScrollRequest::LineBack
                                                                         : ScrollRequest::LineForward);
        else
            emit view_.managerArrowKey(key);
        break;
    case Qt::Key_Delete:
        if (view_.hasFocus())
            emit view_.mapCommand(MapCommand::Delete, 0);
        break;
    case Qt::Key_C:
        if (ctrl)
            emit view_.mapCommand(MapCommand::Copy, 0);
        break;
    case Qt::Key_V:
        if (ctrl)
            emit view_.mapCommand(MapCommand::Paste, 0);
        break;
    case Qt::Key_X:
        if (ctrl)
            emit view_.mapCommand(MapCommand::Cut, 0);
        else if (shift)
            view_.setTagsVisible(!view_.tagsVisible());
        break;
    case Qt::Key_Z:
        // A key that named a type-in tile is no command.
        if (!shift && !typedIn_ && view_.undoStore().canUndo())
            view_.actions().undo();
        break;
    case Qt::Key_Y:
        if (!shift && !typedIn_ && view_.undoStore().canRedo())
            view_.actions().redo();
        break;
    default:
        break;
    }
    // The main window has seen the key already (frameKeyEvent).
}

void MapViewKeys::release(QKeyEvent* event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_B)
            bHeld_ = false;
        if (event->key() == Qt::Key_O)
            oHeld_ = false;
        if (event->key() == Qt::Key_A)
            aHeld_ = false;
    }
    emit view_.frameKeyEvent(event, false);
}

void MapViewKeys::moveCursorByKey(int key)
{
    const MapGrid& map = view_.map();
    if (!map.hasCells())
        return;
    const int x = view_.cursorCell().x();
    const int y = view_.cursorCell().y();
    view_.viewport()->update(); // the old outline goes
    switch (key) {
    case Qt::Key_Left:
        if (x == 0)
            return;
        if (x <= view_.firstColumn()) {
            view_.placeCursor(QPoint(x - 1, y));
            view_.scroll().request(Qt::Horizontal, ScrollRequest::LineBack);
        } else {
            view_.moveCursor(x - 1, y);
        }
        break;
    case Qt::Key_Right:
        if (x >= map.width - 1)
            return;
        if (x + 1 >= view_.firstColumn() + view_.visibleColumns()) {
            view_.placeCursor(QPoint(x + 1, y));
            view_.scroll().request(Qt::Horizontal, ScrollRequest::LineForward);
        } else {
            view_.moveCursor(x + 1, y);
        }
        break;
    case Qt::Key_Up:
        if (y == 0)
            return;
        if (y <= view_.firstRow()) {
            view_.placeCursor(QPoint(x, y - 1));
            view_.scroll().request(Qt::Vertical, ScrollRequest::LineBack);
        } else {
            view_.moveCursor(x, y - 1);
        }
        break;
    case Qt::Key_Down:
        if (y >= map.height - 1)
            return;
        if (y + 1 >= view_.firstRow() + view_.visibleRows()) {
            view_.placeCursor(QPoint(x, y + 1));
            view_.scroll().request(Qt::Vertical, ScrollRequest::LineForward);
        } else {
            view_.moveCursor(x, y + 1);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- type-in

void MapViewKeys::startTypeIn()
{
    typeInMode_ = true;
    typeInBase_ = view_.currentTile().tile;
    blinkOn_ = true;
    blinkTimer_->start();
    view_.viewport()->update();
}

void MapViewKeys::stopTypeIn()
{
    blinkTimer_->stop();
    typeInMode_ = false;
    typeInBase_ = -1;
    blinkOn_ = true;
    view_.viewport()->update();
}

bool MapViewKeys::typeInKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        stopTypeIn();
        return false;
    }
    const MapGrid& map = view_.map();
    const QPoint cursor = view_.cursorCell();
    if (const std::optional<int> offset = typeInOffset(typeInKeyCode(event))) {
        typedIn_ = true; // also when no tile is placed: the key is no command
        const int tile = typeInBase_ + *offset;
        if (tile >= 0 && tile < TILES_PER_SET && map.inside(cursor.x(), cursor.y())) {
            const CurrentTile current = view_.currentTile();
            emit view_.tilePicked(current.layer, tile);
            int palette = current.palette;
            if (current.layer == TILE_BG || current.layer == TILE_OBJ)
                if (const CTile* own = view_.workspace().tiles.tile(static_cast<TileKind>(current.layer), tile))
                    palette = own->palette();
            view_.beginUndoStep(STEP_CELLS, StepName::TypeIn);
            view_.commands().paintAt(cursor, CurrentTile{current.layer, tile, palette});
            const CellPos next = nextTypeInCell(map, CellPos{cursor.x(), cursor.y()});
            view_.moveCursor(next.x, next.y);
        }
        return false; // on to the ordinary handling
    }
    // Any other key: the outline goes, and the key ends here.
    blinkOn_ = false;
    QPoint next = cursor;
    switch (key) {
    case Qt::Key_Left:
        next.rx() -= 1;
        break;
    case Qt::Key_Right:
        next.rx() += 1;
        break;
    case Qt::Key_Up:
        next.ry() -= 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        next.ry() += 1;
        break;
    default:
        break;
    }
    if (next != cursor && view_.onMap(next))
        view_.moveCursor(next.x(), next.y());
    view_.viewport()->update();
    return true;
}

} // namespace qm::ui
