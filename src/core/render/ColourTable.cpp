#include "core/render/ColourTable.h"

namespace qm {

ColourTable buildColourTable(const TileLibrary& tiles)
{
    ColourTable table{};
    refreshColourTable(table, tiles, ~std::uint64_t(0));
    table[EMPTY_CELL_INDEX] = EMPTY_CELL_COLOUR;
    return table;
}

void refreshColourTable(ColourTable& table, const TileLibrary& tiles, std::uint64_t mask)
{
    const DisplayTable& bg = tiles.coloursOf(TILE_BG);
    const DisplayTable& obj = tiles.coloursOf(TILE_OBJ);
    for (int i = 0; i < 64; ++i) {
        if (!(mask & (std::uint64_t(1) << i)))
            continue;
        const DisplayTable& from = i < 32 ? bg : obj;
        const int p = (i % 32) / 4;
        table[static_cast<size_t>(i)] = from[static_cast<size_t>(p)][static_cast<size_t>(i % 4)];
    }
}

} // namespace qm
