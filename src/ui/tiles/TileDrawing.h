#pragma once
// Small pictures shared by the tile set manager's pages and dialogs: a tile
// drawn through one display palette, and a palette drawn as its 4 colours.

#include "core/tiles/CTile.h"
#include "core/tiles/GbcColor.h"

#include <QColor>
#include <QIcon>
#include <QImage>

namespace qm::ui {

inline QColor toQColor(const DisplayColour& c) { return QColor(c.red, c.green, c.blue); }

// 8x8 indexed picture of the tile with the palette's 4 colours.
QImage tileImage(const CTile& tile, const DisplayPalette& palette);

// The 4 colours side by side, each square of the given size.
QIcon paletteIcon(const DisplayPalette& palette, int square = 12);

// 0x00BBGGRR as kept in the project file.
inline QColor colourFromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
inline std::uint32_t bgrFromColour(const QColor& c)
{
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

} // namespace qm::ui
