#pragma once
// Remap Palette Colors: re-colours the tiles of one palette within a range of
// a bank by mapping each pixel's colour index through a table of four.

#include "core/edit/TileEdits.h"
#include "core/tiles/TileLibrary.h"
#include "core/undo/UndoStore.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qm {

inline constexpr const char* MSG_REMAP_RANGE = "Start tile must not be greater than stop tile.";

struct RemapRequest {
    int palette = 0;  // only tiles of this palette change
    int bankBase = 0; // 0 or 256
    int from = 0;     // within the bank, 0..255
    int to = 255;     // within the bank, 0..255
    std::array<std::uint8_t, 4> mapping{0, 1, 2, 3}; // new index of old index v
};

// The dialog's presets for a page selection: the palette of the current
// tile, the first and the most recently selected tile, both relative to the
// bank of the first selected tile (kept within 0..255).
RemapRequest remapPreset(const TileLibrary& lib, TileKind kind, const std::vector<int>& selection);

// Checks the range: the message when "From tile" exceeds "to".
Result checkRemapRange(const RemapRequest& request);

// Within one undo step for tiles, every tile of the chosen palette from
// bankBase + from to bankBase + to (never past the bank) has its pixels mapped.
TileEditResult remapTileColours(TileLibrary& lib, TileKind kind, const RemapRequest& request, UndoStore& undo);

} // namespace qm
