// The map view's mouse tools and its type-in mode: selecting, zooming,
// scrolling by hand, painting with the pencil, the line and the bucket, and
// picking tiles from the map.

#include "ui/map/CQuiltmarkView.h"

#include "core/edit/BucketFill.h"
#include "core/edit/MapCommands.h"
#include "core/edit/MapLine.h"
#include "core/edit/TypeIn.h"
#include "core/base/ZoomTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QTimer>

#include <algorithm>

namespace qm::ui {

namespace {

QList<QPoint> toPoints(const std::vector<CellPos>& cells)
{
    QList<QPoint> out;
    out.reserve(static_cast<qsizetype>(cells.size()));
    for (const CellPos& c : cells)
        out.append(QPoint(c.x, c.y));
    return out;
}

CellPos toCell(QPoint p) { return {p.x(), p.y()}; }

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

CurrentTile CQuiltmarkView::currentTile() const
{
    if (currentTileProvider)
        return currentTileProvider();
    return CurrentTile{TILE_BG, 0, 0};
}

MapEdit CQuiltmarkView::makeEdit() { return MapEdit{ws_, undo_, renderer_, currentLayer_}; }

std::vector<CellPos> CQuiltmarkView::selectionCells() const
{
    std::vector<CellPos> out;
    out.reserve(static_cast<std::size_t>(selection_.size()));
    for (const QPoint& p : selection_)
        out.push_back(toCell(p));
    return out;
}

void CQuiltmarkView::afterCoreStep()
{
    operationLayer_ = currentLayer_;
    updateUndoActions();
}

void CQuiltmarkView::afterEdit(const EditResult& result, bool attributes)
{
    afterCoreStep();
    if (result.changed > 0)
        markModified();
    viewport()->update();
    if (attributes)
        showCellInfo(cursor_.x(), cursor_.y());
    if (!result.ok())
        showMessage(QString::fromStdString(result.result.text()));
}

bool CQuiltmarkView::paintAt(QPoint cell, const CurrentTile& tile)
{
    MapEdit edit = makeEdit();
    if (!paintCell(edit, cell.x(), cell.y(), TileChoice{tile.layer, tile.tile, tile.palette})) {
        showMessage(QString::fromLatin1(MSG_NO_MEMORY_UNDO));
        return false;
    }
    markModified();
    viewport()->update();
    return true;
}

// ---------------------------------------------------------------- mouse

void CQuiltmarkView::toolPress(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (pos.x() < cellSize_ || pos.y() < cellSize_)
        return; // the rulers
    const QPoint cell = cellAtPoint(pos);
    if (!onMap(cell))
        return;
    buttonDown_ = true;
    paintFailed_ = false;
    switch (currentTool_) {
    case TOOL_SELECT:
        selectorPress(cell, event->modifiers());
        break;
    case TOOL_ZOOM:
    case TOOL_ZOOM_OUT:
        zoomAt(cell, currentTool_ == TOOL_ZOOM);
        break;
    case TOOL_HAND:
        grab_ = cell;
        break;
    case TOOL_PENCIL:
        beginUndoStep(STEP_CELLS);
        paintFailed_ = !paintAt(cell, currentTile());
        moveCursor(cell.x(), cell.y());
        break;
    case TOOL_LINE:
        workList_.clear();
        lineActive_ = true;
        beginUndoStep(STEP_CELLS);
        paintFailed_ = !paintAt(cell, currentTile());
        moveCursor(cell.x(), cell.y());
        lineStart_ = dragCell_ = cell;
        break;
    case TOOL_BUCKET:
        bucketAt(cell);
        break;
    case TOOL_EYEDROPPER:
        eyedropAt(cell);
        break;
    case TOOL_REV_EYEDROPPER:
        reverseEyedropAt(cell);
        break;
    default:
        break;
    }
}

void CQuiltmarkView::mouseMoveEvent(QMouseEvent* event)
{
    if (!buttonDown_) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const QPoint cell = cellAtPoint(pos);
    switch (currentTool_) {
    case TOOL_SELECT:
        selectorDrag(cell);
        break;
    case TOOL_HAND:
        handDrag(cell, pos);
        break;
    case TOOL_PENCIL:
        if (!paintFailed_ && onMap(cell) && cell != cursor_) {
            paintFailed_ = !paintAt(cell, currentTile());
            moveCursor(cell.x(), cell.y());
        }
        break;
    case TOOL_LINE:
        if (lineActive_ && onMap(cell) && cell != lineStart_ && cell != dragCell_) {
            workList_.clear();
            for (const CellPos& c : lineCells(lineStart_.x(), lineStart_.y(), cell.x(), cell.y()))
                workList_.append(QPoint(c.x, c.y));
            dragCell_ = cell;
            viewport()->update();
        }
        break;
    default:
        break;
    }
    event->accept();
}

void CQuiltmarkView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !buttonDown_) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (currentTool_ == TOOL_SELECT)
        selectorRelease();
    if (lineActive_ && !paintFailed_) {
        const CurrentTile tile = currentTile();
        for (const QPoint& c : std::as_const(workList_))
            if (onMap(c) && !paintAt(c, tile))
                break;
    }
    buttonDown_ = false;
    lineActive_ = false;
    aRectActive_ = false;
    workList_.clear();
    viewport()->update();
    event->accept();
}

// ---------------------------------------------------------------- selector

void CQuiltmarkView::selectorPress(QPoint cell, Qt::KeyboardModifiers mods)
{
    aRectActive_ = false;
    if (aHeld_) {
        const qsizetype index = selection_.indexOf(cell);
        if (index < 0) {
            selection_.append(cell);
            cursor_ = cell;
            selectionAdded_ = true;
            aRectStart_ = aRectEnd_ = cell;
        } else if (!(selection_.size() == 1 && cell == cursor_)) {
            selection_.removeAt(index);
            if (!selection_.isEmpty())
                cursor_ = selection_.last();
            selectionAdded_ = false;
        }
        viewport()->update();
        return;
    }
    selectionAdded_ = false;
    if (mods & Qt::ShiftModifier) {
        selection_ = toPoints(rectangleCells(toCell(cursor_), toCell(cell)));
        showSelectionText(cursor_.x(), cursor_.y(), cell.x(), cell.y());
        viewport()->update();
        return;
    }
    moveCursor(cell.x(), cell.y());
    dragCell_ = cell;
}

void CQuiltmarkView::selectorDrag(QPoint cell)
{
    if (!onMap(cell))
        return;
    if (aHeld_ && selectionAdded_) {
        if (cell != aRectEnd_ || !aRectActive_) {
            aRectEnd_ = cell;
            aRectActive_ = cell != aRectStart_ || aRectActive_;
            showSelectionText(aRectStart_.x(), aRectStart_.y(), cell.x(), cell.y());
            viewport()->update();
        }
        return;
    }
    if (aHeld_ || selectionAdded_ || cell == dragCell_)
        return;
    selection_ = toPoints(rectangleCells(toCell(cursor_), toCell(cell)));
    showSelectionText(cursor_.x(), cursor_.y(), cell.x(), cell.y());
    dragCell_ = cell;
    viewport()->update();
}

void CQuiltmarkView::selectorRelease()
{
    if (!aRectActive_)
        return;
    selection_.removeOne(aRectStart_);
    QSet<QPoint> selected(selection_.cbegin(), selection_.cend());
    for (const CellPos& c : rectangleCells(toCell(aRectStart_), toCell(aRectEnd_))) {
        const QPoint p(c.x, c.y);
        if (!selected.contains(p)) {
            selection_.append(p);
            selected.insert(p);
        }
    }
    aRectActive_ = false;
    viewport()->update();
}

// ---------------------------------------------------------------- zoom, hand

void CQuiltmarkView::zoomAt(QPoint cell, bool in)
{
    const int level = zoomLevel();
    const int next = std::clamp(level + (in ? 1 : -1), 0, ZOOM_LEVELS - 1);
    if (level < 0 || next == level)
        return;
    zoomingIn_ = in;
    zoomFrames_ = zoomAnimationFrames(in, viewport()->width(), viewport()->height());
    zoomFrame_ = zoomFrames_.empty() ? -1 : 0;
    if (zoomFrame_ >= 0)
        zoomTimer_->start();
    cellSize_ = cellSizeOfZoom(next);
    recomputeVisible();
    firstColumn_ = std::max(0, cell.x() - visibleColumns_ / 2);
    firstRow_ = std::max(0, cell.y() - visibleRows_ / 2);
    resetScrollBars();
    showCellInfo(cursor_.x(), cursor_.y());
    viewport()->update();
    emit message(MSG_ZOOM_CHANGED, next, 0);
}

void CQuiltmarkView::zoomStep()
{
    if (zoomFrame_ < 0 || ++zoomFrame_ >= static_cast<int>(zoomFrames_.size())) {
        zoomFrame_ = -1;
        zoomFrames_.clear();
        zoomTimer_->stop();
    }
    viewport()->update();
}

void CQuiltmarkView::handDrag(QPoint cell, QPoint pos)
{
    const MapGrid& map = ws_.project.map;
    if (cell.x() != grab_.x()) {
        const int first = firstColumn_ - cell.x() + grab_.x();
        if ((cell.x() < grab_.x() && first > map.width + 5) || (cell.x() > grab_.x() && first < 0))
            return;
        scrollRequest(Qt::Horizontal, ScrollRequest::Thumb, first);
        grab_.setX(cellAtPoint(pos).x());
    }
    if (cell.y() != grab_.y()) {
        const int first = firstRow_ - cell.y() + grab_.y();
        if ((cell.y() < grab_.y() && first > map.height + 5) || (cell.y() > grab_.y() && first < 0))
            return;
        scrollRequest(Qt::Vertical, ScrollRequest::Thumb, first);
        grab_.setY(cellAtPoint(pos).y());
    }
}

// ---------------------------------------------------------------- bucket, eyedroppers

void CQuiltmarkView::bucketAt(QPoint cell)
{
    const CurrentTile tile = currentTile();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MapEdit edit = makeEdit();
    const EditResult result = bucketFill(edit, cell.x(), cell.y(), TileChoice{tile.layer, tile.tile, tile.palette});
    QApplication::restoreOverrideCursor();
    workList_.clear();
    moveCursor(cell.x(), cell.y());
    afterEdit(result);
}

void CQuiltmarkView::eyedropAt(QPoint cell)
{
    moveCursor(cell.x(), cell.y());
    const MapCell* c = ws_.project.map.cellAt(cell.x(), cell.y());
    if (!c)
        return;
    if (!renderer_.objHidden && c->hasObj())
        emit tilePicked(TILE_OBJ, c->objTile);
    else if (c->hasBg())
        emit tilePicked(TILE_BG, c->bgTile);
}

void CQuiltmarkView::reverseEyedropAt(QPoint cell)
{
    const CurrentTile tile = currentTile();
    if (tile.layer == TILE_TAG)
        return;
    const MapCell* c = ws_.project.map.cellAt(cell.x(), cell.y());
    if (c && (tile.layer == TILE_BG || tile.layer == TILE_OBJ)) {
        const bool present = tile.layer == TILE_BG ? c->hasBg() : c->hasObj();
        if (present) {
            const int picked = tile.layer == TILE_BG ? c->bgTile : c->objTile;
            emit tilePicked(tile.layer, picked);
            selectCellsUsingTile(tile.layer, picked);
            return;
        }
    }
    selectCellsUsingTile(tile.layer, tile.tile);
}

void CQuiltmarkView::selectCellsUsingTile()
{
    const CurrentTile tile = currentTile();
    selectCellsUsingTile(tile.layer, tile.tile);
}

void CQuiltmarkView::selectCellsUsingTile(int layer, int tile)
{
    const std::vector<CellPos> cells = cellsUsingTile(ws_.project.map, layer, tile);
    selection_ = toPoints(cells);
    setStatus(QString::fromStdString(usedText(cells.size())));
    viewport()->update();
}

void CQuiltmarkView::selectCellsUsingPalette(int layer, int p)
{
    const std::vector<CellPos> cells = cellsUsingPalette(ws_.project.map, layer, p);
    selection_ = toPoints(cells);
    setStatus(QString::fromStdString(usedText(cells.size())));
    viewport()->update();
}

// ---------------------------------------------------------------- type-in

void CQuiltmarkView::startTypeIn()
{
    typeInMode_ = true;
    typeInBase_ = currentTile().tile;
    blinkOn_ = true;
    blinkTimer_->start();
    viewport()->update();
}

void CQuiltmarkView::stopTypeIn()
{
    blinkTimer_->stop();
    typeInMode_ = false;
    typeInBase_ = -1;
    blinkOn_ = true;
    viewport()->update();
}

bool CQuiltmarkView::typeInKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        stopTypeIn();
        return false;
    }
    const MapGrid& map = ws_.project.map;
    if (const std::optional<int> offset = typeInOffset(typeInKeyCode(event))) {
        const int tile = typeInBase_ + *offset;
        if (tile >= 0 && tile < TILES_PER_SET && map.inside(cursor_.x(), cursor_.y())) {
            const CurrentTile current = currentTile();
            emit tilePicked(current.layer, tile);
            int palette = current.palette;
            if (current.layer == TILE_BG || current.layer == TILE_OBJ)
                if (const CTile* own = ws_.tiles.tile(static_cast<TileKind>(current.layer), tile))
                    palette = own->palette();
            beginUndoStep(STEP_CELLS);
            paintAt(cursor_, CurrentTile{current.layer, tile, palette});
            typedIn_ = true;
            const CellPos next = nextTypeInCell(map, toCell(cursor_));
            moveCursor(next.x, next.y);
        }
        return false; // on to the ordinary handling
    }
    // Any other key: the outline goes, and the key ends here.
    blinkOn_ = false;
    QPoint next = cursor_;
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
    if (next != cursor_ && onMap(next))
        moveCursor(next.x(), next.y());
    viewport()->update();
    return true;
}

// ---------------------------------------------------------------- overlay

QImage CQuiltmarkView::tileImage(const CurrentTile& tile) const
{
    const TileKind kind = tile.layer == TILE_OBJ ? TILE_OBJ : tile.layer == TILE_TAG ? TILE_TAG : TILE_BG;
    const CTile* t = ws_.tiles.tile(kind, tile.layer == TILE_TAG ? (tile.tile & 0xFF) : tile.tile);
    if (!t || (tile.layer != TILE_BG && tile.layer != TILE_OBJ && tile.layer != TILE_TAG))
        return QImage();
    QImage image(8, 8, QImage::Format_Indexed8);
    image.setColorTable(qtColours_);
    const int palette = tile.layer == TILE_TAG ? t->palette() : (tile.palette & 7);
    const int base = (kind == TILE_OBJ ? 32 : 0) + 4 * palette;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, static_cast<uint>(base + (t->pixels[static_cast<std::size_t>(y * 8 + x)] & 3)));
    return image;
}

void CQuiltmarkView::paintToolOverlay(QPainter& p)
{
    const int cs = cellSize_;
    p.save();
    p.setClipRect(QRect(cs, cs, viewport()->width() - cs, viewport()->height() - cs));
    if (lineActive_ && !workList_.isEmpty()) {
        const QImage image = tileImage(currentTile());
        for (const QPoint& c : std::as_const(workList_)) {
            if (!cellOnScreen(c))
                continue;
            const QRect r = cellRect(c.x(), c.y());
            if (!image.isNull())
                p.drawImage(r, image);
            if (gridVisible_) {
                p.setPen(QPen(gridColour(), 0));
                p.drawLine(r.topLeft(), r.topRight());
                p.drawLine(r.topLeft(), r.bottomLeft());
            }
        }
    }
    if (aRectActive_) {
        const QRect a = cellRect(aRectStart_.x(), aRectStart_.y());
        const QRect b = cellRect(aRectEnd_.x(), aRectEnd_.y());
        p.setPen(QPen(cursorColour(), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect((a | b).adjusted(0, 0, -1, -1));
    }
    p.restore();
    if (zoomFrame_ >= 0 && zoomFrame_ < static_cast<int>(zoomFrames_.size())) {
        const FrameRect& f = zoomFrames_[static_cast<std::size_t>(zoomFrame_)];
        const bool last = zoomFrame_ + 1 == static_cast<int>(zoomFrames_.size());
        p.setPen(QPen(last && !zoomingIn_ ? Qt::white : Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(f.left, f.top, std::max(1, f.width), std::max(1, f.height)));
    }
}

} // namespace qm::ui
