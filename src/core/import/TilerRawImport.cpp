#include "core/import/TilerRawImport.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/import/TileSetImport.h"

#include <memory>
#include <vector>

namespace qm {

namespace {
constexpr size_t PALETTES_SIZE = 64;
constexpr size_t TILES_SIZE = TILER_RAW_TILES * 16;
// Bytes beyond the format are never used; do not hold a huge file for them.
constexpr std::uintmax_t MAX_RAW_FILE = std::uintmax_t(16) << 20;
} // namespace

Result importTilerRawBytes(std::span<const std::uint8_t> bytes, TileLibrary& library, TileKind target)
{
    TileSet* set = library.tileSet(target);
    if (!set || bytes.size() < TILER_RAW_SIZE)
        return Result::failure(MSG_INVALID_TILER_RAW);

    GbcPaletteGroup& colours = library.palettes.colourGroup(target);
    for (size_t p = 0; p < 8; ++p)
        for (size_t c = 0; c < 4; ++c) {
            const size_t at = (p * 4 + c) * 2;
            const unsigned v = bytes[at] | (unsigned(bytes[at + 1]) << 8);
            colours[p][c] = GbcColor{static_cast<std::uint8_t>(v & 31), static_cast<std::uint8_t>((v >> 5) & 31),
                                     static_cast<std::uint8_t>((v >> 10) & 31)};
        }
    for (size_t t = 0; t < TILER_RAW_TILES; ++t) {
        CTile& tile = set->tiles[t];
        decodeGameBoyTile(bytes.subspan(PALETTES_SIZE + t * 16, 16), tile.pixels.data());
        tile.setPalette(bytes[PALETTES_SIZE + TILES_SIZE + t] & 7);
    }
    library.palettes.recomputeDisplay(target);
    return Result::success();
}

Result importTilerRawFile(const std::string& path, TileLibrary& library, TileKind target)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult status = readWholeFile(path, bytes, MAX_RAW_FILE);
    // The message names the file and why it was refused.
    if (status == ReadStatus::TooLarge)
        return Result::failure(formatText(MSG_TILER_RAW_TOO_LARGE, path.c_str()));
    if (status != ReadStatus::Ok)
        return Result::failure(
            readFailureText(status, path, formatText("Error! Unable to open file %s", path.c_str())));
    if (bytes.size() < TILER_RAW_SIZE)
        return Result::failure(formatText(MSG_TILER_RAW_TOO_SHORT, path.c_str(), bytes.size()));
    return importTilerRawBytes(bytes, library, target);
}

} // namespace qm
