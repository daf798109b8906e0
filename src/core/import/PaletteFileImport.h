#pragma once
// Import > Palette: a palette file of 8 palettes x 4 colours, each a u16
// R | G << 5 | B << 10 (the file the palette export writes), or a JASC-PAL,
// GIMP or raw RGB palette (tiles/PaletteFile.h), into the BG or OBJ colour
// palettes.

#include "core/base/Progress.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr size_t PALETTE_FILE_SIZE = 64;
// No JASC-PAL, GIMP or raw RGB palette this program reads is larger.
inline constexpr size_t PALETTE_TEXT_LIMIT = 1 << 20;

// kind is TILE_BG or TILE_OBJ. Only the colours the data holds completely
// change; a shorter file leaves the others as they were. Recomputes the
// display colours and sets CHANGED_PROJECT.
Result importPaletteBytes(std::span<const std::uint8_t> bytes, Workspace& workspace, TileKind kind,
                          Progress& progress);
// "Unable to open file %s.\nFile may be damaged, operation abort." when it
// cannot be read, followed by what is wrong for a palette file that is not
// good; then nothing changes. The other programs' palettes change the
// colours they hold, in order, from colour 0 of palette 0.
Result importPaletteFile(const std::string& path, Workspace& workspace, TileKind kind, Progress& progress);

} // namespace qm
