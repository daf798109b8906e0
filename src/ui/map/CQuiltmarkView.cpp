#include "ui/map/CQuiltmarkView.h"

#include "core/project/CellInfo.h"
#include "core/edit/TilePaletteFollow.h"
#include "core/base/ZoomTable.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <qdrawutil.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace qm::ui {

namespace {

// Project colours are 0x00BBGGRR.
QColor fromColourRef(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
std::uint32_t toColourRef(const QColor& c)
{
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

const QColor RULER_TEXT_BACKGROUND(192, 192, 192);
constexpr int RULER_TEXT_HEIGHT = 10;

} // namespace

CQuiltmarkView::CQuiltmarkView(Workspace& workspace, UndoStore& undoStore, QWidget* parent)
    : QAbstractScrollArea(parent), ws_(workspace), undo_(undoStore), renderer_(workspace.project.map, workspace.tiles)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!adjustingScrollBars_)
            setFirst(Qt::Horizontal, v);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!adjustingScrollBars_)
            setFirst(Qt::Vertical, v);
    });

    rulerFont_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    rulerFont_.setPixelSize(RULER_TEXT_HEIGHT);

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
    colourPrompt = [this](const QColor& initial) { return QColorDialog::getColor(initial, this); };
    showMessage = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    };
    installEditingDialogs();

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(500);
    connect(blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        viewport()->update();
    });
    zoomTimer_ = new QTimer(this);
    zoomTimer_->setInterval(ZOOM_FRAME_MS);
    connect(zoomTimer_, &QTimer::timeout, this, &CQuiltmarkView::zoomStep);
    connect(this, &CQuiltmarkView::mapCommand, this, &CQuiltmarkView::executeCommand);

    createActions();
    rebuildColourTable();
}

CQuiltmarkView::~CQuiltmarkView() = default;

void CQuiltmarkView::createActions()
{
    undoAction_ = new QAction(QStringLiteral("&Undo"), this);
    undoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    connect(undoAction_, &QAction::triggered, this, &CQuiltmarkView::undo);
    redoAction_ = new QAction(QStringLiteral("&Redo"), this);
    redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(redoAction_, &QAction::triggered, this, &CQuiltmarkView::redo);
    addAction(undoAction_);
    addAction(redoAction_);

    hideObjAction_ = new QAction(QStringLiteral("&Hide OBJ Tile"), this);
    hideObjAction_->setCheckable(true);
    connect(hideObjAction_, &QAction::triggered, this, [this] { setObjHidden(!objHidden()); });
    transparentObjAction_ = new QAction(QStringLiteral("&Transparent OBJ Tile"), this);
    transparentObjAction_->setCheckable(true);
    connect(transparentObjAction_, &QAction::triggered, this, [this] { setObjTransparent(!objTransparent()); });
    transparentTagsAction_ = new QAction(QStringLiteral("Transparent Tags"), this);
    transparentTagsAction_->setCheckable(true);
    connect(transparentTagsAction_, &QAction::triggered, this, [this] { setTagsTransparent(!tagsTransparent_); });
    hideTagsAction_ = new QAction(QStringLiteral("Hide Tags"), this);
    hideTagsAction_->setCheckable(true);
    hideTagsAction_->setChecked(true); // checked while tags are not shown
    connect(hideTagsAction_, &QAction::triggered, this, [this] { setTagsVisible(!tagsVisible_); });

    cursorColourAction_ = new QAction(QStringLiteral("&Cursor Color"), this);
    connect(cursorColourAction_, &QAction::triggered, this, &CQuiltmarkView::chooseCursorColour);
    gridColourAction_ = new QAction(QStringLiteral("&Grid Color"), this);
    connect(gridColourAction_, &QAction::triggered, this, &CQuiltmarkView::chooseGridColour);
    updateUndoActions();
}

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
        selectCellsUsingTile();
    if (redraw)
        viewport()->update();
}

QImage CQuiltmarkView::visibleImage(bool tags) const
{
    const bool haveImage = tags ? renderer_.hasTagImage() : renderer_.hasMapImage();
    const int cols = std::min(drawnColumns(), renderer_.columns() - firstColumn_);
    const int rows = std::min(drawnRows(), renderer_.rows() - firstRow_);
    if (!haveImage || cols <= 0 || rows <= 0)
        return QImage();
    const std::uint8_t* base = (tags ? renderer_.tagImage() : renderer_.mapImage()) +
                               static_cast<std::size_t>(firstRow_) * 8 * renderer_.stride() +
                               static_cast<std::size_t>(firstColumn_) * 8;
    QImage image(base, cols * 8, rows * 8, static_cast<qsizetype>(renderer_.stride()), QImage::Format_Indexed8);
    image.setColorTable(qtColours_);
    return image;
}

// ---------------------------------------------------------------- geometry

QRect CQuiltmarkView::cellRect(int x, int y) const
{
    return QRect((x - firstColumn_) * cellSize_ + cellSize_, (y - firstRow_) * cellSize_ + cellSize_, cellSize_,
                 cellSize_);
}

QPoint CQuiltmarkView::cellAtPoint(QPoint p) const
{
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return QPoint(floorDiv(firstColumn_ * cellSize_ + p.x(), cellSize_) - 1,
                  floorDiv(firstRow_ * cellSize_ + p.y(), cellSize_) - 1);
}

bool CQuiltmarkView::onMap(QPoint cell) const { return ws_.project.map.inside(cell.x(), cell.y()); }

bool CQuiltmarkView::cellOnScreen(QPoint c) const
{
    return c.x() >= firstColumn_ && c.x() <= firstColumn_ + visibleColumns_ && c.y() >= firstRow_ &&
           c.y() <= firstRow_ + visibleRows_;
}

int CQuiltmarkView::drawnColumns() const
{
    return std::max(0, std::min(ws_.project.map.width - firstColumn_, visibleColumns_));
}

int CQuiltmarkView::drawnRows() const
{
    return std::max(0, std::min(ws_.project.map.height - firstRow_, visibleRows_));
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
        if (change->layer == TILE_BG || change->layer == TILE_OBJ)
            operationLayer_ = currentLayer_;
        if (r.cellsChanged > 0)
            markModified();
        updateUndoActions();
        viewport()->update();
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
    workList_.clear();
    const MapGrid& map = ws_.project.map;
    const bool sizeChanged = map.width != mapWidth_ || map.height != mapHeight_;
    if (sizeChanged) {
        mapWidth_ = map.width;
        mapHeight_ = map.height;
        recomputeVisible();
    }
    if (kind == 1) {
        cursor_ = QPoint(0, 0);
        firstColumn_ = firstRow_ = 0;
    }
    // Palettes may have come with the new map whatever the kind of reset.
    rebuildColourTable();
    cursor_.setX(std::clamp(cursor_.x(), 0, std::max(0, map.width - 1)));
    cursor_.setY(std::clamp(cursor_.y(), 0, std::max(0, map.height - 1)));
    resetScrollBars();
    const MapRenderer::CreateResult created = renderer_.createImages();
    renderer_.renderAll();
    frame_ = QImage();
    if (!created.map)
        showMessage(QString::fromStdString(created.map.text()));
    if (!created.tag)
        showMessage(QString::fromStdString(created.tag.text()));
    if (map.hasCells())
        moveCursor(cursor_.x(), cursor_.y());
    else
        selection_.clear();
    if (sizeChanged)
        emit mapSizeChanged(map.width, map.height);
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

void CQuiltmarkView::refreshColours(quint64 mask)
{
    refreshColourTable(colourTable_, ws_.tiles, mask);
    for (int i = 0; i < 64; ++i) {
        const DisplayColour& c = colourTable_[static_cast<size_t>(i)];
        qtColours_[i] = qRgb(c.red, c.green, c.blue);
    }
    viewport()->update();
}

// ---------------------------------------------------------------- scrolling

void CQuiltmarkView::recomputeVisible()
{
    visibleColumns_ = viewport()->width() / cellSize_;
    visibleRows_ = viewport()->height() / cellSize_;
}

void CQuiltmarkView::resetScrollBars()
{
    if (adjustingScrollBars_)
        return;
    adjustingScrollBars_ = true;
    const MapGrid& map = ws_.project.map;
    const QSize full = maximumViewportSize();
    const bool needH = map.hasCells() && scrollBarNeeded(map.width, cellSize_, full.width());
    const bool needV = map.hasCells() && scrollBarNeeded(map.height, cellSize_, full.height());
    setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    recomputeVisible();
    struct Direction {
        QScrollBar* bar;
        bool needed;
        int extent;
        int visible;
        int& first;
    };
    Direction dirs[2] = {{horizontalScrollBar(), needH, map.width, visibleColumns_, firstColumn_},
                         {verticalScrollBar(), needV, map.height, visibleRows_, firstRow_}};
    for (Direction& d : dirs) {
        if (!d.needed) {
            d.first = 0;
            continue;
        }
        d.bar->setRange(0, scrollMaximum(d.extent));
        d.bar->setPageStep(std::max(1, d.visible));
        d.bar->setSingleStep(1);
        d.first = std::clamp(d.first, 0, scrollMaximum(d.extent));
        d.bar->setValue(d.first);
    }
    adjustingScrollBars_ = false;
}

void CQuiltmarkView::scrollContentsBy(int, int)
{
    // The view draws from its images at the scroll position; nothing to move.
}

void CQuiltmarkView::onScrollAction(Qt::Orientation o, int action)
{
    QScrollBar* bar = o == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    ScrollRequest request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollRequest::LineForward;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollRequest::LineBack;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollRequest::PageForward;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollRequest::PageBack;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollRequest::Start;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollRequest::End;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollRequest::Thumb;
        break;
    default:
        return;
    }
    const bool horizontal = o == Qt::Horizontal;
    const int current = horizontal ? firstColumn_ : firstRow_;
    const std::optional<int> target =
        scrollTarget(request, current, horizontal ? ws_.project.map.width : ws_.project.map.height,
                     horizontal ? visibleColumns_ : visibleRows_, bar->sliderPosition());
    bar->setSliderPosition(target ? std::clamp(*target, bar->minimum(), bar->maximum()) : current);
}

void CQuiltmarkView::scrollRequest(Qt::Orientation o, ScrollRequest request, int thumb)
{
    const bool horizontal = o == Qt::Horizontal;
    const Qt::ScrollBarPolicy policy = horizontal ? horizontalScrollBarPolicy() : verticalScrollBarPolicy();
    if (policy == Qt::ScrollBarAlwaysOff)
        return; // the map fits: nothing to scroll
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int current = horizontal ? firstColumn_ : firstRow_;
    const std::optional<int> target =
        scrollTarget(request, current, horizontal ? ws_.project.map.width : ws_.project.map.height,
                     horizontal ? visibleColumns_ : visibleRows_, thumb);
    if (target)
        bar->setValue(std::clamp(*target, bar->minimum(), bar->maximum()));
}

void CQuiltmarkView::setFirst(Qt::Orientation o, int value)
{
    if (o == Qt::Horizontal) {
        firstColumn_ = value;
        showCellInfo(cursor_.x(), cursor_.y());
    } else {
        firstRow_ = value;
    }
    viewport()->update();
}

void CQuiltmarkView::goToColumn(int v)
{
    if (ws_.project.map.width <= visibleColumns_)
        return;
    horizontalScrollBar()->setValue(goToTarget(v, ws_.project.map.width, visibleColumns_));
}

void CQuiltmarkView::goToRow(int v)
{
    if (ws_.project.map.height <= visibleRows_)
        return;
    verticalScrollBar()->setValue(goToTarget(v, ws_.project.map.height, visibleRows_));
}

void CQuiltmarkView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        rulerNumbers_.clear();
    QAbstractScrollArea::changeEvent(event);
}

void CQuiltmarkView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    recomputeVisible();
    resetScrollBars();
}

// ---------------------------------------------------------------- zoom

void CQuiltmarkView::setZoomLevel(int level)
{
    const int size = cellSizeOfZoom(level);
    if (size == 0)
        return;
    cellSize_ = size;
    recomputeVisible();
    firstColumn_ = std::max(0, cursor_.x() - visibleColumns_ / 2);
    firstRow_ = std::max(0, cursor_.y() - visibleRows_ / 2);
    resetScrollBars();
    showCellInfo(cursor_.x(), cursor_.y());
    viewport()->update();
}

void CQuiltmarkView::zoomIn()
{
    const int level = zoomLevel();
    if (level < 0 || level >= ZOOM_LEVELS - 1)
        return;
    setZoomLevel(level + 1);
    emit message(MSG_ZOOM_CHANGED, level + 1, 0);
}

void CQuiltmarkView::zoomOut()
{
    const int level = zoomLevel();
    if (level <= 0)
        return;
    setZoomLevel(level - 1);
    emit message(MSG_ZOOM_CHANGED, level - 1, 0);
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
    const std::optional<std::string> text = cellInfoText(ws_.project.map, ws_.tiles, x, y, bHeld_, oHeld_);
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

void CQuiltmarkView::redrawMap() { viewport()->update(); }
void CQuiltmarkView::redrawSelection() { viewport()->update(); }

void CQuiltmarkView::renderCellsUsingTiles(int layer, int first, int last)
{
    renderer_.renderCellsUsingTiles(layer, first, last);
}

void CQuiltmarkView::tilesEdited(int kind, int first, int last)
{
    renderer_.renderCellsUsingTiles(kind, first, last);
    viewport()->update();
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
    hideObjAction_->setChecked(renderer_.objHidden);
    transparentObjAction_->setChecked(renderer_.objTransparent);
    transparentTagsAction_->setChecked(tagsTransparent_);
    hideTagsAction_->setChecked(!tagsVisible_);
    viewport()->update();
    emit displaySwitchesChanged(renderer_.objHidden, !tagsVisible_);
}

QColor CQuiltmarkView::promptColour(const QColor& initial) { return colourPrompt ? colourPrompt(initial) : QColor(); }

void CQuiltmarkView::chooseCursorColour()
{
    const QColor c = promptColour(cursorColour());
    if (!c.isValid())
        return;
    ws_.colours.cursor = toColourRef(c);
    viewport()->update();
}

void CQuiltmarkView::chooseGridColour()
{
    const QColor c = promptColour(gridColour());
    if (!c.isValid())
        return;
    ws_.colours.grid = toColourRef(c);
    viewport()->update();
}

// ---------------------------------------------------------------- undo

void CQuiltmarkView::beginUndoStep(int kind)
{
    operationLayer_ = currentLayer_;
    undo_.beginStep(kind);
    updateUndoActions();
}

void CQuiltmarkView::updateUndoActions()
{
    undoAction_->setEnabled(undo_.canUndo);
    redoAction_->setEnabled(undo_.canRedo);
    emit undoStateChanged(undo_.canUndo, undo_.canRedo);
}

void CQuiltmarkView::refreshUndoActions() { updateUndoActions(); }

void CQuiltmarkView::undo()
{
    const int kind = undo_.stepKind;
    const bool cells = !undo_.cellRecords.empty();
    if (!undo_.undo(ws_, *this))
        return;
    if (cells && (kind == STEP_CELLS || kind == STEP_TILE_PALETTE || kind == STEP_TILES))
        markModified();
    updateUndoActions();
}

void CQuiltmarkView::redo()
{
    const int kind = undo_.stepKind;
    const bool cells = !undo_.cellRecords.empty();
    if (!undo_.redo(ws_, *this))
        return;
    if (cells && (kind == STEP_CELLS || kind == STEP_TILE_PALETTE || kind == STEP_TILES))
        markModified();
    updateUndoActions();
}

void CQuiltmarkView::cellChanged(int x, int y)
{
    renderer_.renderCell(x, y);
    if (const MapCell* c = ws_.project.map.cellAt(x, y))
        renderer_.renderTagCell(x, y, c->tag);
}

void CQuiltmarkView::areaChanged(int x1, int y1, int x2, int y2)
{
    renderer_.renderArea(x1, y1, x2, y2);
    renderer_.renderTagArea(x1, y1, x2, y2);
}

void CQuiltmarkView::tilesChanged(TileKind kind, int first, int last)
{
    renderer_.renderCellsUsingTiles(kind, first, last);
    ws_.project.setChanged(kind == TILE_BG ? CHANGED_BG_TILES : kind == TILE_OBJ ? CHANGED_OBJ_TILES : 0xC0);
    emit tilesRestored(kind, first, last);
}

void CQuiltmarkView::coloursChanged(std::uint32_t flags, std::uint32_t mask)
{
    ws_.project.setChanged(CHANGED_PALETTE);
    rebuildColourTable();
    viewport()->update();
    emit message(MSG_COLOURS_CHANGED, flags, mask);
}

void CQuiltmarkView::linesChanged()
{
    mapReset(0);
    markModified();
}

void CQuiltmarkView::redraw() { viewport()->update(); }

// ---------------------------------------------------------------- painting

void CQuiltmarkView::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    paintView(p, event->rect());
}

void CQuiltmarkView::paintView(QPainter& p, const QRect& area)
{
    const int cs = cellSize_;
    const QRect client(QPoint(0, 0), viewport()->size());
    const QRect mapArea = QRect(cs, cs, drawnColumns() * cs, drawnRows() * cs) & client;
    QRegion rest = QRegion(area & client) - mapArea;
    const QColor background = palette().color(QPalette::Window);
    for (const QRect& r : rest)
        p.fillRect(r, background);
    paintRulers(p);
    paintMapArea(p);
    paintOutline(p);
    paintToolOverlay(p);
}

const QImage& CQuiltmarkView::rulerNumber(int number)
{
    auto it = rulerNumbers_.find(number);
    if (it != rulerNumbers_.end())
        return it.value();
    const QString text = QString::number(number);
    const QFontMetrics metrics(rulerFont_);
    QImage image(std::max(1, metrics.horizontalAdvance(text)), RULER_TEXT_HEIGHT, QImage::Format_RGB32);
    image.fill(RULER_TEXT_BACKGROUND);
    QPainter p(&image);
    p.setFont(rulerFont_);
    p.setPen(palette().color(QPalette::WindowText));
    // The digits themselves are centred: the line height of the font is
    // larger than the picture.
    const QRect glyphs = metrics.tightBoundingRect(text);
    p.drawText(QPoint((image.width() - glyphs.width()) / 2 - glyphs.left(),
                      (image.height() - glyphs.height()) / 2 - glyphs.top()),
               text);
    p.end();
    return rulerNumbers_.insert(number, image).value();
}

void CQuiltmarkView::paintRulers(QPainter& p)
{
    const int cs = cellSize_;
    const QSize client = viewport()->size();
    const MapGrid& map = ws_.project.map;
    // Etched boxes: a sunken outer edge and a raised inner one, all lines of
    // one colour drawn together. The numbers come from a cache of pictures.
    QList<QLine> dark;
    QList<QLine> light;
    const int shrink = (cs - RULER_TEXT_HEIGHT) / 2;
    QRect strip;
    struct Number {
        QRect box;
        QRect strip;
        int value;
    };
    QList<Number> numbers;
    auto box = [&](const QRect& r, int number) {
        const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
        dark << QLine(x0, y0, x1 - 1, y0) << QLine(x0, y0, x0, y1 - 1) << QLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1)
             << QLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
        light << QLine(x0 + 1, y0 + 1, x1 - 2, y0 + 1) << QLine(x0 + 1, y0 + 1, x0 + 1, y1 - 2)
              << QLine(x0, y1, x1, y1) << QLine(x1, y0, x1, y1);
        if (number >= 0)
            numbers.append({r, strip, number});
    };
    // Where numbers are larger than their boxes only every step-th line is
    // numbered (1, 2, 5, 10, 20, 50, ...), so that the numbers never overlap.
    const auto stepFor = [cs](int extent) {
        static constexpr int STEPS[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};
        for (int step : STEPS)
            if (step * cs >= extent + 2)
                return step;
        return 1000;
    };
    const int rowStep = stepFor(rulerNumber(std::max(0, map.height - 1)).height());
    const int columnStep = stepFor(rulerNumber(std::max(0, map.width - 1)).width());
    // Row ruler down the left edge.
    strip = QRect(0, cs, cs, client.height() - cs);
    int top = cs;
    for (int r = firstRow_; r < map.height && top < client.height(); ++r, top += cs)
        box(QRect(0, top, cs, cs), r % rowStep == 0 ? r : -1);
    if (top < client.height())
        box(QRect(0, top, cs, client.height() - top), -1);
    // Column ruler along the top.
    strip = QRect(cs, 0, client.width() - cs, cs);
    int left = cs;
    for (int c = firstColumn_; c < map.width && left < client.width(); ++c, left += cs)
        box(QRect(left, 0, cs, cs), c % columnStep == 0 ? c : -1);
    if (left < client.width())
        box(QRect(left, 0, client.width() - left, cs), -1);
    p.save();
    p.setPen(QPen(palette().color(QPalette::Dark), 0));
    p.drawLines(dark);
    p.setPen(QPen(palette().color(QPalette::Light), 0));
    p.drawLines(light);
    p.restore();
    // The numbers go over the edges, as each box is framed before its text.
    for (const Number& n : numbers) {
        const QRect& r = n.box;
        const QImage& text = rulerNumber(n.value);
        const QRect area = r.adjusted(0, shrink, 0, -shrink);
        const QRect placed(QPoint(area.left() + (area.width() - text.width()) / 2,
                                  area.top() + (area.height() - text.height()) / 2),
                           text.size());
        // Numbers larger than a small box spill over its neighbours, but
        // never out of their ruler.
        const QRect shown = placed & n.strip;
        if (!shown.isEmpty())
            p.drawImage(shown.topLeft(), text, shown.translated(-placed.topLeft()));
    }
}

void CQuiltmarkView::paintMapArea(QPainter& p)
{
    const int cs = cellSize_;
    const bool showTags = tagsVisible_ && renderer_.hasTagImage();
    const bool overMap = showTags && tagsTransparent_ && renderer_.hasMapImage();
    if (!showTags && !renderer_.hasMapImage())
        return;
    const int cols = std::min(drawnColumns(), renderer_.columns() - firstColumn_);
    const int rows = std::min(drawnRows(), renderer_.rows() - firstRow_);
    const int outW = std::min(cols * cs, viewport()->width() - cs);
    const int outH = std::min(rows * cs, viewport()->height() - cs);
    if (outW <= 0 || outH <= 0)
        return;
    if (frame_.width() != outW || frame_.height() != outH)
        frame_ = QImage(outW, outH, QImage::Format_RGB32);

    // The visible parts of the images, wrapped as indexed images.
    const QImage top = visibleImage(showTags);
    const QImage under = overMap ? visibleImage(false) : QImage();
    const QRgb* lut = qtColours_.constData();

    std::vector<int> sourceX(static_cast<size_t>(outW));
    for (int x = 0; x < outW; ++x)
        sourceX[static_cast<size_t>(x)] = x * 8 / cs;
    const qsizetype outStride = frame_.bytesPerLine();
    uchar* outBits = frame_.bits();
    int previousRow = -1;
    for (int y = 0; y < outH; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
        const int sy = y * 8 / cs;
        if (sy == previousRow) {
            std::memcpy(line, outBits + (y - 1) * outStride, static_cast<size_t>(outW) * sizeof(QRgb));
            continue;
        }
        previousRow = sy;
        const uchar* src = top.constScanLine(sy);
        if (overMap) {
            const uchar* below = under.constScanLine(sy);
            for (int x = 0; x < outW; ++x) {
                const int sx = sourceX[static_cast<size_t>(x)];
                const uchar t = src[sx];
                line[x] = lut[(t & 3) ? t : below[sx]];
            }
        } else if (cs == 8) {
            for (int x = 0; x < outW; ++x)
                line[x] = lut[src[x]];
        } else if (cs >= 16) {
            // Whole runs of the same source pixel.
            int x = 0;
            for (int sx = 0; x < outW; ++sx) {
                const QRgb c = lut[src[sx]];
                const int end = std::min(outW, ((sx + 1) * cs + 7) / 8);
                for (; x < end; ++x)
                    line[x] = c;
            }
        } else {
            for (int x = 0; x < outW; ++x)
                line[x] = lut[src[sourceX[static_cast<size_t>(x)]]];
        }
    }
    if (gridVisible_) {
        const QRgb g = gridColour().rgb();
        for (int y = 0; y < outH; y += cs) {
            QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
            std::fill(line, line + outW, g);
        }
        for (int y = 0; y < outH; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
            for (int x = 0; x < outW; x += cs)
                line[x] = g;
        }
    }
    p.drawImage(QPoint(cs, cs), frame_);
}

void CQuiltmarkView::paintOutline(QPainter& p)
{
    if (selection_.isEmpty() || (typeInMode_ && !blinkOn_))
        return;
    const int cs = cellSize_;
    const QRect mapArea(cs, cs, viewport()->width() - cs, viewport()->height() - cs);
    const QColor colour = cursorColour();
    p.save();
    p.setClipRect(mapArea);
    if (currentTool_ == TOOL_REV_EYEDROPPER) {
        // Each highlighted cell gets a frame of its own.
        p.setPen(QPen(colour, 0));
        p.setBrush(Qt::NoBrush);
        for (const QPoint& c : selection_)
            if (cellOnScreen(c))
                p.drawRect(cellRect(c.x(), c.y()).adjusted(0, 0, -1, -1));
        p.restore();
        return;
    }
    // The outer border of the union of the selected cells: a grid of the
    // cells on screen, turned into row runs, then the region minus its inside.
    const int gw = visibleColumns_ + 1;
    const int gh = visibleRows_ + 1;
    std::vector<std::uint8_t> marked(static_cast<size_t>(gw) * static_cast<size_t>(gh), 0);
    bool any = false;
    for (const QPoint& c : selection_) {
        const int gx = c.x() - firstColumn_;
        const int gy = c.y() - firstRow_;
        if (gx >= 0 && gy >= 0 && gx < gw && gy < gh) {
            marked[static_cast<size_t>(gy) * gw + gx] = 1;
            any = true;
        }
    }
    if (any) {
        QList<QRect> runs;
        for (int gy = 0; gy < gh; ++gy) {
            for (int gx = 0; gx < gw;) {
                if (!marked[static_cast<size_t>(gy) * gw + gx]) {
                    ++gx;
                    continue;
                }
                int end = gx;
                while (end < gw && marked[static_cast<size_t>(gy) * gw + end])
                    ++end;
                runs.append(QRect(cs + gx * cs, cs + gy * cs, (end - gx) * cs, cs));
                gx = end;
            }
        }
        QRegion region;
        region.setRects(runs.constData(), static_cast<int>(runs.size()));
        const QRegion inside = region & region.translated(1, 0) & region.translated(-1, 0) &
                               region.translated(0, 1) & region.translated(0, -1);
        for (const QRect& r : region - inside)
            p.fillRect(r, colour);
    }
    p.restore();
}

// ---------------------------------------------------------------- keys and mouse

bool CQuiltmarkView::event(QEvent* event)
{
    // In the type-in mode keys come to the mode before any menu key.
    if (event->type() == QEvent::ShortcutOverride && typeInMode_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CQuiltmarkView::keyPressEvent(QKeyEvent* event)
{
    typedIn_ = false;
    if (typeInMode_ && typeInKey(event)) {
        event->accept();
        return;
    }
    emit frameKeyEvent(event, true);
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int key = event->key();
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
        emit mapCommand(MapCommand::BlockFill, 0);
        break;
    case Qt::Key_Shift:
        if (currentTool_ == TOOL_PENCIL || currentTool_ == TOOL_BUCKET || currentTool_ == TOOL_LINE)
            emit temporaryToolRequested(TOOL_REV_EYEDROPPER);
        break;
    case Qt::Key_Control:
        if (currentTool_ == TOOL_SELECT || currentTool_ == TOOL_ZOOM || currentTool_ == TOOL_HAND ||
            currentTool_ == TOOL_PENCIL || currentTool_ == TOOL_BUCKET || currentTool_ == TOOL_LINE)
            emit temporaryToolRequested(TOOL_EYEDROPPER);
        break;
    case Qt::Key_Space:
        emit temporaryToolRequested(TOOL_HAND);
        break;
    case Qt::Key_B:
        if (!ctrl && !shift)
            emit temporaryToolRequested(TOOL_BUCKET);
        break;
    case Qt::Key_G:
        if (!ctrl && !shift)
            emit temporaryToolRequested(TOOL_LINE);
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
            scrollRequest(shift ? Qt::Horizontal : Qt::Vertical, request);
            viewport()->update();
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (ctrl)
            moveCursorByKey(key);
        else if (shift)
            scrollRequest(key == Qt::Key_Left || key == Qt::Key_Right ? Qt::Horizontal : Qt::Vertical,
                          key == Qt::Key_Left || key == Qt::Key_Up ? ScrollRequest::LineBack
                                                                   : ScrollRequest::LineForward);
        else
            emit managerArrowKey(key);
        break;
    case Qt::Key_Delete:
        if (hasFocus())
            emit mapCommand(MapCommand::Delete, 0);
        break;
    case Qt::Key_C:
        if (ctrl)
            emit mapCommand(MapCommand::Copy, 0);
        break;
    case Qt::Key_V:
        if (ctrl)
            emit mapCommand(MapCommand::Paste, 0);
        break;
    case Qt::Key_X:
        if (ctrl)
            emit mapCommand(MapCommand::Cut, 0);
        else if (shift)
            setTagsVisible(!tagsVisible_);
        break;
    case Qt::Key_Z:
        // A tile just typed in is not taken back by its own key.
        if (!shift && !typedIn_ && undo_.canUndo)
            undo();
        break;
    case Qt::Key_Y:
        if (!shift && !typedIn_ && undo_.canRedo)
            redo();
        break;
    default:
        break;
    }
    // The main window has seen the key already (frameKeyEvent).
    event->accept();
}

void CQuiltmarkView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_B)
            bHeld_ = false;
        if (event->key() == Qt::Key_O)
            oHeld_ = false;
        if (event->key() == Qt::Key_A)
            aHeld_ = false;
    }
    emit frameKeyEvent(event, false);
    event->accept();
}

void CQuiltmarkView::moveCursorByKey(int key)
{
    const MapGrid& map = ws_.project.map;
    if (!map.hasCells())
        return;
    int x = cursor_.x();
    int y = cursor_.y();
    viewport()->update(); // the old outline goes
    switch (key) {
    case Qt::Key_Left:
        if (x == 0)
            return;
        if (x <= firstColumn_) {
            cursor_.setX(x - 1);
            scrollRequest(Qt::Horizontal, ScrollRequest::LineBack);
        } else {
            moveCursor(x - 1, y);
        }
        break;
    case Qt::Key_Right:
        if (x >= map.width - 1)
            return;
        if (x + 1 >= firstColumn_ + visibleColumns_) {
            cursor_.setX(x + 1);
            scrollRequest(Qt::Horizontal, ScrollRequest::LineForward);
        } else {
            moveCursor(x + 1, y);
        }
        break;
    case Qt::Key_Up:
        if (y == 0)
            return;
        if (y <= firstRow_) {
            cursor_.setY(y - 1);
            scrollRequest(Qt::Vertical, ScrollRequest::LineBack);
        } else {
            moveCursor(x, y - 1);
        }
        break;
    case Qt::Key_Down:
        if (y >= map.height - 1)
            return;
        if (y + 1 >= firstRow_ + visibleRows_) {
            cursor_.setY(y + 1);
            scrollRequest(Qt::Vertical, ScrollRequest::LineForward);
        } else {
            moveCursor(x, y + 1);
        }
        break;
    default:
        break;
    }
}

void CQuiltmarkView::mousePressEvent(QMouseEvent* event)
{
    emit frameMousePressed(event);
    if (typeInMode_)
        stopTypeIn();
    if (event->button() == Qt::LeftButton) {
        toolPress(event);
        event->accept();
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CQuiltmarkView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int cs = cellSize_;
    const bool inColumnRuler = pos.y() < cs && pos.x() >= cs;
    const bool inRowRuler = pos.x() < cs && pos.y() >= cs;
    if (inColumnRuler || inRowRuler) {
        event->accept();
        const QPoint at = event->globalPosition().toPoint();
        if (inColumnRuler && ws_.project.map.width > visibleColumns_ && goToPrompt) {
            if (const std::optional<int> v = goToPrompt(QStringLiteral("Go to column:"), at))
                goToColumn(*v);
        } else if (inRowRuler && ws_.project.map.height > visibleRows_ && goToPrompt) {
            if (const std::optional<int> v = goToPrompt(QStringLiteral("Go to row:"), at))
                goToRow(*v);
        }
        return;
    }
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        currentTool_ == TOOL_SELECT && pos.x() >= cs && pos.y() >= cs && onMap(cellAtPoint(pos)) &&
        selection_.size() == 1) {
        startTypeIn();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

QMenu* CQuiltmarkView::buildContextMenu()
{
    auto* menu = new QMenu(this);
    QMenu* palettes = menu->addMenu(QStringLiteral("Palettes"));
    const MapCell* cell = ws_.project.map.cellAt(cursor_.x(), cursor_.y());
    const int layer = currentLayer_ == TILE_BG ? TILE_BG : TILE_OBJ;
    const bool hasTile = cell && (layer == TILE_BG ? cell->hasBg() : cell->hasObj());
    palettes->setEnabled(!ws_.tiles.dmgMode && hasTile);
    const int cellPalette = cell ? cell->palette(layer) : -1;
    for (int n = 0; n < 8; ++n) {
        QPixmap swatch(32, 8);
        QPainter sp(&swatch);
        for (int c = 0; c < 4; ++c)
            sp.fillRect(c * 8, 0, 8, 8, QColor(qtColours_[(layer == TILE_BG ? 0 : 32) + 4 * n + c]));
        sp.end();
        QAction* a = palettes->addAction(QIcon(swatch), QStringLiteral("P%1").arg(n));
        a->setCheckable(true);
        a->setChecked(hasTile && n == cellPalette);
        connect(a, &QAction::triggered, this, [this, n] { emit mapCommand(MapCommand::SetPalette, n); });
    }
    auto item = [&](QMenu* m, const char* text, MapCommand command) {
        QAction* a = m->addAction(QString::fromLatin1(text));
        connect(a, &QAction::triggered, this, [this, command] { emit mapCommand(command, 0); });
    };
    item(menu, "Flip Horizontally", MapCommand::FlipHorizontally);
    item(menu, "Flip Vertically", MapCommand::FlipVertically);
    item(menu, "Flip Area Horizontally", MapCommand::FlipAreaHorizontally);
    item(menu, "Flip Area Vertically", MapCommand::FlipAreaVertically);
    item(menu, "Block Fill", MapCommand::BlockFill);
    item(menu, "Array Fill", MapCommand::ArrayFill);
    item(menu, "Insert Row", MapCommand::InsertRow);
    item(menu, "Delete Row", MapCommand::DeleteRow);
    item(menu, "Insert Column", MapCommand::InsertColumn);
    item(menu, "Delete Column", MapCommand::DeleteColumn);
    QMenu* bank = menu->addMenu(QStringLiteral("Bank"));
    item(bank, "Set To 0", MapCommand::BankSetTo0);
    item(bank, "Set To 1", MapCommand::BankSetTo1);
    item(bank, "Flip Bank", MapCommand::BankFlip);
    QMenu* priority = menu->addMenu(QStringLiteral("Display Priority"));
    item(priority, "OBJ Priority", MapCommand::PriorityObj);
    item(priority, "BG Priority", MapCommand::PriorityBg);
    item(menu, "Copy MapToTile", MapCommand::CopyMapToTile);
    return menu;
}

void CQuiltmarkView::contextMenuEvent(QContextMenuEvent* event)
{
    if (currentTool_ != TOOL_SELECT)
        return;
    QMenu* menu = buildContextMenu();
    menu->exec(event->globalPos());
    menu->deleteLater();
}

} // namespace qm::ui
