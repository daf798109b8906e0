#include "core/project/TileUsage.h"

#include "core/base/Format.h"

#include <bitset>

namespace qm {

TileUsage countUsedTiles(const MapGrid& map)
{
    std::bitset<TILES_PER_SET> used;
    for (const MapCell& cell : map.cells)
        if (cell.hasBg() && cell.bgTile < TILES_PER_SET)
            used.set(cell.bgTile);
    TileUsage usage;
    for (int t = 0; t < TILES_PER_SET; ++t)
        if (used.test(static_cast<size_t>(t)))
            ++(t < TILES_PER_BANK ? usage.bank0 : usage.bank1);
    return usage;
}

std::string tileUsageText(const TileUsage& usage)
{
    return formatText("Tiles %d/%d \u00B7 bank 1: %d/%d", usage.bank0, TILES_PER_BANK, usage.bank1, TILES_PER_BANK);
}

} // namespace qm
