#include "core/base/PngWriter.h"
#include "core/import/TileSetImport.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// Binary tile t has every row as bytes (t, ~t), so pixel x of each row is
// 2 * !bit + bit of t's bit (7 - x).
std::vector<std::uint8_t> binaryTiles(int count)
{
    std::vector<std::uint8_t> bytes;
    for (int t = 0; t < count; ++t)
        for (int row = 0; row < 8; ++row) {
            bytes.push_back(static_cast<std::uint8_t>(t));
            bytes.push_back(static_cast<std::uint8_t>(~t));
        }
    return bytes;
}

std::array<std::uint8_t, 64> binaryTile(int t)
{
    std::array<std::uint8_t, 64> px{};
    for (int i = 0; i < 64; ++i)
        px[static_cast<size_t>(i)] = ((t >> (7 - i % 8)) & 1) ? 1 : 2;
    return px;
}

TileSetImportRequest request(long long from, long long to, int current, TileKind target = TILE_BG)
{
    TileSetImportRequest r;
    r.fromTile = from;
    r.toTile = to;
    r.currentTile = current;
    r.target = target;
    return r;
}

} // namespace

TEST(TileSetImport, DialogChecksAndTheSourceFormat)
{
    // A source of 2 tiles: 2 is refused with the focus on the end tile, 1 accepted.
    EXPECT_TRUE(checkTileImportRange(0, 2, 2).focusToTile);
    EXPECT_TRUE(checkTileImportRange(1, 1, 2).result);
    EXPECT_FALSE(checkTileImportRange(-1, 1, 2).result);
    EXPECT_EQ(suggestedToTile(TileSourceFormat::TileSetFile, 2118), 511);
    const std::pair<const char*, TileSourceFormat> formats[] = {
        {"/a/b/level.QMO", TileSourceFormat::TileSetFile}, {"x.bts", TileSourceFormat::TileSetFile},
        {"x.ots", TileSourceFormat::TileSetFile},          {"x.bin", TileSourceFormat::Binary},
        {"sheet.PNG", TileSourceFormat::PngSheet},         {"qm", TileSourceFormat::Binary}};
    for (const auto& [path, format] : formats)
        EXPECT_EQ(tileSourceFormatOf(path), format) << path;
}

TEST(TileSetImport, RangesLandFromTheCurrentTileOnAndStopAtTile511)
{
    // A tile set file whose tiles have comments and palettes, which are not taken.
    auto objSet = std::make_unique<TileLibrary>();
    for (int t = 0; t < 512; ++t) {
        CTile& tile = objSet->obj.tiles[static_cast<size_t>(t)];
        tile.pixels = binaryTile(t & 0xFF);
        tile.setComment(std::string(static_cast<size_t>(t % 33), 'c'));
        tile.setPalette(7);
    }
    objSet->palettes.objPalettes[0][0] = GbcColor{31, 0, 0};
    const std::vector<std::uint8_t> setFile = encodeTileSetFile(*objSet, TILE_OBJ);
    const auto fresh = std::make_unique<Workspace>();
    const std::array<std::uint8_t, 64> blank{};
    const struct {
        std::vector<std::uint8_t> bytes;
        TileSourceFormat format;
        TileSetImportRequest request;
        bool cut; // told "Only 512 tiles will be imported"
        std::vector<std::pair<int, std::array<std::uint8_t, 64>>> tiles;
    } cases[] = {
        {binaryTiles(8), TileSourceFormat::Binary, request(2, 3, 10), false,
         {{9, blank}, {10, binaryTile(2)}, {11, binaryTile(3)}, {12, blank}}},
        {binaryTiles(600), TileSourceFormat::Binary, request(0, 599, 0, TILE_OBJ), true,
         {{0, binaryTile(0)}, {511, binaryTile(511 & 0xFF)}}},
        {binaryTiles(20), TileSourceFormat::Binary, request(5, 19, 505), false,
         {{0, blank}, {505, binaryTile(5)}, {511, binaryTile(11)}}},
        // The tile count of the largest range (to - from + 1) overflowed.
        {setFile, TileSourceFormat::TileSetFile, request(0, std::numeric_limits<long long>::max(), 0), true,
         {{511, binaryTile(511 & 0xFF)}}},
        {setFile, TileSourceFormat::TileSetFile, request(33, 35, 99), false,
         {{99, binaryTile(33)}, {100, binaryTile(34)}, {101, binaryTile(35)}, {102, blank}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.fromTile);
        auto ws = std::make_unique<Workspace>();
        TileSet& set = c.request.target == TILE_OBJ ? ws->tiles.obj : ws->tiles.bg;
        CTile& first = set.tiles[static_cast<size_t>(c.request.currentTile)];
        first.setComment("mine");
        first.setPalette(4);
        ScriptedPrompter prompter;
        ASSERT_TRUE(importTilePixels(c.bytes, c.format, c.request, *ws, prompter));
        EXPECT_EQ(prompter.informed, c.cut ? std::vector<std::string>{"Only 512 tiles will be imported"}
                                           : std::vector<std::string>{});
        for (const auto& [t, pixels] : c.tiles)
            EXPECT_EQ(set.tiles[static_cast<size_t>(t)].pixels, pixels) << t;
        EXPECT_EQ(first.commentText(), "mine");
        EXPECT_EQ(first.palette(), 4);
        EXPECT_EQ(ws->tiles.palettes.bgPalettes, fresh->tiles.palettes.bgPalettes);
        EXPECT_EQ(ws->tiles.palettes.objPalettes, fresh->tiles.palettes.objPalettes);
        EXPECT_EQ(ws->project.changeFlags, c.request.target == TILE_OBJ ? CHANGED_OBJ_TILES : CHANGED_BG_TILES);
    }
}

TEST(TileSetImport, ATileSetFileThatEndsBeforeTheTilesAskedForChangesNothing)
{
    auto source = std::make_unique<TileLibrary>();
    for (CTile& t : source->obj.tiles)
        t.pixels.fill(3);
    const std::vector<std::uint8_t> file = encodeTileSetFile(*source, TILE_OBJ);
    auto ws = std::make_unique<Workspace>();
    ScriptedPrompter prompter;
    const Result cut =
        importTilePixels(std::span(file).first(5000), TileSourceFormat::TileSetFile, request(0, 511, 0), *ws, prompter);
    EXPECT_EQ(cut.text(), "Invalid or damaged file selected");
    EXPECT_EQ(ws->tiles.bg.tiles[1].pixels[0], 0);
    EXPECT_EQ(ws->project.changeFlags, 0);
}

TEST(TileSetImport, PngTileSheetCellsGoLeftToRightThenDown)
{
    // 3 x 2 cells (and a row of pixels short of a third); pixel (x, y) of
    // cell c is (c + x + y) % 4, pixel 0 of cell 5 is colour 6.
    std::vector<std::uint8_t> pixels(24 * 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 24; ++x)
            pixels[static_cast<size_t>(y * 24 + x)] = static_cast<std::uint8_t>((x / 8 + y / 8 * 3 + x + y) % 4);
    const PngColour table[7] = {};
    const auto sheet = [&] { return encodeIndexedPng(24, 23, pixels.data(), 24, table); };
    auto ws = std::make_unique<Workspace>();
    ScriptedPrompter prompter;
    ASSERT_TRUE(importTilePixels(sheet(), TileSourceFormat::PngSheet, request(1, 4, 10), *ws, prompter));
    for (int c = 1; c <= 4; ++c)
        for (int i = 0; i < 64; i += 9)
            EXPECT_EQ(ws->tiles.bg.tiles[static_cast<size_t>(9 + c)].pixels[static_cast<size_t>(i)], (c + i % 8 + i / 8) % 4);
    EXPECT_EQ(ws->tiles.bg.tiles[14].pixels, (std::array<std::uint8_t, 64>{}));

    EXPECT_EQ(importTilePixels(sheet(), TileSourceFormat::PngSheet, request(5, 6, 0), *ws, prompter).text(),
              "Invalid end tile value. This file only has 6 tiles");
    pixels[16 + 8 * 24] = 6;
    const Workspace before = *ws;
    EXPECT_EQ(importTilePixels(sheet(), TileSourceFormat::PngSheet, request(4, 5, 0), *ws, prompter).text(),
              "tile 5 of the sheet uses colour 6; a tile holds colours 0 to 3");
    EXPECT_EQ(ws->tiles.bg.tiles[0].pixels, before.tiles.bg.tiles[0].pixels);

    // Without a colour table the first palette of the set holding the
    // colours gives the numbers: here OBJ palette 2.
    ws->tiles.palettes.objPalettes[2] = {GbcColor{1, 0, 0}, GbcColor{2, 0, 0}, GbcColor{3, 0, 0}, GbcColor{4, 0, 0}};
    std::vector<std::uint8_t> rgba(8 * 8 * 4, 0);
    for (size_t i = 0; i < 64; ++i) {
        rgba[i * 4] = static_cast<std::uint8_t>((4 - i % 4) * 8); // red 4, 3, 2, 1 again and again
        rgba[i * 4 + 3] = 255;
    }
    ASSERT_TRUE(importTilePixels(rgbaPng(8, 8, rgba), TileSourceFormat::PngSheet, request(0, 0, 3, TILE_OBJ), *ws,
                                 prompter));
    EXPECT_EQ((std::vector<int>(ws->tiles.obj.tiles[3].pixels.begin(), ws->tiles.obj.tiles[3].pixels.begin() + 4)),
              (std::vector<int>{3, 2, 1, 0}));
    rgba[5] = 8; // a colour no palette holds
    EXPECT_EQ(importTilePixels(rgbaPng(8, 8, rgba), TileSourceFormat::PngSheet, request(0, 0, 3, TILE_OBJ), *ws,
                               prompter).text(), MSG_SHEET_COLOURS);
}
