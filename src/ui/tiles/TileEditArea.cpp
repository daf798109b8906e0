#include "ui/tiles/TileEditArea.h"

#include "core/edit/TileDesignerClip.h"
#include "ui/tiles/CTileEditor.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace qm::ui {

TileEditArea::TileEditArea(CTileEditor& editor) : QWidget(&editor), editor_(editor)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
}

void TileEditArea::setPixelSelection(QPoint first, QPoint second)
{
    selection_ = Selection{first, second};
    update();
}

void TileEditArea::clearPixelSelection()
{
    selection_.reset();
    selecting_ = false;
    update();
}

void TileEditArea::stopDragging()
{
    painting_ = false;
    selecting_ = false;
}

// ---- drawing ------------------------------------------------------------------------

QImage TileEditArea::picture() const
{
    const FrameGeometry& g = editor_.barGeometry();
    QImage image(g.areaWidth, g.areaHeight, QImage::Format_RGB32);
    QPainter p(&image);
    paint(p);
    return image;
}

void TileEditArea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paint(p);
}

void TileEditArea::paint(QPainter& p) const
{
    const TileSet& set = editor_.tileSet();
    const TileFrame& frame = editor_.frame();
    const int w = frame.pixelWidth();
    const int h = frame.pixelHeight();
    QImage pic(w, h, QImage::Format_RGB32);
    CTile blank;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int index = frame.tileAt(y / 8, x / 8);
            const CTile* tile = set.tileAt(index);
            const CTile& shown = tile ? *tile : blank;
            pic.setPixel(x, y, editor_.colourOf(shown, tile ? shown.pixel(x % 8, y % 8) : 0).rgb());
        }
    }
    const int z = editor_.zoom();
    p.drawImage(QRect(0, 0, w * z, h * z), pic);
    if (editor_.gridShown()) {
        const QColor grid = editor_.gridLineColour();
        for (int x = 1; x < w; ++x)
            p.fillRect(x * z - (x % 8 ? 0 : 1), 0, x % 8 ? 1 : 2, h * z, grid);
        for (int y = 1; y < h; ++y)
            p.fillRect(0, y * z - (y % 8 ? 0 : 1), w * z, y % 8 ? 1 : 2, grid);
    }
    if (selection_) {
        const PixelRect r = PixelRect::fromCorners(selection_->first.x(), selection_->first.y(),
                                                   selection_->second.x(), selection_->second.y());
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(r.left * z, r.top * z, r.width() * z, r.height() * z), Qt::white);
        p.restore();
    }
}

// ---- mouse ------------------------------------------------------------------------------

std::optional<QPoint> TileEditArea::pixelAt(QPoint pos) const
{
    const int z = editor_.zoom();
    const TileFrame& frame = editor_.frame();
    if (pos.x() < 0 || pos.y() < 0)
        return std::nullopt;
    const int column = pos.x() / (z * 8);
    const int row = pos.y() / (z * 8);
    if (column >= frame.width || row >= frame.height)
        return std::nullopt;
    const int px = (pos.x() - column * z * 8) / z;
    const int py = (pos.y() - row * z * 8) / z;
    return QPoint(column * 8 + px, row * 8 + py);
}

void TileEditArea::mousePressEvent(QMouseEvent* event)
{
    emit editor_.activated();
    if (event->button() != Qt::LeftButton)
        return;
    editor_.closeComment();
    const TileFrame& frame = editor_.frame();
    const auto at = pixelAt(event->position().toPoint());
    if (!at || frameTileAtPixel(frame, at->x(), at->y()) < 0)
        return;
    TileSet& set = editor_.tileSet();
    const auto colour = static_cast<std::uint8_t>(editor_.drawColour());
    const CTileEditor::Tool tool = editor_.tool();
    const bool ctrl = editor_.bucketHeld() || event->modifiers().testFlag(Qt::ControlModifier);
    const bool bucket = tool == CTileEditor::Tool::Bucket || (tool == CTileEditor::Tool::Pencil && ctrl);
    if (bucket) {
        const EditOutcome out = bucketFill(set, editor_.undoStore(), frame, at->x(), at->y(), colour);
        if (!editor_.report(out.result) || !out.changed)
            return;
        editor_.stepBegun();
        editor_.frameChanged(TILES_CHANGED_KEEP_PAGE);
        return;
    }
    if (tool == CTileEditor::Tool::Pencil) {
        const EditOutcome out = pencilPress(set, editor_.undoStore(), frame, at->x(), at->y(), colour);
        if (!editor_.report(out.result) || !out.changed)
            return;
        editor_.stepBegun();
        painting_ = true;
        update();
        editor_.sendTileChanged(frameTileAtPixel(frame, at->x(), at->y()));
        return;
    }
    setPixelSelection(*at, *at);
    selecting_ = true;
}

void TileEditArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    if (selecting_ && selection_) {
        const FrameGeometry& g = editor_.barGeometry();
        const QPoint clamped(std::clamp(pos.x(), 0, g.areaWidth - 1), std::clamp(pos.y(), 0, g.areaHeight - 1));
        if (const auto at = pixelAt(clamped)) {
            selection_->second = *at;
            update();
        }
        return;
    }
    if (!painting_)
        return;
    const auto at = pixelAt(pos);
    if (!at)
        return;
    const TileFrame& frame = editor_.frame();
    if (setFramePixel(editor_.tileSet(), frame, at->x(), at->y(), static_cast<std::uint8_t>(editor_.drawColour()))) {
        update();
        editor_.sendTileChanged(frameTileAtPixel(frame, at->x(), at->y()));
    }
}

void TileEditArea::mouseReleaseEvent(QMouseEvent*)
{
    stopDragging();
}

QMenu* TileEditArea::buildContextMenu(int tile)
{
    auto* menu = new QMenu(&editor_);
    QMenu* palettes = menu->addMenu(QStringLiteral("Palettes"));
    for (int p = 0; p < 8; ++p) {
        QAction* a = palettes->addAction(QIcon(editor_.paletteIcon(p)), QString::number(p));
        connect(a, &QAction::triggered, &editor_, [this, tile, p] { editor_.setTilePaletteOf(tile, p); });
    }
    return menu;
}

void TileEditArea::contextMenuEvent(QContextMenuEvent* event)
{
    const auto at = pixelAt(event->pos());
    if (!at)
        return;
    const int tile = frameTileAtPixel(editor_.frame(), at->x(), at->y());
    if (tile < 0)
        return;
    QMenu* menu = buildContextMenu(tile);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace qm::ui
