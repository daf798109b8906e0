#pragma once
// The "CMyPropertyPagePal" clipboard record: a u64 mask, then red, green and
// blue bytes for each set bit, in ascending bit order. The mask is the
// selection of swatches shifted down to the lowest selected one, so bit 0
// stands for the first selected swatch.

#include "core/tiles/GbcColor.h"
#include "core/tiles/PaletteStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view CLIPBOARD_PALETTE = "CMyPropertyPagePal";

struct PaletteClip {
    std::uint64_t mask = 0;
    std::vector<GbcColor> colours; // one per set bit of mask
};

// Swatch s (0..63) is colour s % 4 of colour row s / 4 (rows 0..7 BG, 8..15 OBJ).
GbcColor& swatchColour(PaletteStore& store, int swatch);
const GbcColor& swatchColour(const PaletteStore& store, int swatch);

// Number of the lowest set bit, 64 for an empty mask.
int lowestSwatch(std::uint64_t mask);

// The record of the selected swatches; empty mask gives a record of mask 0.
std::vector<std::uint8_t> encodePaletteClip(const PaletteStore& store, std::uint64_t selection);
// nullopt when the record is shorter than its mask says. Components above 31
// count as 31.
std::optional<PaletteClip> decodePaletteClip(std::span<const std::uint8_t> bytes);

} // namespace qm
