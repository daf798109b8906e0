#pragma once
// The tiles named by the map view's clipboard record "CQuiltmarkView": a
// count, then per map cell its column and row offsets, the attribute byte of
// the copied layer part and its tile number. The tile set manager pastes the
// pixels of those tiles into its own set.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view CLIPBOARD_MAP_CELLS = "CQuiltmarkView";

struct MapClipTile {
    std::uint8_t attr = 0;  // bits 6-7 name the tile set
    std::int32_t value = 0; // tile number (the tag in the tag layer)
};

// nullopt when the record is shorter than its count says or the count is negative.
std::optional<std::vector<MapClipTile>> decodeMapClipTiles(std::span<const std::uint8_t> bytes);

} // namespace qm
