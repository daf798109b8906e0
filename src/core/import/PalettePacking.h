#pragma once
// Packs the colour sets of the blocks of a picture into as few palettes of
// four colours as can be found. Each set holds at most four 15-bit colours;
// a palette serves a set when it holds all of the set's colours.
//
// Sets that lie inside other sets need no palette of their own and are set
// aside first. Up to EXACT_PACKING_SETS remaining sets are packed by an exact
// search (within a step budget that no realistic picture reaches); more are
// packed by a heuristic: largest sets first, each into the palette it grows
// least. The result depends only on the sets, not on their order.

#include <array>
#include <cstdint>
#include <vector>

namespace qm {

// 15-bit colours (red in bits 0-4, green 5-9, blue 10-14), ascending, count used.
struct ColourSet {
    std::array<std::uint16_t, 4> colours{};
    int count = 0;

    bool contains(std::uint16_t c) const;
    bool operator==(const ColourSet&) const = default;
};

inline constexpr int EXACT_PACKING_SETS = 24;

struct PaletteRule {
    std::vector<ColourSet> palettes; // each with its colours in ascending order
    std::vector<int> paletteOfSet;   // for each input set, the first palette that serves it
};

PaletteRule packColourSets(const std::vector<ColourSet>& sets);

} // namespace qm
