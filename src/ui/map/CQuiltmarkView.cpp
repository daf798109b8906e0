#include "ui/map/CQuiltmarkView.h"

#include "core/project/CellInfo.h"
#include "core/edit/TilePaletteFollow.h"
#include "core/base/ZoomTable.h"
#include "ui/map/MapViewActions.h"
#include "ui/map/MapViewCommands.h"
#include "ui/map/MapViewKeys.h"
#include "ui/map/MapViewTools.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>

namespace qm::ui {

namespace {

// Project colours are 0x00BBGGRR.
QColor fromColourRef(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
std::uint32_t toColourRef(const QColor& c)
{
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

} // namespace

CQuiltmarkView::CQuiltmarkView(Workspace& workspace, UndoStore& undoStore, QWidget* parent)
    : QAbstractScrollArea(parent), ws_(workspace), undo_(undoStore), renderer_(workspace.project.map, workspace.tiles),
      scroll_(*this), painter_(*this)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    goToPrompt = [this](const QString& label, QPoint at) -> std::optional<int> {
        QInputDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Go to.."));
        dialog.setLabelText(label);
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setIntRange(0, 65535);
        dialog.setIntValue(1);
        dialog.move(at);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.intValue();
    };
    showMessage = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    };

    tools_ = new MapViewTools(*this);
    keys_ = new MapViewKeys(*this);
    commands_ = new MapViewCommands(*this);
    actions_ = new MapViewActions(*this);
    connect(this, &CQuiltmarkView::mapCommand, commands_, &MapViewCommands::execute);
    rebuildColourTable();
}

CQuiltmarkView::~CQuiltmarkView() = default;

// ---------------------------------------------------------------- state

int CQuiltmarkView::zoomLevel() const { return zoomOfCellSize(cellSize_); }

QColor CQuiltmarkView::cursorColour() const { return fromColourRef(ws_.colours.cursor); }
QColor CQuiltmarkView::gridColour() const { return fromColourRef(ws_.colours.grid); }

void CQuiltmarkView::setCurrentTool(int tool)
{
    const bool redraw = tool != currentTool_ && (tool == TOOL_REV_EYEDROPPER || currentTool_ == TOOL_REV_EYEDROPPER);
    const bool reverse = tool == TOOL_REV_EYEDROPPER && currentTool_ != TOOL_REV_EYEDROPPER;
    currentTool_ = tool;
    if (reverse && ws_.project.map.hasCells())
        tools_->selectCellsUsingTile();
    if (redraw)
        viewport()->update();
}

QImage CQuiltmarkView::mapPicture(bool tags) const
{
    const int columns = renderer_.columns();
    const int rows = renderer_.rows();
    if (columns <= 0 || rows <= 0)
        return QImage();
    QImage picture(columns * 8, rows * 8, QImage::Format_Indexed8);
    if (picture.isNull())
        return picture;
    // Drawn straight into the picture, a band of cell rows at a time, so
    // that the blocks kept for the screen stay as they are.
    constexpr int BAND = 32;
    for (int y = 0; y < rows; y += BAND)
        renderer_.drawRows(tags ? MapImage::Tags : MapImage::Map, y, BAND, picture.scanLine(y * 8),
                           static_cast<std::size_t>(picture.bytesPerLine()));
    picture.setColorTable(qtColours_);
    return picture;
}

CurrentTile CQuiltmarkView::currentTile() const
{
    if (currentTileProvider)
        return currentTileProvider();
    return CurrentTile{TILE_BG, 0, 0};
}

// ---------------------------------------------------------------- geometry

QRect CQuiltmarkView::cellRect(int x, int y) const
{
    return QRect((x - firstColumn()) * cellSize_ + cellSize_, (y - firstRow()) * cellSize_ + cellSize_, cellSize_,
                 cellSize_);
}

QPoint CQuiltmarkView::cellAtPoint(QPoint p) const
{
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return QPoint(floorDiv(firstColumn() * cellSize_ + p.x(), cellSize_) - 1,
                  floorDiv(firstRow() * cellSize_ + p.y(), cellSize_) - 1);
}

bool CQuiltmarkView::onMap(QPoint cell) const { return ws_.project.map.inside(cell.x(), cell.y()); }

bool CQuiltmarkView::cellOnScreen(QPoint c) const
{
    return c.x() >= firstColumn() && c.x() <= firstColumn() + visibleColumns() && c.y() >= firstRow() &&
           c.y() <= firstRow() + visibleRows();
}

int CQuiltmarkView::drawnColumns() const
{
    return std::max(0, std::min(ws_.project.map.width - firstColumn(), visibleColumns()));
}

int CQuiltmarkView::drawnRows() const
{
    return std::max(0, std::min(ws_.project.map.height - firstRow(), visibleRows()));
}

// ---------------------------------------------------------------- messages

void CQuiltmarkView::handleMessage(AppMessage msg, qint64 wParam, qint64 lParam)
{
    switch (msg) {
    case MSG_SET_ZOOM:
        if (cellSizeOfZoom(wParam) != 0)
            setZoomLevel(static_cast<int>(wParam));
        break;
    case MSG_MAP_RESET:
        mapReset(wParam == 1 || wParam == 2 ? static_cast<int>(wParam) : 0);
        break;
    case MSG_GRID:
        if (wParam == 256)
            gridVisible_ = true;
        else if (wParam == 512)
            gridVisible_ = false;
        viewport()->update();
        break;
    case MSG_COLOURS_CHANGED:
        if (lParam == 0)
            break;
        rebuildColourTable();
        if (wParam == 12 || wParam == 0x80000000LL)
            renderer_.renderAll();
        viewport()->update();
        refreshCellInfo(); // Reset Map Palette gives cells their tiles' palettes
        break;
    case MSG_TILES_CHANGED: {
        // Low byte the kind; with 0x10000 lParam points to {first, last}.
        const int kind = static_cast<int>(wParam & 0xFF);
        if (wParam & 0x10000) {
            const auto* range = reinterpret_cast<const std::int32_t*>(static_cast<quintptr>(lParam));
            if (range)
                tilesEdited(kind, range[0], range[1]);
        } else {
            tilesEdited(kind, static_cast<int>(lParam), static_cast<int>(lParam));
        }
        break;
    }
    case MSG_TILE_PALETTE_CHANGED: {
        const auto* change = reinterpret_cast<const TilePaletteChange*>(static_cast<quintptr>(lParam));
        if (!change)
            break;
        const FollowResult r = followTilePaletteChange(ws_, undo_, renderer_, *change);
        if (r.cellsChanged > 0)
            markModified();
        refreshUndoActions();
        viewport()->update();
        refreshCellInfo();
        if (!r.result)
            showMessage(QString::fromStdString(r.result.text()));
        break;
    }
    default:
        break;
    }
}

void CQuiltmarkView::mapReset(int kind)
{
    tools_->forgetPreview();
    const MapGrid& map = ws_.project.map;
    const bool sizeChanged = map.width != mapWidth_ || map.height != mapHeight_;
    if (sizeChanged) {
        mapWidth_ = map.width;
        mapHeight_ = map.height;
        scroll_.recomputeVisible();
    }
    if (kind == 1) {
        cursor_ = QPoint(0, 0);
        scroll_.toStart();
    }
    // Palettes may have come with the new map whatever the kind of reset.
    rebuildColourTable();
    cursor_.setX(std::clamp(cursor_.x(), 0, std::max(0, map.width - 1)));
    cursor_.setY(std::clamp(cursor_.y(), 0, std::max(0, map.height - 1)));
    scroll_.resetScrollBars();
    renderer_.reset();
    painter_.forgetFrame();
    if (map.hasCells())
        moveCursor(cursor_.x(), cursor_.y());
    else
        selection_.clear();
    if (sizeChanged)
        emit mapSizeChanged(map.width, map.height);
    viewport()->update();
}

void CQuiltmarkView::refreshColours()
{
    rebuildColourTable();
    viewport()->update();
}

void CQuiltmarkView::rebuildColourTable()
{
    colourTable_ = buildColourTable(ws_.tiles);
    qtColours_.resize(COLOUR_TABLE_SIZE);
    for (int i = 0; i < COLOUR_TABLE_SIZE; ++i) {
        const DisplayColour& c = colourTable_[static_cast<size_t>(i)];
        qtColours_[i] = qRgb(c.red, c.green, c.blue);
    }
}

// ---------------------------------------------------------------- scrolling

void CQuiltmarkView::scrollContentsBy(int, int)
{
    // The view draws from its images at the scroll position; nothing to move.
}

void CQuiltmarkView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        painter_.forgetRulerNumbers();
    QAbstractScrollArea::changeEvent(event);
}

void CQuiltmarkView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    scroll_.recomputeVisible();
    scroll_.resetScrollBars();
}

// ---------------------------------------------------------------- zoom

void CQuiltmarkView::setZoomLevel(int level) { zoomAround(level, cursor_); }

void CQuiltmarkView::zoomAround(int level, QPoint centre) { zoomKeeping(level, centre, QPoint(-1, -1)); }

void CQuiltmarkView::zoomKeeping(int level, QPoint cell, QPoint point)
{
    const int size = cellSizeOfZoom(level);
    if (size == 0)
        return;
    cellSize_ = size;
    scroll_.recomputeVisible();
    if (point.x() < 0)
        scroll_.centreOn(cell);
    else
        scroll_.keepCellAt(cell, point);
    scroll_.resetScrollBars();
    showCellInfo(cursor_.x(), cursor_.y());
    viewport()->update();
}

// ---------------------------------------------------------------- cursor, status

void CQuiltmarkView::moveCursor(int x, int y)
{
    cursor_ = QPoint(x, y);
    selection_ = {cursor_};
    viewport()->update();
    showCellInfo(x, y);
}

void CQuiltmarkView::setSelection(const QList<QPoint>& cells)
{
    selection_ = cells;
    viewport()->update();
}

void CQuiltmarkView::showCellInfo(int x, int y)
{
    const std::optional<std::string> text =
        cellInfoText(ws_.project.map, ws_.tiles, x, y, keys_->bHeld(), keys_->oHeld());
    if (text)
        setStatus(QString::fromStdString(*text));
}

void CQuiltmarkView::showSelectionText(int left, int top, int x, int y)
{
    const int w = std::abs(x - left) + 1;
    const int h = std::abs(y - top) + 1;
    setStatus(QString::fromStdString(selectionText(std::min(left, x), std::min(top, y), x, y, w, h)));
}

void CQuiltmarkView::setStatus(const QString& text)
{
    statusText_ = text;
    emit statusText(text);
}

void CQuiltmarkView::markModified()
{
    modified_ = true;
    ws_.project.setChanged(CHANGED_MAP);
    emit modifiedChanged();
}

void CQuiltmarkView::tilesEdited(int kind, int first, int last)
{
    renderer_.renderCellsUsingTiles(kind, first, last);
    viewport()->update();
    refreshCellInfo(); // a comment may have changed
}

// ---------------------------------------------------------------- display switches

void CQuiltmarkView::setGridVisible(bool on)
{
    gridVisible_ = on;
    viewport()->update();
}

void CQuiltmarkView::setObjHidden(bool on)
{
    renderer_.objHidden = on;
    afterDisplaySwitch();
}

void CQuiltmarkView::setObjTransparent(bool on)
{
    renderer_.objTransparent = on;
    afterDisplaySwitch();
}

void CQuiltmarkView::setTagsVisible(bool on)
{
    tagsVisible_ = on;
    afterDisplaySwitch();
}

void CQuiltmarkView::setTagsTransparent(bool on)
{
    tagsTransparent_ = on;
    afterDisplaySwitch();
}

void CQuiltmarkView::afterDisplaySwitch()
{
    renderer_.renderAll();
    viewport()->update();
    emit displaySwitchesChanged(renderer_.objHidden, !tagsVisible_);
}

void CQuiltmarkView::setCursorColour(const QColor& colour)
{
    ws_.colours.cursor = toColourRef(colour);
    viewport()->update();
}

void CQuiltmarkView::setGridColour(const QColor& colour)
{
    ws_.colours.grid = toColourRef(colour);
    viewport()->update();
}

// ---------------------------------------------------------------- undo

void CQuiltmarkView::beginUndoStep(int kind, StepName name)
{
    undo_.beginStep(kind, name);
    refreshUndoActions();
}

void CQuiltmarkView::refreshUndoActions() { emit undoStateChanged(undo_.canUndo(), undo_.canRedo()); }

// ---------------------------------------------------------------- painting and input

void CQuiltmarkView::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    paintView(p, event->rect());
}

void CQuiltmarkView::paintView(QPainter& p, const QRect& area)
{
    painter_.paint(p, area, keys_->outlineShown());
    tools_->paintOverlay(p);
}

bool CQuiltmarkView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && keys_->takesShortcut(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void CQuiltmarkView::keyPressEvent(QKeyEvent* event)
{
    keys_->press(event);
    event->accept();
}

void CQuiltmarkView::keyReleaseEvent(QKeyEvent* event)
{
    keys_->release(event);
    event->accept();
}

void CQuiltmarkView::mousePressEvent(QMouseEvent* event)
{
    emit frameMousePressed(event);
    if (keys_->typeInMode())
        keys_->stopTypeIn();
    if (event->button() == Qt::LeftButton) {
        tools_->press(event);
        event->accept();
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CQuiltmarkView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (tools_->doubleClick(event))
        event->accept();
    else
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CQuiltmarkView::mouseMoveEvent(QMouseEvent* event)
{
    if (tools_->move(event))
        event->accept();
    else
        QAbstractScrollArea::mouseMoveEvent(event);
}

void CQuiltmarkView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && tools_->release())
        event->accept();
    else
        QAbstractScrollArea::mouseReleaseEvent(event);
}

void CQuiltmarkView::wheelEvent(QWheelEvent* event)
{
    if (tools_->wheel(event))
        event->accept();
    else
        QAbstractScrollArea::wheelEvent(event);
}

void CQuiltmarkView::contextMenuEvent(QContextMenuEvent* event)
{
    if (currentTool_ == TOOL_SELECT)
        commands_->showContextMenu(event->globalPos());
}

} // namespace qm::ui
