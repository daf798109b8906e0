#include "core/tiles/TileSet.h"

namespace qm {

void TileSet::reset(TileKind kind)
{
    for (int i = 0; i < TILES_PER_SET; ++i) {
        CTile& t = tiles[static_cast<size_t>(i)];
        t.clearContent();
        t.attr = kind;
        t.index = static_cast<std::uint16_t>(i);
    }
    attr = kind;
}

int TileSet::setCurrentPalette(int p)
{
    if (p >= 0 && p <= 7)
        attr = static_cast<std::uint8_t>((attr & ~0x07) | p);
    return currentPalette();
}

} // namespace qm
