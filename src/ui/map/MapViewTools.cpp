#include "ui/map/MapViewTools.h"

#include "core/edit/BucketFill.h"
#include "core/edit/MapCommands.h"
#include "core/edit/MapLine.h"
#include "core/base/ZoomTable.h"
#include "ui/app/MapTool.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewCommands.h"
#include "ui/map/MapViewKeys.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QTimer>
#include <QWheelEvent>

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

} // namespace

MapViewTools::MapViewTools(CQuiltmarkView& view) : QObject(&view), view_(view)
{
    zoomTimer_ = new QTimer(this);
    zoomTimer_->setInterval(ZOOM_FRAME_MS);
    connect(zoomTimer_, &QTimer::timeout, this, &MapViewTools::zoomStep);
}

// ---------------------------------------------------------------- mouse

void MapViewTools::press(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (pos.x() < view_.cellSize() || pos.y() < view_.cellSize())
        return; // the rulers
    const QPoint cell = view_.cellAtPoint(pos);
    if (!view_.onMap(cell))
        return;
    buttonDown_ = true;
    paintFailed_ = false;
    const int tool = view_.currentTool();
    switch (tool) {
    case TOOL_SELECT:
        selectorPress(cell, event->modifiers());
        break;
    case TOOL_ZOOM:
    case TOOL_ZOOM_OUT:
        zoomAt(cell, tool == TOOL_ZOOM);
        break;
    case TOOL_HAND:
        grab_ = cell;
        break;
    case TOOL_PENCIL:
        view_.beginUndoStep(STEP_CELLS, StepName::Pencil);
        paintFailed_ = !view_.commands().paintAt(cell, view_.currentTile());
        view_.moveCursor(cell.x(), cell.y());
        break;
    case TOOL_LINE:
        workList_.clear();
        lineActive_ = true;
        view_.beginUndoStep(STEP_CELLS, StepName::Line);
        paintFailed_ = !view_.commands().paintAt(cell, view_.currentTile());
        view_.moveCursor(cell.x(), cell.y());
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

bool MapViewTools::move(QMouseEvent* event)
{
    if (!buttonDown_)
        return false;
    const QPoint pos = event->position().toPoint();
    const QPoint cell = view_.cellAtPoint(pos);
    switch (view_.currentTool()) {
    case TOOL_SELECT:
        selectorDrag(cell);
        break;
    case TOOL_HAND:
        handDrag(cell, pos);
        break;
    case TOOL_PENCIL:
        if (!paintFailed_ && view_.onMap(cell) && cell != view_.cursorCell()) {
            paintFailed_ = !view_.commands().paintAt(cell, view_.currentTile());
            view_.moveCursor(cell.x(), cell.y());
        }
        break;
    case TOOL_LINE:
        if (lineActive_ && view_.onMap(cell) && cell != lineStart_ && cell != dragCell_) {
            workList_.clear();
            for (const CellPos& c : lineCells(lineStart_.x(), lineStart_.y(), cell.x(), cell.y()))
                workList_.append(QPoint(c.x, c.y));
            dragCell_ = cell;
            view_.viewport()->update();
        }
        break;
    default:
        break;
    }
    return true;
}

bool MapViewTools::release()
{
    if (!buttonDown_)
        return false;
    if (view_.currentTool() == TOOL_SELECT)
        selectorRelease();
    if (lineActive_ && !paintFailed_) {
        const CurrentTile tile = view_.currentTile();
        for (const QPoint& c : std::as_const(workList_))
            if (view_.onMap(c) && !view_.commands().paintAt(c, tile))
                break;
    }
    buttonDown_ = false;
    lineActive_ = false;
    aRectActive_ = false;
    workList_.clear();
    view_.viewport()->update();
    return true;
}

bool MapViewTools::doubleClick(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int cs = view_.cellSize();
    const bool inColumnRuler = pos.y() < cs && pos.x() >= cs;
    const bool inRowRuler = pos.x() < cs && pos.y() >= cs;
    const MapGrid& map = view_.map();
    if (inColumnRuler || inRowRuler) {
        const QPoint at = event->globalPosition().toPoint();
        if (inColumnRuler && map.width > view_.visibleColumns() && view_.goToPrompt) {
            if (const std::optional<int> v = view_.goToPrompt(QStringLiteral("Go to column:"), at))
                view_.scroll().goToColumn(*v);
        } else if (inRowRuler && map.height > view_.visibleRows() && view_.goToPrompt) {
            if (const std::optional<int> v = view_.goToPrompt(QStringLiteral("Go to row:"), at))
                view_.scroll().goToRow(*v);
        }
        return true;
    }
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        view_.currentTool() == TOOL_SELECT && pos.x() >= cs && pos.y() >= cs && view_.onMap(view_.cellAtPoint(pos)) &&
        view_.selection().size() == 1) {
        view_.keys().startTypeIn();
        return true;
    }
    return false;
}

bool MapViewTools::wheel(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    wheelTurn_ += event->angleDelta().y();
    const int notches = wheelTurn_ / 120; // one zoom step a notch
    wheelTurn_ -= notches * 120;
    const int level = std::clamp(view_.zoomLevel() + notches, 0, ZOOM_LEVELS - 1);
    if (notches != 0 && level != view_.zoomLevel()) {
        const QPoint pos = event->position().toPoint();
        view_.zoomKeeping(level, view_.cellAtPoint(pos), pos);
        emit view_.message(MSG_ZOOM_CHANGED, level, 0);
    }
    return true;
}

// ---------------------------------------------------------------- selector

void MapViewTools::selectorPress(QPoint cell, Qt::KeyboardModifiers mods)
{
    aRectActive_ = false;
    const QPoint cursor = view_.cursorCell();
    if (view_.keys().aHeld()) {
        QList<QPoint> selection = view_.selection();
        const qsizetype index = selection.indexOf(cell);
        if (index < 0) {
            selection.append(cell);
            view_.placeCursor(cell);
            selectionAdded_ = true;
            aRectStart_ = aRectEnd_ = cell;
        } else if (!(selection.size() == 1 && cell == cursor)) {
            selection.removeAt(index);
            if (!selection.isEmpty())
                view_.placeCursor(selection.last());
            selectionAdded_ = false;
        }
        view_.setSelection(selection);
        return;
    }
    selectionAdded_ = false;
    if (mods & Qt::ShiftModifier) {
        view_.setSelection(toPoints(rectangleCells(toCell(cursor), toCell(cell))));
        view_.showSelectionText(cursor.x(), cursor.y(), cell.x(), cell.y());
        return;
    }
    view_.moveCursor(cell.x(), cell.y());
    dragCell_ = cell;
}

void MapViewTools::selectorDrag(QPoint cell)
{
    if (!view_.onMap(cell))
        return;
    const bool aHeld = view_.keys().aHeld();
    if (aHeld && selectionAdded_) {
        if (cell != aRectEnd_ || !aRectActive_) {
            aRectEnd_ = cell;
            aRectActive_ = cell != aRectStart_ || aRectActive_;
            view_.showSelectionText(aRectStart_.x(), aRectStart_.y(), cell.x(), cell.y());
            view_.viewport()->update();
        }
        return;
    }
    if (aHeld || selectionAdded_ || cell == dragCell_)
        return;
    const QPoint cursor = view_.cursorCell();
    view_.setSelection(toPoints(rectangleCells(toCell(cursor), toCell(cell))));
    view_.showSelectionText(cursor.x(), cursor.y(), cell.x(), cell.y());
    dragCell_ = cell;
}

void MapViewTools::selectorRelease()
{
    if (!aRectActive_)
        return;
    QList<QPoint> selection = view_.selection();
    selection.removeOne(aRectStart_);
    QSet<QPoint> selected(selection.cbegin(), selection.cend());
    for (const CellPos& c : rectangleCells(toCell(aRectStart_), toCell(aRectEnd_))) {
        const QPoint p(c.x, c.y);
        if (!selected.contains(p)) {
            selection.append(p);
            selected.insert(p);
        }
    }
    aRectActive_ = false;
    view_.setSelection(selection);
}

// ---------------------------------------------------------------- zoom, hand

void MapViewTools::zoomAt(QPoint cell, bool in)
{
    const int level = view_.zoomLevel();
    const int next = std::clamp(level + (in ? 1 : -1), 0, ZOOM_LEVELS - 1);
    if (level < 0 || next == level)
        return;
    zoomingIn_ = in;
    zoomFrames_ = zoomAnimationFrames(in, view_.viewport()->width(), view_.viewport()->height());
    zoomFrame_ = zoomFrames_.empty() ? -1 : 0;
    if (zoomFrame_ >= 0)
        zoomTimer_->start();
    view_.zoomAround(next, cell);
    emit view_.message(MSG_ZOOM_CHANGED, next, 0);
}

void MapViewTools::zoomStep()
{
    if (zoomFrame_ < 0 || ++zoomFrame_ >= static_cast<int>(zoomFrames_.size())) {
        zoomFrame_ = -1;
        zoomFrames_.clear();
        zoomTimer_->stop();
    }
    view_.viewport()->update();
}

void MapViewTools::handDrag(QPoint cell, QPoint pos)
{
    const MapGrid& map = view_.map();
    if (cell.x() != grab_.x()) {
        const int first = view_.firstColumn() - cell.x() + grab_.x();
        if ((cell.x() < grab_.x() && first > map.width + 5) || (cell.x() > grab_.x() && first < 0))
            return;
        view_.scroll().request(Qt::Horizontal, ScrollRequest::Thumb, first);
        grab_.setX(view_.cellAtPoint(pos).x());
    }
    if (cell.y() != grab_.y()) {
        const int first = view_.firstRow() - cell.y() + grab_.y();
        if ((cell.y() < grab_.y() && first > map.height + 5) || (cell.y() > grab_.y() && first < 0))
            return;
        view_.scroll().request(Qt::Vertical, ScrollRequest::Thumb, first);
        grab_.setY(view_.cellAtPoint(pos).y());
    }
}

// ---------------------------------------------------------------- bucket, eyedroppers

void MapViewTools::bucketAt(QPoint cell)
{
    const CurrentTile tile = view_.currentTile();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MapEdit edit = view_.commands().makeEdit();
    const EditResult result = bucketFill(edit, cell.x(), cell.y(), TileChoice{tile.layer, tile.tile, tile.palette});
    QApplication::restoreOverrideCursor();
    workList_.clear();
    view_.moveCursor(cell.x(), cell.y());
    view_.commands().afterEdit(result);
}

void MapViewTools::eyedropAt(QPoint cell)
{
    view_.moveCursor(cell.x(), cell.y());
    const MapCell* c = view_.map().cellAt(cell.x(), cell.y());
    if (!c)
        return;
    if (!view_.objHidden() && c->hasObj())
        emit view_.tilePicked(TILE_OBJ, c->objTile);
    else if (c->hasBg())
        emit view_.tilePicked(TILE_BG, c->bgTile);
}

void MapViewTools::reverseEyedropAt(QPoint cell)
{
    const CurrentTile tile = view_.currentTile();
    const MapCell* c = view_.map().cellAt(cell.x(), cell.y());
    if (c && (tile.layer == TILE_BG || tile.layer == TILE_OBJ || tile.layer == TILE_TAG)) {
        // Every cell has a tag; the other layers only where a tile is present.
        const bool present = tile.layer == TILE_BG ? c->hasBg() : tile.layer == TILE_OBJ ? c->hasObj() : true;
        if (present) {
            const int picked = tile.layer == TILE_BG ? c->bgTile : tile.layer == TILE_OBJ ? c->objTile : c->tag;
            emit view_.tilePicked(tile.layer, picked);
            selectCellsUsingTile(tile.layer, picked);
            return;
        }
    }
    selectCellsUsingTile(tile.layer, tile.tile);
}

void MapViewTools::selectCellsUsingTile()
{
    const CurrentTile tile = view_.currentTile();
    selectCellsUsingTile(tile.layer, tile.tile);
}

void MapViewTools::selectCellsUsingTile(int layer, int tile)
{
    const std::vector<CellPos> cells = cellsUsingTile(view_.map(), layer, tile);
    view_.setSelection(toPoints(cells));
    view_.setStatus(QString::fromStdString(usedText(cells.size())));
}

void MapViewTools::selectCellsUsingPalette(int layer, int p)
{
    const std::vector<CellPos> cells = cellsUsingPalette(view_.map(), layer, p);
    view_.setSelection(toPoints(cells));
    view_.setStatus(QString::fromStdString(usedText(cells.size())));
}

// ---------------------------------------------------------------- overlay

QImage MapViewTools::tileImage(const CurrentTile& tile) const
{
    const TileKind kind = tile.layer == TILE_OBJ ? TILE_OBJ : tile.layer == TILE_TAG ? TILE_TAG : TILE_BG;
    const CTile* t = view_.workspace().tiles.tile(kind, tile.layer == TILE_TAG ? (tile.tile & 0xFF) : tile.tile);
    if (!t || (tile.layer != TILE_BG && tile.layer != TILE_OBJ && tile.layer != TILE_TAG))
        return QImage();
    QImage image(8, 8, QImage::Format_Indexed8);
    image.setColorTable(view_.displayColours());
    const int palette = tile.layer == TILE_TAG ? t->palette() : (tile.palette & 7);
    const int base = (kind == TILE_OBJ ? 32 : 0) + 4 * palette;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, static_cast<uint>(base + (t->pixels[static_cast<std::size_t>(y * 8 + x)] & 3)));
    return image;
}

void MapViewTools::paintOverlay(QPainter& p) const
{
    const int cs = view_.cellSize();
    p.save();
    p.setClipRect(QRect(cs, cs, view_.viewport()->width() - cs, view_.viewport()->height() - cs));
    if (lineActive_ && !workList_.isEmpty()) {
        const QImage image = tileImage(view_.currentTile());
        for (const QPoint& c : std::as_const(workList_)) {
            if (!view_.cellOnScreen(c))
                continue;
            const QRect r = view_.cellRect(c.x(), c.y());
            if (!image.isNull())
                p.drawImage(r, image);
            if (view_.gridVisible()) {
                p.setPen(QPen(view_.gridColour(), 0));
                p.drawLine(r.topLeft(), r.topRight());
                p.drawLine(r.topLeft(), r.bottomLeft());
            }
        }
    }
    if (aRectActive_) {
        const QRect a = view_.cellRect(aRectStart_.x(), aRectStart_.y());
        const QRect b = view_.cellRect(aRectEnd_.x(), aRectEnd_.y());
        p.setPen(QPen(view_.cursorColour(), 0));
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
