#pragma once
// The "CTile" clipboard record: a count, then per tile its palette, its 64
// pixels, and its comment with a one-byte length.

#include "core/tiles/CTile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view CLIPBOARD_CTILE = "CTile";

struct TileClipEntry {
    std::uint8_t palette = 0;
    std::array<std::uint8_t, 64> pixels{};
    std::string comment; // at most 32 characters
};

std::vector<std::uint8_t> encodeTileClip(std::span<const CTile* const> tiles);
std::vector<std::uint8_t> encodeTileClip(const std::vector<TileClipEntry>& entries);

// nullopt when the record is shorter than its own counts say. Comments longer
// than 32 characters are cut to 32; palettes are masked to 0..7 and pixels
// to colour indices 0..3.
std::optional<std::vector<TileClipEntry>> decodeTileClip(std::span<const std::uint8_t> bytes);

} // namespace qm
