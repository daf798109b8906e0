#pragma once
// Which binary files an export writes, where, under which names and in which
// data organisation. Stored in the project file.

#include <cstdint>
#include <string>

namespace qm {

// mapFlags
inline constexpr std::uint16_t MAP_8BIT = 0x0001;
inline constexpr std::uint16_t MAP_SIGNED = 0x0002;
inline constexpr std::uint16_t MAP_EXPORT_BG = 0x0004;
inline constexpr std::uint16_t MAP_ONE_FILE = 0x0008;
inline constexpr std::uint16_t MAP_EXPORT_BG_ATTR = 0x0010;
inline constexpr std::uint16_t MAP_REMOVE_LEADING = 0x0020;
inline constexpr std::uint16_t MAP_EXPORT_TAG = 0x0040;
inline constexpr std::uint16_t MAP_ROTATE_90 = 0x0080;
inline constexpr std::uint16_t MAP_SPLIT_OBJ_ATTR = 0x0100;
inline constexpr std::uint16_t MAP_EXPORT_OBJ = 0x0200;
inline constexpr std::uint16_t MAP_EXPORT_OBJ_ATTR = 0x0400;
inline constexpr std::uint16_t MAP_SPLIT_BG_ATTR = 0x0800;
inline constexpr std::uint16_t MAP_RLE_TAG = 0x1000;

// tilesetFlags
inline constexpr std::uint16_t TILES_BG_MAIN = 0x0001;
inline constexpr std::uint16_t TILES_BG_ALT = 0x0002;
inline constexpr std::uint16_t TILES_BG_MAIN_ATTR = 0x0004;
inline constexpr std::uint16_t TILES_BG_ALT_ATTR = 0x0008;
inline constexpr std::uint16_t TILES_OBJ_MAIN = 0x0010;
inline constexpr std::uint16_t TILES_OBJ_ALT = 0x0020;
inline constexpr std::uint16_t TILES_OBJ_MAIN_ATTR = 0x0040;
inline constexpr std::uint16_t TILES_OBJ_ALT_ATTR = 0x0080;
inline constexpr std::uint16_t TILES_SIGNED = 0x0100;
inline constexpr std::uint16_t TILES_COMPRESS = 0x0200;

// paletteFlags
inline constexpr std::uint16_t PALETTE_BG = 0x0001;
inline constexpr std::uint16_t PALETTE_OBJ = 0x0002;

// tagCountMode
inline constexpr std::uint32_t TAGS_16 = 0;
inline constexpr std::uint32_t TAGS_256 = 1;

struct ExportSettings {
    std::string mapPrefix;
    std::string mapSuffix;
    std::string mapLocation;
    std::uint16_t mapFlags = 0x0009;
    std::int32_t mapSplitCount = 0;

    std::string tilesetPrefix;
    std::string tilesetSuffix;
    std::string tilesetLocation;
    std::uint16_t tilesetFlags = 0x0000;
    std::uint8_t bgMainFrom = 0, bgMainTo = 255;
    std::uint8_t bgAltFrom = 0, bgAltTo = 255;
    std::uint8_t objMainFrom = 0, objMainTo = 255;
    std::uint8_t objAltFrom = 0, objAltTo = 255;

    std::string palettePrefix;
    std::string paletteSuffix;
    std::string paletteLocation;
    std::uint16_t paletteFlags = 0x0000;

    // Stored after the block in the project file, edited on the map page.
    std::uint32_t tagCountMode = TAGS_16;

    bool operator==(const ExportSettings&) const = default;
};

} // namespace qm
