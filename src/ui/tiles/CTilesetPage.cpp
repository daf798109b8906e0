#include "ui/tiles/CTilesetPage.h"

#include "ui/tiles/CTilesetMgr.h"
#include "ui/tiles/TileDrawing.h"
#include "ui/tiles/TileSheetSaving.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace qm::ui {

CTilesetPage::CTilesetPage(CTilesetMgr& manager, TileKind kind, QWidget* parent)
    : QWidget(parent), mgr_(manager), kind_(kind), state_(kind == TILE_TAG ? 1 : 2)
{
    setFocusPolicy(Qt::StrongFocus);
    const int columns = state_.columns();
    fileLabel_ = new QLabel(this);
    fileLabel_->setGeometry(4, 2, COLUMN_WIDTH * 2 - 4, 14);
    const QString prefix = kind == TILE_BG ? QStringLiteral("BG ") : QStringLiteral("OBJ ");
    for (int c = 0; c < columns; ++c) {
        const int x = 4 + c * COLUMN_WIDTH;
        auto* heading = new QLabel(kind == TILE_TAG ? QStringLiteral("TAG") : prefix + QString::number(c), this);
        heading->setGeometry(x + LABEL_WIDTH + 2, 18, COLUMN_WIDTH - LABEL_WIDTH, 14);
        headings_[static_cast<size_t>(c)] = heading;
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setRange(0, TilePageState::MAX_TOP);
        bar->setSingleStep(1);
        bar->setPageStep(5);
        bar->setGeometry(x + LABEL_WIDTH + 2 + CELL + 4, GRID_TOP, 15, TilePageState::ROWS * PITCH);
        connect(bar, &QScrollBar::valueChanged, this, [this, c](int v) { scrolled(c, v); });
        bars_[static_cast<size_t>(c)] = bar;
    }
    paletteLabel_ = new QLabel(this);
    paletteLabel_->setGeometry(4, GRID_TOP + TilePageState::ROWS * PITCH + 4, COLUMN_WIDTH * 2, 16);
    setMinimumSize(4 + COLUMN_WIDTH * 2, GRID_TOP + TilePageState::ROWS * PITCH + 24);
    syncFromState();
}

QRect CTilesetPage::cellRect(int cell) const
{
    if (cell < 0 || cell >= state_.columns() * TilePageState::ROWS)
        return {};
    const int column = cell / TilePageState::ROWS;
    const int row = cell % TilePageState::ROWS;
    return QRect(4 + column * COLUMN_WIDTH + LABEL_WIDTH + 2, GRID_TOP + row * PITCH + 1, CELL, CELL);
}

int CTilesetPage::cellAt(QPoint p) const
{
    for (int cell = 0; cell < state_.columns() * TilePageState::ROWS; ++cell)
        if (cellRect(cell).contains(p))
            return cell;
    return -1;
}

void CTilesetPage::setSelectionColour(const QColor& c)
{
    selectionColour_ = c;
    update();
}

void CTilesetPage::setFileName(const QString& path)
{
    fileLabel_->setText(QFileInfo(path).fileName());
}

void CTilesetPage::syncFromState()
{
    syncing_ = true;
    for (int c = 0; c < state_.columns(); ++c)
        bars_[static_cast<size_t>(c)]->setValue(state_.topRow(c));
    syncing_ = false;
    paletteLabel_->setText(QStringLiteral("Palette: %1").arg(mgr_.currentPalette(kind_)));
    update();
}

void CTilesetPage::redrawTiles(int first, int last)
{
    for (int c = 0; c < state_.columns(); ++c) {
        if (bars_[static_cast<size_t>(c)]->value() != state_.topRow(c)) {
            syncFromState();
            return;
        }
    }
    paletteLabel_->setText(QStringLiteral("Palette: %1").arg(mgr_.currentPalette(kind_)));
    QRegion region;
    for (int tile = std::max(first, 0); tile <= std::min(last, state_.tileCount() - 1); ++tile)
        if (const int cell = state_.cellOfTile(tile); cell >= 0)
            region += cellRect(cell).adjusted(-1, -1, 1, 1); // with the selection frame
    update(region);
}

void CTilesetPage::scrolled(int column, int value)
{
    if (syncing_)
        return;
    state_.setTopRow(column, value);
    update();
}

void CTilesetPage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const TileSet* set = mgr_.tileSet(kind_);
    if (!set)
        return;
    const DisplayTable& colours = mgr_.displayTable(kind_);
    p.setPen(palette().color(QPalette::WindowText));
    for (int cell = 0; cell < state_.columns() * TilePageState::ROWS; ++cell) {
        const int index = state_.tileAtCell(cell);
        const CTile* tile = set->tileAt(index);
        if (!tile)
            continue;
        const QRect r = cellRect(cell);
        p.drawText(QRect(r.left() - LABEL_WIDTH - 2, r.top(), LABEL_WIDTH, CELL), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(index % TILES_PER_BANK));
        p.drawImage(r, tileImage(*tile, colours[tile->palette()]));
    }
    p.setPen(mgr_.selectionColour(kind_));
    p.setBrush(Qt::NoBrush);
    for (int index : state_.selection().tiles()) {
        const int cell = state_.cellOfTile(index);
        if (cell >= 0)
            p.drawRect(cellRect(cell).adjusted(-1, -1, 0, 0));
    }
}

void CTilesetPage::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    if (mgr_.mouseMode() == CTilesetMgr::MouseMode::MovePage) {
        dragStartY_ = event->globalPosition().toPoint().y();
        return;
    }
    const int cell = cellAt(event->position().toPoint());
    if (cell < 0)
        return;
    mgr_.clickTile(kind_, cell, event->modifiers() & Qt::ShiftModifier, event->modifiers() & Qt::ControlModifier);
}

void CTilesetPage::mouseMoveEvent(QMouseEvent* event)
{
    if (dragStartY_ < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const int y = event->globalPosition().toPoint().y();
    mgr_.moveSheetBy(y - dragStartY_);
    dragStartY_ = y;
}

void CTilesetPage::mouseReleaseEvent(QMouseEvent*)
{
    dragStartY_ = -1;
}

void CTilesetPage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || mgr_.mouseMode() == CTilesetMgr::MouseMode::MovePage)
        return;
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        mgr_.doubleClickTile(kind_, cell);
}

void CTilesetPage::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        mgr_.key(event->key());
        return;
    case Qt::Key_Delete:
        mgr_.clearSelectedTiles();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit mgr_.enterKey();
        return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            mgr_.holdMovePage(true);
        return;
    case Qt::Key_C:
        if (ctrl) {
            mgr_.copy();
            return;
        }
        break;
    case Qt::Key_X:
        if (ctrl) {
            mgr_.cut();
            return;
        }
        break;
    case Qt::Key_V:
        if (ctrl) {
            mgr_.paste();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CTilesetPage::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        mgr_.holdMovePage(false);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

QMenu* CTilesetPage::buildContextMenu()
{
    auto* menu = new QMenu(this);
    QMenu* palettes = menu->addMenu(QStringLiteral("Palettes"));
    const DisplayTable& colours = mgr_.displayTable(kind_);
    for (int p = 0; p < 8; ++p) {
        QAction* a = palettes->addAction(paletteIcon(colours[static_cast<size_t>(p)]),
                                         QStringLiteral("Palette %1").arg(p));
        connect(a, &QAction::triggered, this, [this, p] { mgr_.setPaletteOfSelectedTiles(p); });
    }
    connect(menu->addAction(QStringLiteral("&Remap Tile Color")), &QAction::triggered, this,
            [this] { mgr_.remapTileColours(); });
    QAction* selector = menu->addAction(QStringLiteral("Selector"));
    QAction* movePage = menu->addAction(QStringLiteral("Move Page"));
    selector->setCheckable(true);
    movePage->setCheckable(true);
    selector->setChecked(mgr_.mouseMode() == CTilesetMgr::MouseMode::Selector);
    movePage->setChecked(mgr_.mouseMode() == CTilesetMgr::MouseMode::MovePage);
    connect(selector, &QAction::triggered, this, [this] { mgr_.setMouseMode(CTilesetMgr::MouseMode::Selector); });
    connect(movePage, &QAction::triggered, this, [this] { mgr_.setMouseMode(CTilesetMgr::MouseMode::MovePage); });
    connect(menu->addAction(QStringLiteral("Cursor Color")), &QAction::triggered, this,
            [this] { mgr_.chooseSelectionColour(kind_); });
    menu->addSeparator();
    connect(menu->addAction(QString::fromUtf8(SAVE_TILES_PICTURE)), &QAction::triggered, this,
            [this] { saveTilesAsPicture(mgr_, kind_, this); });
    return menu;
}

void CTilesetPage::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls the column under the mouse, three rows a notch.
    const int column = state_.columns() == 2 && event->position().x() >= 4 + COLUMN_WIDTH ? 1 : 0;
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        bars_[static_cast<size_t>(column)]->setValue(state_.topRow(column) - notches * 3);
    event->accept();
}

void CTilesetPage::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = buildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace qm::ui
