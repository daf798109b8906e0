#pragma once
// A tile set of exactly 512 tiles of one kind. Tiles 0..255 are video-memory
// bank 0 and 256..511 bank 1.

#include "core/tiles/CTile.h"
#include "core/tiles/TileKind.h"

#include <array>

namespace qm {

class TileSet {
public:
    explicit TileSet(TileKind kind = TILE_BG) { reset(kind); }

    // bits 6-7 the kind, bits 0-2 the current palette, bits 3-5 carried through.
    std::uint8_t attr = 0;
    std::array<CTile, TILES_PER_SET> tiles;

    TileKind kind() const { return attr & TILE_KIND_MASK; }

    // None outside 0..511.
    CTile* tileAt(int i) { return i >= 0 && i < TILES_PER_SET ? &tiles[static_cast<size_t>(i)] : nullptr; }
    const CTile* tileAt(int i) const
    {
        return i >= 0 && i < TILES_PER_SET ? &tiles[static_cast<size_t>(i)] : nullptr;
    }

    // Every tile blank with palette 0, its kind and its own index; current palette 0.
    void reset(TileKind kind);

    int currentPalette() const { return attr & 0x07; }
    // Values above 7 change nothing. Returns the current palette afterwards.
    int setCurrentPalette(int p);
};

} // namespace qm
