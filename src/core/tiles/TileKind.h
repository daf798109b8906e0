#pragma once
// The one-byte kind that names a tile set or a map layer everywhere. The same
// values mark the layers in a map cell's attribute bytes. TILE_NONE names no
// layer: the kind kept while the tile set manager shows its palette page.

#include <cstddef>
#include <cstdint>

namespace qm {

using TileKind = std::uint8_t;

inline constexpr TileKind TILE_NONE = 0x00;
inline constexpr TileKind TILE_BG = 0x40;
inline constexpr TileKind TILE_OBJ = 0x80;
inline constexpr TileKind TILE_TAG = 0xC0;
inline constexpr std::uint8_t TILE_KIND_MASK = 0xC0;

inline constexpr int TILES_PER_SET = 512;
inline constexpr int TILES_PER_BANK = 256;

} // namespace qm
