#include "core/import/GbrImport.h"
#include "ImportBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace qm;
using namespace qm::test;

namespace {

// n 8x8 tiles; pixel i of tile t has colour (t + i) % 4.
std::vector<std::uint8_t> tilePixels(int n)
{
    std::vector<std::uint8_t> px(static_cast<size_t>(n) * 64);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<std::uint8_t>((i / 64 + i % 64) % 4);
    return px;
}

std::array<std::uint8_t, 64> expectedTile(int t)
{
    std::array<std::uint8_t, 64> a{};
    for (int i = 0; i < 64; ++i)
        a[static_cast<size_t>(i)] = static_cast<std::uint8_t>((t + i) % 4);
    return a;
}

bool sameSets(const TileSet& a, const TileSet& b)
{
    for (size_t i = 0; i < 512; ++i)
        if (!a.tiles[i].sameContent(b.tiles[i]))
            return false;
    return a.attr == b.attr;
}

} // namespace

TEST(GbrImport, EightWideTilesAsStoredWithPalettesAndTilePalettes)
{
    auto lib = std::make_unique<TileLibrary>();
    lib->bg.tiles[0].setComment("stays");
    lib->bg.tiles[1].attr = TILE_BG | 0x28; // bits 3-5 carried through
    GbrBuilder g;
    g.producer()
        .tileData(8, 16, 1, tilePixels(2)) // one 8x16 tile: top, then bottom half
        .palettes({{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}})
        .tilePalettes({0x13, 0xFFFFFFFE});
    ASSERT_TRUE(importGbrBytes(g.bytes, *lib, TILE_BG));
    EXPECT_EQ(lib->bg.tiles[0].pixels, expectedTile(0));
    EXPECT_EQ(lib->bg.tiles[1].pixels, expectedTile(1));
    EXPECT_EQ(lib->bg.tiles[2].pixels, (std::array<std::uint8_t, 64>{}));
    EXPECT_EQ(lib->bg.tiles[0].commentText(), "stays");
    EXPECT_EQ(lib->bg.tiles[0].attr, TILE_BG | 3);
    EXPECT_EQ(lib->bg.tiles[1].attr, TILE_BG | 0x28 | 6);
    EXPECT_EQ(lib->palettes.bgPalettes[0][0], (GbcColor{31, 0, 0}));
    EXPECT_EQ(lib->palettes.bgPalettes[0][2], (GbcColor{0, 0, 31}));
    EXPECT_EQ(lib->palettes.bgDisplay[0][0], gbcColourOf(GbcColor{31, 0, 0}));
    EXPECT_EQ(lib->palettes.bgPalettes[1][3], (GbcColor{31, 31, 31})); // palette 1 untouched
}

TEST(GbrImport, SixteenBySixteenTileGivesTopLeftTopRightBottomLeftBottomRight)
{
    // Pixel (x, y) of the 16x16 tile holds its quarter's number.
    std::vector<std::uint8_t> px(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            px[static_cast<size_t>(y * 16 + x)] = static_cast<std::uint8_t>((y / 8) * 2 + x / 8);
    px[1] = 3; // top left quarter, row 0, column 1
    auto lib = std::make_unique<TileLibrary>();
    ASSERT_TRUE(importGbrBytes(GbrBuilder().tileData(16, 16, 1, px).bytes, *lib, TILE_OBJ));
    for (int t = 0; t < 4; ++t) {
        const auto& tile = lib->obj.tiles[static_cast<size_t>(t)].pixels;
        EXPECT_EQ(tile[10], t) << t;
        EXPECT_EQ(tile[63], t) << t;
    }
    EXPECT_EQ(lib->obj.tiles[0].pixels[1], 3);
    EXPECT_EQ(lib->obj.tiles[1].pixels[1], 1);
}

TEST(GbrImport, ThirtyTwoByThirtyTwoTileGivesSixteenTilesBandByBand)
{
    std::vector<std::uint8_t> px(1024);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            px[static_cast<size_t>(y * 32 + x)] = static_cast<std::uint8_t>(((y / 8) * 4 + x / 8) % 4);
    px[32 * 8 + 8 + 3] = 3; // band 1, tile 1 of the band, row 0, column 3
    auto lib = std::make_unique<TileLibrary>();
    ASSERT_TRUE(importGbrBytes(GbrBuilder().tileData(32, 32, 1, px).bytes, *lib, TILE_BG));
    for (int t = 0; t < 16; ++t)
        EXPECT_EQ(lib->bg.tiles[static_cast<size_t>(t)].pixels[20], t % 4) << t;
    EXPECT_EQ(lib->bg.tiles[5].pixels[3], 3);
    EXPECT_EQ(lib->bg.tiles[5].pixels[2], 1);
}

TEST(GbrImport, SixHundredTilesFillTheSetAndStopAt511)
{
    std::vector<std::uint8_t> px = tilePixels(600);
    std::vector<std::uint32_t> pals(600, 5);
    auto lib = std::make_unique<TileLibrary>();
    ASSERT_TRUE(importGbrBytes(GbrBuilder().tileData(8, 8, 600, px).tilePalettes(pals).bytes, *lib, TILE_BG));
    EXPECT_EQ(lib->bg.tiles[511].pixels, expectedTile(511));
    EXPECT_EQ(lib->bg.tiles[300].pixels, expectedTile(300));
    EXPECT_EQ(lib->bg.tiles[511].palette(), 5);
}

TEST(GbrImport, PaletteObjectOfTenPalettesSetsEightIntoTheTargetGroup)
{
    std::vector<std::vector<std::uint32_t>> pals;
    for (int p = 0; p < 10; ++p)
        pals.push_back({static_cast<std::uint32_t>(p * 8) << 16, 0x000800, 0x000010, 0xFFFFFF});
    auto lib = std::make_unique<TileLibrary>();
    const GbcPaletteGroup bgBefore = lib->palettes.bgPalettes;
    ASSERT_TRUE(importGbrBytes(GbrBuilder().palettes(pals).bytes, *lib, TILE_OBJ));
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(lib->palettes.objPalettes[static_cast<size_t>(p)][0], (GbcColor{static_cast<std::uint8_t>(p), 0, 0}));
    EXPECT_EQ(lib->palettes.objPalettes[0][1], (GbcColor{0, 1, 0}));
    EXPECT_EQ(lib->palettes.objPalettes[0][2], (GbcColor{0, 0, 2}));
    EXPECT_EQ(lib->palettes.bgPalettes, bgBefore);

    // The tag set takes the BG palettes.
    ASSERT_TRUE(importGbrBytes(GbrBuilder().palettes(pals).tileData(8, 8, 1, tilePixels(1)).bytes, *lib, TILE_TAG));
    EXPECT_EQ(lib->palettes.bgPalettes[7][0], (GbcColor{7, 0, 0}));
    EXPECT_EQ(lib->tag.tiles[0].pixels, expectedTile(0));
    EXPECT_EQ(lib->tag.tiles[0].kind(), TILE_TAG);
}

TEST(GbrImport, RefusedFilesChangeNothing)
{
    auto lib = std::make_unique<TileLibrary>();
    lib->bg.tiles[0].pixels.fill(1);
    const TileSet before = lib->bg;
    const GbcPaletteGroup palBefore = lib->palettes.bgPalettes;
    const auto refused = [&](const std::vector<std::uint8_t>& bytes, const char* what) {
        const Result r = importGbrBytes(bytes, *lib, TILE_BG);
        EXPECT_FALSE(r) << what;
        EXPECT_EQ(r.text(), "Invalid gbr file.") << what;
        EXPECT_TRUE(sameSets(lib->bg, before)) << what;
        EXPECT_EQ(lib->palettes.bgPalettes, palBefore) << what;
    };
    std::vector<std::uint8_t> notGbo = GbrBuilder().tileData(8, 8, 1, tilePixels(1)).bytes;
    notGbo[2] = 'X';
    refused(notGbo, "signature");
    // Earlier objects were fine, but the tile palettes come without tiles before them.
    refused(GbrBuilder().palettes({{0xFF0000, 0, 0, 0}}).tilePalettes({1}).tileData(8, 8, 1, tilePixels(1)).bytes,
            "tile palettes first");
    refused(GbrBuilder().tileData(24, 24, 1, tilePixels(9)).bytes, "24x24 tiles");
    refused(GbrBuilder().tileData(16, 8, 1, tilePixels(2)).bytes, "16x8 tiles");
    refused(GbrBuilder().tileData(16, 16, 1, tilePixels(3)).bytes, "16x16 data cut short");
    refused(GbrBuilder().object(2, std::vector<std::uint8_t>(39, 0)).bytes, "tile data head cut short");

    std::vector<std::uint8_t> longLength = GbrBuilder().tileData(8, 8, 1, tilePixels(1)).bytes;
    longLength[8] = 0xFF;
    longLength[9] = 0xFF;
    longLength[10] = 0xFF;
    longLength[11] = 0xFF;
    refused(longLength, "length past the end");
    refused({'G', 'B', 'O'}, "no version");

    // A file of the header alone is a file without objects.
    EXPECT_TRUE(importGbrBytes(std::vector<std::uint8_t>{'G', 'B', 'O', '1'}, *lib, TILE_BG));
    EXPECT_FALSE(importGbrFile("/nonexistent/tiles.gbr", *lib, TILE_BG));
}

TEST(GbrImport, EveryPrefixAndCorruptionOfAValidFileIsSafe)
{
    const std::vector<std::uint8_t> good = GbrBuilder()
                                               .producer()
                                               .tileData(16, 16, 2, tilePixels(8))
                                               .palettes({{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}})
                                               .tilePalettes({1, 2})
                                               .bytes;
    auto pristine = std::make_unique<TileLibrary>();
    for (size_t n = 0; n < good.size(); ++n) {
        auto lib = std::make_unique<TileLibrary>();
        const Result r = importGbrBytes(std::span(good).first(n), *lib, TILE_BG);
        if (!r) {
            EXPECT_EQ(r.text(), "Invalid gbr file.");
            EXPECT_TRUE(sameSets(lib->bg, pristine->bg)) << n;
        }
    }
    std::mt19937 rng(3);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> b = good;
        for (int c = 0; c < 3; ++c)
            b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
        auto lib = std::make_unique<TileLibrary>();
        if (importGbrBytes(b, *lib, TILE_OBJ)) {
            for (const CTile& t : lib->obj.tiles)
                for (std::uint8_t p : t.pixels)
                    ASSERT_LE(p, 3);
        }
    }
}
