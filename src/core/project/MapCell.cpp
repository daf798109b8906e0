#include "core/project/MapCell.h"

namespace qm {

void MapCell::place(TileKind layer, int tile, int palette)
{
    switch (layer) {
    case TILE_BG:
        bgAttr = TILE_BG;
        bgTile = static_cast<std::uint16_t>(tile);
        setPalette(TILE_BG, palette);
        break;
    case TILE_OBJ:
        objAttr = TILE_OBJ;
        objTile = static_cast<std::uint16_t>(tile);
        setPalette(TILE_OBJ, palette);
        break;
    case TILE_TAG:
        tag = static_cast<std::uint8_t>(tile & 0xFF);
        break;
    default:
        break;
    }
}

int MapCell::setPalette(TileKind layer, int p)
{
    std::uint8_t& attr = (layer & 0x80) ? objAttr : bgAttr;
    const int old = (attr & ATTR_PALETTE_MASK) >> 2;
    const int value = (p >= 0 && p < 8) ? p : 0;
    attr = static_cast<std::uint8_t>((attr & ~ATTR_PALETTE_MASK) | (value << 2));
    return old;
}

int MapCell::palette(TileKind layer) const
{
    const std::uint8_t attr = (layer & 0x80) ? objAttr : bgAttr;
    return (attr & ATTR_PALETTE_MASK) >> 2;
}

bool MapCell::showsTile(TileKind layer, int tile) const
{
    if (layer == TILE_BG)
        return hasBg() && bgTile == tile;
    if (layer == TILE_OBJ)
        return hasObj() && objTile == tile;
    return false;
}

} // namespace qm
