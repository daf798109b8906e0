#include "ui/tiles/TileDrawing.h"

#include <QPainter>
#include <QPixmap>

namespace qm::ui {

QImage tileImage(const CTile& tile, const DisplayPalette& palette)
{
    QImage image(8, 8, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const DisplayColour& c : palette)
        table << qRgb(c.red, c.green, c.blue);
    image.setColorTable(table);
    for (int y = 0; y < 8; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < 8; ++x)
            line[x] = tile.pixel(x, y) & 3;
    }
    return image;
}

QIcon paletteIcon(const DisplayPalette& palette, int square)
{
    QPixmap pixmap(square * 4, square);
    QPainter p(&pixmap);
    for (int c = 0; c < 4; ++c)
        p.fillRect(c * square, 0, square, square, toQColor(palette[static_cast<size_t>(c)]));
    p.end();
    return QIcon(pixmap);
}

} // namespace qm::ui
