#include "core/import/GbrImport.h"

#include "core/base/ByteReader.h"
#include "core/base/FileIO.h"
#include "core/base/Format.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace qm {

namespace {

// GBTD holds at most 1024 tiles of 32 x 32 pixels; a file far beyond that is not one.
constexpr std::uintmax_t MAX_GBR_FILE = std::uintmax_t(64) << 20;
constexpr std::uint32_t TILE_DATA_HEAD = 40; // name 30, width, height, count, colour set 4

Result invalid() { return Result::failure(MSG_INVALID_GBR); }

// Cuts the pixel data of a tile data object into 8x8 tiles, in the order
// GBTD shows them: an 8-wide tile as stored (8x16 gives its top, then its
// bottom half); a 16x16 tile top left, top right, bottom left, bottom right;
// a 32x32 tile in bands of four from the top. Only the first keep of the
// count tiles are cut. False for other sizes and for data that does not fill
// the bands the count tiles need.
bool cutTiles(std::span<const std::uint8_t> data, int width, int height, size_t count, size_t keep,
              std::vector<std::uint8_t>& tiles)
{
    tiles.assign(keep * 64, 0);
    if (width == 8) {
        std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(keep * 64), tiles.begin());
        return true;
    }
    size_t across = 0;
    if (width == 16 && height == 16)
        across = 2;
    else if (width == 32 && height == 32)
        across = 4;
    else
        return false;
    const size_t bands = (count + across - 1) / across;
    const size_t rowBytes = across * 8;
    if (bands * 8 * rowBytes > data.size())
        return false;
    for (size_t band = 0; band * across < keep; ++band)
        for (size_t row = 0; row < 8; ++row)
            for (size_t part = 0; part < across; ++part) {
                const size_t tile = band * across + part;
                if (tile >= keep)
                    continue;
                const std::uint8_t* src = data.data() + (band * 8 + row) * rowBytes + part * 8;
                std::copy(src, src + 8, tiles.begin() + static_cast<std::ptrdiff_t>(tile * 64 + row * 8));
            }
    return true;
}

} // namespace

Result importGbrBytes(std::span<const std::uint8_t> bytes, TileLibrary& library, TileKind target)
{
    TileSet* set = library.tileSet(target);
    if (!set)
        return invalid();
    ByteReader r(bytes);
    std::uint8_t version = 0;
    if (!r.match("GBO") || !r.u8(version))
        return invalid();

    // Everything goes into copies first and is taken over when the whole file was good.
    auto tiles = std::make_unique<TileSet>(*set);
    GbcPaletteGroup colours = library.palettes.colourGroup(target);
    std::optional<int> tileCount; // tiles of the last tile data object, at most 512

    while (!r.atEnd()) {
        std::uint16_t type = 0, id = 0;
        std::uint32_t length = 0;
        std::span<const std::uint8_t> body;
        if (!r.u16(type) || !r.u16(id) || !r.u32(length) || !r.view(body, length))
            return invalid();
        ByteReader b(body);
        switch (type) {
        case GBR_TILE_DATA: {
            std::uint16_t width = 0, height = 0, count = 0;
            if (!b.skip(30) || !b.u16(width) || !b.u16(height) || !b.u16(count) || !b.skip(4))
                return invalid();
            const size_t n = (length - TILE_DATA_HEAD) / 64;
            const int used = static_cast<int>(std::min<size_t>(n, TILES_PER_SET));
            std::vector<std::uint8_t> cut;
            if (!cutTiles(body.subspan(TILE_DATA_HEAD), width, height, n, static_cast<size_t>(used), cut))
                return invalid();
            for (int t = 0; t < used; ++t) {
                auto& pixels = tiles->tiles[static_cast<size_t>(t)].pixels;
                for (size_t i = 0; i < 64; ++i)
                    pixels[i] = cut[static_cast<size_t>(t) * 64 + i] & 3;
            }
            tileCount = used;
            break;
        }
        case GBR_PALETTES: {
            std::uint16_t paletteId = 0, count = 0;
            if (!b.u16(paletteId) || !b.u16(count))
                return invalid();
            const size_t stored = std::min<size_t>(count, b.remaining() / 16);
            for (size_t p = 0; p < std::min<size_t>(stored, 8); ++p)
                for (size_t c = 0; c < 4; ++c) {
                    std::uint8_t rgbx[4];
                    b.bytes(rgbx, 4);
                    colours[p][c] = GbcColor{static_cast<std::uint8_t>(rgbx[0] >> 3),
                                             static_cast<std::uint8_t>(rgbx[1] >> 3),
                                             static_cast<std::uint8_t>(rgbx[2] >> 3)};
                }
            break;
        }
        case GBR_TILE_PALETTES: {
            if (!tileCount)
                return invalid();
            std::uint16_t paletteId = 0, count = 0;
            if (!b.u16(paletteId) || !b.u16(count))
                return invalid();
            // One value a tile of the tile data object, as far as the object holds them.
            const size_t stored = std::min<size_t>(static_cast<size_t>(*tileCount), b.remaining() / 4);
            for (size_t t = 0; t < stored; ++t) {
                std::uint32_t value = 0;
                b.u32(value);
                tiles->tiles[t].setPalette(static_cast<int>(value & 7));
            }
            break;
        }
        default: // the producer object and every other one: nothing we use
            break;
        }
    }

    *set = *tiles;
    library.palettes.colourGroup(target) = colours;
    library.palettes.recomputeDisplay(target);
    return Result::success();
}

Result importGbrFile(const std::string& path, TileLibrary& library, TileKind target)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult status = readWholeFile(path, bytes, MAX_GBR_FILE);
    if (status == ReadStatus::TooLarge)
        return invalid();
    if (status != ReadStatus::Ok)
        return Result::failure(
            readFailureText(status, path, formatText("Error! Unable to open file %s", path.c_str())));
    return importGbrBytes(bytes, library, target);
}

} // namespace qm
