#include "core/project/CellInfo.h"

#include "core/base/Format.h"

namespace qm {

std::optional<std::string> cellInfoText(const MapGrid& map, const TileLibrary& tiles, int x, int y, bool bHeld,
                                        bool oHeld)
{
    const MapCell* cell = map.cellAt(x, y);
    if (!cell)
        return std::nullopt;
    TileKind layer;
    if (oHeld) {
        if (!cell->hasObj())
            return std::string();
        layer = TILE_OBJ;
    } else if (bHeld) {
        if (!cell->hasBg())
            return std::string();
        layer = TILE_BG;
    } else if (cell->hasBg() && cell->hasObj()) {
        return std::string(CELL_INFO_BOTH_LAYERS);
    } else if (cell->hasBg()) {
        layer = TILE_BG;
    } else if (cell->hasObj()) {
        layer = TILE_OBJ;
    } else {
        return std::string();
    }
    const std::uint8_t attr = cell->layerPart(layer).attr;
    const int tileNumber = cell->layerPart(layer).tile;
    const CTile* tile = tiles.tile(layer, tileNumber);
    if (!tile)
        return std::nullopt;
    const bool h = attr & ATTR_FLIP_H;
    const bool v = attr & ATTR_FLIP_V;
    const char* flip = h && v ? "h,v" : h ? "h" : v ? "v" : "none";
    const std::string comment(tile->commentText());
    return formatText("x:%d y:%d Tile Set:%s%s Tile:%d Pal:%d Tag:%d Flip:%s Priority:%s Comment:%s", x, y,
                      layer == TILE_BG ? "BG" : "OBJ", tileNumber < TILES_PER_BANK ? "0" : "1",
                      tileNumber % TILES_PER_BANK, (attr & ATTR_PALETTE_MASK) >> 2, int(cell->tag), flip,
                      (cell->bgAttr & ATTR_PRIORITY) ? "BG" : "OBJ", comment.c_str());
}

std::string selectionText(int left, int top, int x, int y, int width, int height)
{
    return formatText("a(%d,%d)-b(%d,%d)  Width:%d  Height:%d  Number of tiles:%d", left, top, x, y, width, height,
                      width * height);
}

} // namespace qm
