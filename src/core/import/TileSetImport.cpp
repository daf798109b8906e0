#include "core/import/TileSetImport.h"

#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/base/PngReader.h"
#include "core/import/FileHead.h"
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

Result endTileRefused(long long tiles)
{
    return Result::failure(formatText(MSG_INVALID_END_TILE, static_cast<int>(std::min<long long>(tiles, 0x7FFFFFFF))));
}

// 15-bit colour of a pixel of the sheet (red in bits 0-4).
std::uint16_t gbcOf(const std::uint8_t* rgba)
{
    return static_cast<std::uint16_t>((rgba[0] >> 3) | (rgba[1] >> 3) << 5 | (rgba[2] >> 3) << 10);
}

// Tiles from..from+count-1 of a PNG tile sheet, numbered left to right, top
// to bottom, into staged tiles from position first on.
Result stageSheetTiles(std::span<const std::uint8_t> bytes, long long from, long long to, long long count,
                       int first, const GbcPaletteGroup& palettes, std::vector<StagedTile>& staged)
{
    PngPicture sheet;
    if (!decodePng(bytes, sheet))
        return damaged();
    const long long across = sheet.width / 8;
    const long long tiles = across * (sheet.height / 8);
    if (to >= tiles)
        return endTileRefused(tiles);
    const bool indexed = !sheet.indices.empty();
    std::vector<std::uint16_t> colours; // of a sheet without a colour table
    for (long long i = 0; i < count; ++i) {
        const long long t = from + i;
        StagedTile tile;
        tile.position = first + static_cast<int>(i);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const size_t at = static_cast<size_t>((t / across * 8 + y) * sheet.width + t % across * 8 + x);
                if (indexed) {
                    const std::uint8_t index = sheet.indices[at];
                    if (index > 3)
                        return Result::failure(formatText(MSG_SHEET_COLOUR_NUMBER, static_cast<int>(t), index));
                    tile.pixels[static_cast<size_t>(y * 8 + x)] = index;
                } else {
                    colours.push_back(gbcOf(sheet.rgba.data() + at * 4));
                }
            }
        staged.push_back(tile);
    }
    if (indexed)
        return Result::success();
    // The first palette of the set that holds every colour gives the numbers.
    for (const GbcPalette& palette : palettes) {
        std::array<std::uint16_t, 4> p;
        for (size_t c = 0; c < 4; ++c)
            p[c] = static_cast<std::uint16_t>(palette[c].red | palette[c].green << 5 | palette[c].blue << 10);
        const auto numberOf = [&p](std::uint16_t c) { return std::find(p.begin(), p.end(), c) - p.begin(); };
        if (!std::all_of(colours.begin(), colours.end(), [&](std::uint16_t c) { return numberOf(c) < 4; }))
            continue;
        for (size_t i = 0; i < colours.size(); ++i)
            staged[i / 64].pixels[i % 64] = static_cast<std::uint8_t>(numberOf(colours[i]));
        return Result::success();
    }
    return Result::failure(MSG_SHEET_COLOURS);
}

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
    return ext == "png" ? TileSourceFormat::PngSheet : TileSourceFormat::Binary;
}

std::optional<long long> countSourceTiles(const std::string& path, TileSourceFormat format)
{
    if (format != TileSourceFormat::PngSheet) {
        std::uint64_t size = 0;
        if (readableFileSize(path, size) != ReadStatus::Ok)
            return std::nullopt;
        return static_cast<long long>(size / 16);
    }
    std::vector<std::uint8_t> head;
    if (readFileHead(path, 64, head) != ReadStatus::Ok)
        return std::nullopt;
    const std::optional<PngSize> size = readPngSize(head);
    if (!size)
        return std::nullopt;
    return static_cast<long long>(size->width / 8) * (size->height / 8);
}

long long suggestedToTile(TileSourceFormat type, long long tiles)
{
    return type == TileSourceFormat::TileSetFile ? 511 : tiles - 1;
}

TileRangeCheck checkTileImportRange(long long fromTile, long long toTile, long long tiles)
{
    TileRangeCheck check;
    if (fromTile < 0 || fromTile > toTile) {
        check.result = Result::failure(MSG_INVALID_IMPORT_RANGE);
        return check;
    }
    if (toTile >= tiles) {
        check.result = endTileRefused(tiles);
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
    if (format == TileSourceFormat::PngSheet) {
        if (Result r = stageSheetTiles(bytes, from, request.toTile, wanted, request.currentTile,
                                       ws.tiles.palettes.colourGroup(kind), staged);
            !r)
            return r;
    } else if (format == TileSourceFormat::Binary) {
        if (static_cast<std::uint64_t>(request.toTile) >= bytes.size() / 16)
            return endTileRefused(static_cast<long long>(bytes.size() / 16));
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
