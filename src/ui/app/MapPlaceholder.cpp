#include "ui/app/MapPlaceholder.h"

#include "ui/app/ZoomLevels.h"

#include <QPainter>

namespace qm::ui {

namespace {

constexpr std::int64_t MAX_PREVIEW_CELLS = 512 * 512;

} // namespace

MapPlaceholder::MapPlaceholder(const Workspace& workspace, QWidget* parent) : QWidget(parent), workspace_(workspace)
{
    setObjectName(QStringLiteral("mapPlaceholder"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Mid));
    setPalette(pal);
}

void MapPlaceholder::handleMessage(AppMessage msg, qint64 wParam, qint64)
{
    switch (msg) {
    case MSG_SET_ZOOM:
        if (wParam >= 0 && wParam < ZOOM_LEVELS) {
            cellSize_ = ZOOM_CELL_SIZES[static_cast<size_t>(wParam)];
            update();
        }
        break;
    case MSG_MAP_RESET:
    case MSG_COLOURS_CHANGED:
    case MSG_TILES_CHANGED:
    case MSG_TILE_PALETTE_CHANGED:
        rebuild();
        break;
    default:
        break;
    }
}

void MapPlaceholder::rebuild()
{
    const MapGrid& map = workspace_.project.map;
    if (!map.hasCells() || std::int64_t(map.width) * map.height > MAX_PREVIEW_CELLS) {
        image_ = QImage();
        update();
        return;
    }
    image_ = QImage(map.width * 8, map.height * 8, QImage::Format_RGB32);
    const TileLibrary& tiles = workspace_.tiles;
    const DisplayTable& bgColours = tiles.coloursOf(TILE_BG);
    const DisplayTable& objColours = tiles.coloursOf(TILE_OBJ);
    const auto put = [](const DisplayColour& c) { return qRgb(c.red, c.green, c.blue); };
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const MapCell& cell = *map.cellAt(x, y);
            const CTile* bg = cell.hasBg() ? tiles.tile(TILE_BG, cell.bgTile) : nullptr;
            const CTile* obj = cell.hasObj() ? tiles.tile(TILE_OBJ, cell.objTile) : nullptr;
            for (int py = 0; py < 8; ++py)
                for (int px = 0; px < 8; ++px) {
                    QRgb rgb = qRgb(200, 200, 200);
                    const auto source = [&](std::uint8_t attr, int& sx, int& sy) {
                        sx = (attr & ATTR_FLIP_H) ? 7 - px : px;
                        sy = (attr & ATTR_FLIP_V) ? 7 - py : py;
                    };
                    int sx, sy;
                    if (bg) {
                        source(cell.bgAttr, sx, sy);
                        rgb = put(bgColours[static_cast<size_t>(cell.palette(TILE_BG))][bg->pixel(sx, sy)]);
                    }
                    if (obj) {
                        source(cell.objAttr, sx, sy);
                        rgb = put(objColours[static_cast<size_t>(cell.palette(TILE_OBJ))][obj->pixel(sx, sy)]);
                    }
                    image_.setPixel(x * 8 + px, y * 8 + py, rgb);
                }
        }
    update();
}

void MapPlaceholder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (image_.isNull())
        return;
    const int scale = cellSize_;
    const QRect target(scale, scale, image_.width() * scale / 8, image_.height() * scale / 8);
    p.drawImage(target, image_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(target.adjusted(-1, -1, 0, 0));
}

} // namespace qm::ui
