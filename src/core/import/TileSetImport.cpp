#include "core/import/TileSetImport.h"

#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/tiles/TileSetFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace qm {

namespace {

// No range of 512 tiles needs more than this of a binary file past its start tile.
constexpr std::uintmax_t MAX_TILE_SOURCE_FILE = std::uintmax_t(256) << 20;

struct StagedTile {
    int position = 0;
    std::array<std::uint8_t, 64> pixels{};
};

Result damaged() { return Result::failure(MSG_INVALID_TILE_SOURCE); }

} // namespace

void decodeGameBoyTile(std::span<const std::uint8_t> data, std::uint8_t* pixels)
{
    const auto byte = [&data](size_t i) -> std::uint8_t { return i < data.size() ? data[i] : 0; };
    for (int row = 0; row < 8; ++row) {
        const std::uint8_t low = byte(static_cast<size_t>(row * 2));
        const std::uint8_t high = byte(static_cast<size_t>(row * 2 + 1));
        for (int x = 0; x < 8; ++x)
            pixels[row * 8 + x] =
                static_cast<std::uint8_t>((((high >> (7 - x)) & 1) << 1) | ((low >> (7 - x)) & 1));
    }
}

TileSourceFormat tileSourceFormatOf(const std::string& path)
{
    if (path.size() < 3)
        return TileSourceFormat::Binary;
    std::string ext = path.substr(path.size() - 3);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "qmo" || ext == "ots" || ext == "qmb" || ext == "bts")
        return TileSourceFormat::TileSetFile;
    return TileSourceFormat::Binary;
}

long long suggestedToTile(TileSourceFormat type, std::uint64_t fileSize)
{
    return type == TileSourceFormat::Binary ? static_cast<long long>(fileSize / 16) - 1 : 511;
}

TileRangeCheck checkTileImportRange(long long fromTile, long long toTile, std::uint64_t fileSize)
{
    TileRangeCheck check;
    if (fromTile < 0 || fromTile > toTile) {
        check.result = Result::failure(MSG_INVALID_IMPORT_RANGE);
        return check;
    }
    const std::uint64_t tiles = fileSize / 16;
    if (static_cast<std::uint64_t>(toTile) >= tiles) {
        check.result = Result::failure(formatText(MSG_INVALID_END_TILE, static_cast<int>(std::min<std::uint64_t>(
                                                                           tiles, 0x7FFFFFFF))));
        check.focusToTile = true;
    }
    return check;
}

Result importTilePixels(std::span<const std::uint8_t> bytes, TileSourceFormat format,
                        const TileSetImportRequest& request, Workspace& ws, Prompter& prompter)
{
    const TileKind kind = request.target == TILE_BG ? TILE_BG : TILE_OBJ;
    long long from = request.fromTile;
    long long to = request.toTile;
    if (from < 0 || from > to || request.currentTile < 0 || request.currentTile >= TILES_PER_SET)
        return Result::failure(MSG_INVALID_IMPORT_RANGE);
    if (to - from >= TILES_PER_SET) { // to - from + 1 would overflow for the largest numbers
        prompter.inform(MSG_ONLY_512_TILES);
        to = from + TILES_PER_SET - 1;
    }
    // Only as many tiles as there are positions from the current tile on.
    const long long wanted = std::min<long long>(to - from + 1, TILES_PER_SET - request.currentTile);

    std::vector<StagedTile> staged;
    staged.reserve(static_cast<size_t>(wanted));
    if (format == TileSourceFormat::Binary) {
        if (static_cast<std::uint64_t>(request.toTile) >= bytes.size() / 16)
            return Result::failure(formatText(MSG_INVALID_END_TILE, static_cast<int>(std::min<std::uint64_t>(
                                                                        bytes.size() / 16, 0x7FFFFFFF))));
        for (long long i = 0; i < wanted; ++i) {
            StagedTile t;
            t.position = request.currentTile + static_cast<int>(i);
            decodeGameBoyTile(bytes.subspan(static_cast<size_t>((from + i) * 16), 16), t.pixels.data());
            staged.push_back(t);
        }
    } else {
        ByteReader r(bytes);
        if (!r.skip(TILESET_HEADER_SIZE))
            return damaged();
        for (long long record = 0; record < TILES_PER_SET && static_cast<long long>(staged.size()) < wanted;
             ++record) {
            std::uint8_t attr = 0, commentLength = 0;
            if (!r.u8(attr) || !r.u8(commentLength) || !r.skip(commentLength))
                return damaged();
            if (record < from) {
                if (!r.skip(64))
                    return damaged();
                continue;
            }
            StagedTile t;
            t.position = request.currentTile + static_cast<int>(staged.size());
            if (!r.bytes(t.pixels.data(), 64))
                return damaged();
            staged.push_back(t);
        }
    }

    TileSet& set = kind == TILE_BG ? ws.tiles.bg : ws.tiles.obj;
    for (const StagedTile& t : staged) {
        auto& pixels = set.tiles[static_cast<size_t>(t.position)].pixels;
        for (size_t i = 0; i < 64; ++i)
            pixels[i] = t.pixels[i] & 3;
    }
    ws.project.setChanged(kind == TILE_BG ? CHANGED_BG_TILES : CHANGED_OBJ_TILES);
    return Result::success();
}

Result importTileSet(const TileSetImportRequest& request, Workspace& ws, Prompter& prompter)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readWholeFile(request.path, bytes, MAX_TILE_SOURCE_FILE);
    if (read != ReadStatus::Ok)
        return Result::failure(
            readFailureText(read, request.path, formatText("Error! Unable to open file %s", request.path.c_str())));
    return importTilePixels(bytes, tileSourceFormatOf(request.path), request, ws, prompter);
}

} // namespace qm
