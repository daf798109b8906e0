#pragma once
// Palette files of other programs, both ways, for the 32 colours of the BG or
// OBJ colour palettes (palette 0 colour 0 first): JASC-PAL (.pal, Paint Shop
// Pro and most pixel editors), GIMP (.gpl) and raw RGB (.act, 3 bytes a
// colour, with Photoshop's count after 256 colours), each with 8-bit
// components, besides the 64-byte palette data of the export. Colours go to 8
// bits by fullRangeOf and come back by nearestGbcColor.

#include "core/tiles/GbcColor.h"
#include "core/tiles/TileKind.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

enum class PaletteFileFormat { Binary, Jasc, Gimp, Act };

// By the extension of the file name, in any case: .pal, .gpl, .act; anything
// else is the 64-byte palette data.
PaletteFileFormat paletteFileFormatOf(const std::string& path);

// The whole file. kind (TILE_BG or TILE_OBJ) names the colours in a GIMP
// palette ("BGP0 colour 0" .. "OBP7 colour 3").
std::vector<std::uint8_t> encodePaletteFile(const GbcPaletteGroup& group, PaletteFileFormat format, TileKind kind);

struct DecodedPalette {
    PaletteFileFormat format = PaletteFileFormat::Binary;
    std::vector<GbcColor> colours; // at most 32, in file order
    std::string error;             // what is wrong with the file; empty when it was read
};

// Reads a JASC-PAL or GIMP palette (known by its first line, whatever the
// name) or a raw RGB palette (known by the extension .act). A file named
// .pal or .gpl without its first line is refused; any other file is the
// 64-byte palette data, which this leaves to its own reader (format Binary,
// no colours, no error). Only the first 32 colours are kept, but the whole
// file must be good.
DecodedPalette decodePaletteFile(std::span<const std::uint8_t> bytes, const std::string& path);

} // namespace qm
