#pragma once
// Tile set files (.qmb/.bts for BG, .qmo/.ots for OBJ): the set's attribute
// byte, the 8 colour palettes and the monochrome palette of the kind, then
// 512 tile records (attr, comment length, comment, 64 pixels).

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/tiles/TileLibrary.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

inline constexpr size_t TILESET_HEADER_SIZE = 109;
inline constexpr size_t TILESET_EMPTY_FILE_SIZE = TILESET_HEADER_SIZE + 512 * 66; // 33901

// What one tile set file holds, read into fresh objects.
struct TileSetFileData {
    TileSet set;
    GbcPaletteGroup colours{};
    GbcPalette mono{};
};

// The file bytes of the set of kind TILE_BG, or of the OBJ set for any other kind.
std::vector<std::uint8_t> encodeTileSetFile(const TileLibrary& library, TileKind kind);

// Decodes into out with the kind bits forced to kind. False when the data ends
// before the 512th tile record; out is then unspecified.
bool decodeTileSetFile(std::span<const std::uint8_t> bytes, TileKind kind, TileSetFileData& out);

// Takes over decoded data: the set, the colour palettes, the monochrome colours
// spread to all 8 palettes of the kind, and the display colours recomputed.
void applyTileSetFile(TileLibrary& library, TileKind kind, TileSetFileData&& data);

// Writes the file crash-safely. Failure: "Unable to open file %s for writing.".
Result saveTileSetFile(const std::string& path, TileKind kind, const TileLibrary& library, Progress& progress);

enum class TileSetLoadStatus {
    Loaded,     // tiles were loaded
    Reset,      // the path was empty: the set and its palettes were reset
    CannotOpen, // the file could not be opened: the set is unchanged and needs locating
    Damaged,    // the file was opened but is not a whole tile set file: unchanged
};

// Loads without asking anything. For CannotOpen, cannotOpen (when given) gets
// the message: "Unable to open file %s" with the system's reason, or "%s is
// not a regular file". A path on a Windows drive cannot be opened here.
TileSetLoadStatus loadTileSetFile(const std::string& path, TileKind kind, TileLibrary& library, Progress& progress,
                                  std::string* cannotOpen = nullptr);

struct TileSetLoad {
    bool loaded = false;      // the "1" of the original loader
    std::string locatedPath;  // set when the user named another file that loaded
};

// Loads, and when the file cannot be opened asks the prompter to locate it.
TileSetLoad loadTileSet(const std::string& path, TileKind kind, TileLibrary& library, Prompter& prompter,
                        Progress& progress);

std::string tileSetDamagedMessage(const std::string& path);

} // namespace qm
