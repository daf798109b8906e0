#include "core/import/GbrImport.h"
#include "ImportBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// Pixel (x, y) of 8x8 tile g: its first two rows spell g in colours 0 and 1,
// the others run through all four colours.
std::uint8_t pixelOf(int g, int x, int y)
{
    return static_cast<std::uint8_t>(y < 2 ? (g >> (y * 8 + x)) & 1 : (g + x + y) % 4);
}

std::array<std::uint8_t, 64> expectedTile(int g)
{
    std::array<std::uint8_t, 64> a{};
    for (int i = 0; i < 64; ++i)
        a[static_cast<size_t>(i)] = pixelOf(g, i % 8, i / 8);
    return a;
}

// count GBTD tiles of w x h, each stored row by row; its 8x8 parts are
// numbered left to right, then down, on from the tiles before it.
std::vector<std::uint8_t> gbrPixels(int w, int h, int count)
{
    std::vector<std::uint8_t> px;
    for (int n = 0; n < count; ++n)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px.push_back(pixelOf(n * (w / 8) * (h / 8) + (y / 8) * (w / 8) + x / 8, x % 8, y % 8));
    return px;
}

bool sameSets(const TileSet& a, const TileSet& b)
{
    for (size_t i = 0; i < 512; ++i)
        if (!a.tiles[i].sameContent(b.tiles[i]))
            return false;
    return a.attr == b.attr;
}

} // namespace

TEST(GbrImport, TilesPalettesAndTilePalettesGoToTheShownSet)
{
    // Palette p: red p, then the same three colours; of ten, eight fit.
    std::vector<std::vector<std::uint32_t>> pals;
    for (int p = 0; p < 10; ++p)
        pals.push_back({static_cast<std::uint32_t>(p * 8) << 16, 0x000800, 0x000010, 0xFFFFFF});
    const auto fresh = std::make_unique<TileLibrary>();
    for (TileKind kind : {TILE_BG, TILE_OBJ, TILE_TAG}) {
        SCOPED_TRACE(int(kind));
        const int count = kind == TILE_BG ? 1 : 10;
        auto lib = std::make_unique<TileLibrary>();
        TileSet& set = *lib->tileSet(kind);
        set.tiles[0].setComment("stays");
        set.tiles[1].attr = static_cast<std::uint8_t>(kind | 0x28); // bits 3-5 carried through
        GbrBuilder g;
        g.producer()
            .tileData(8, 16, 1, gbrPixels(8, 16, 1))
            .palettes(std::vector(pals.begin(), pals.begin() + count))
            .tilePalettes({0x13, 0xFFFFFFFE});
        ASSERT_TRUE(importGbrBytes(g.bytes, *lib, kind));
        EXPECT_EQ(set.tiles[0].commentText(), "stays");
        EXPECT_EQ(set.tiles[0].attr, kind | 3);
        EXPECT_EQ(set.tiles[1].attr, kind | 0x28 | 6);
        EXPECT_EQ(set.tiles[1].pixels, expectedTile(1));
        // The tag set takes the BG palettes.
        const TileKind group = kind == TILE_OBJ ? TILE_OBJ : TILE_BG, otherGroup = kind == TILE_OBJ ? TILE_BG : TILE_OBJ;
        for (size_t p = 0; p < 8; ++p) {
            const GbcPalette read = {GbcColor{static_cast<std::uint8_t>(p), 0, 0}, GbcColor{0, 1, 0}, GbcColor{0, 0, 2},
                                     GbcColor{31, 31, 31}};
            EXPECT_EQ(lib->palettes.colourGroup(group)[p], int(p) < count ? read : fresh->palettes.colourGroup(group)[p]);
        }
        EXPECT_EQ(lib->palettes.colourGroup(otherGroup), fresh->palettes.colourGroup(otherGroup));
        const auto& display = kind == TILE_OBJ ? lib->palettes.objDisplay : lib->palettes.bgDisplay;
        EXPECT_EQ(display[0][1], gbcColourOf(GbcColor{0, 1, 0}));
    }
}

TEST(GbrImport, LargeTilesAreCutIntoEightByEightTilesRowByRow)
{
    const struct {
        int w, h, count;
    } cases[] = {{8, 8, 3}, {8, 16, 1}, {16, 16, 1}, {16, 16, 2}, {32, 32, 1}, {8, 8, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " x" + std::to_string(c.count));
        auto lib = std::make_unique<TileLibrary>();
        const int made = std::min(512, c.count * (c.w / 8) * (c.h / 8));
        GbrBuilder g;
        g.tileData(c.w, c.h, c.count, gbrPixels(c.w, c.h, c.count))
            .tilePalettes(std::vector<std::uint32_t>(static_cast<size_t>(c.count), 5));
        ASSERT_TRUE(importGbrBytes(g.bytes, *lib, TILE_OBJ));
        for (int t = 0; t < made; ++t)
            ASSERT_EQ(lib->obj.tiles[static_cast<size_t>(t)].pixels, expectedTile(t)) << t;
        if (made < 512) {
            EXPECT_EQ(lib->obj.tiles[static_cast<size_t>(made)].pixels, (std::array<std::uint8_t, 64>{}));
        }
    }
    auto lib = std::make_unique<TileLibrary>();
    const std::vector<std::uint32_t> fives(600, 5);
    ASSERT_TRUE(importGbrBytes(GbrBuilder().tileData(8, 8, 600, gbrPixels(8, 8, 600)).tilePalettes(fives).bytes, *lib,
                               TILE_BG));
    EXPECT_EQ(lib->bg.tiles[511].palette(), 5);
}

TEST(GbrImport, RefusedFilesChangeNothing)
{
    auto lib = std::make_unique<TileLibrary>();
    lib->bg.tiles[0].pixels.fill(1);
    const TileSet before = lib->bg;
    const GbcPaletteGroup palBefore = lib->palettes.bgPalettes;
    const auto one = [] { return GbrBuilder().tileData(8, 8, 1, gbrPixels(8, 8, 1)); };
    std::vector<std::uint8_t> notGbo = one().bytes;
    notGbo[2] = 'X';
    std::vector<std::uint8_t> longLength = one().bytes;
    std::fill(longLength.begin() + 8, longLength.begin() + 12, 0xFF);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"signature", notGbo},
        // Earlier objects were fine, but the tile palettes come without tiles before them.
        {"tile palettes first", GbrBuilder().palettes({{0xFF0000, 0, 0, 0}}).tilePalettes({1}).bytes},
        {"24x24 tiles", GbrBuilder().tileData(24, 24, 1, gbrPixels(24, 24, 1)).bytes},
        {"16x8 tiles", GbrBuilder().tileData(16, 8, 1, gbrPixels(16, 8, 1)).bytes},
        {"16x16 data cut short", GbrBuilder().tileData(16, 16, 1, gbrPixels(8, 8, 3)).bytes},
        {"tile data head cut short", GbrBuilder().object(2, std::vector<std::uint8_t>(39, 0)).bytes},
        {"length past the end", longLength},
        {"no version", {'G', 'B', 'O'}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(importGbrBytes(c.bytes, *lib, TILE_BG).text(), "Invalid gbr file.") << c.what;
        EXPECT_TRUE(sameSets(lib->bg, before)) << c.what;
        EXPECT_EQ(lib->palettes.bgPalettes, palBefore) << c.what;
    }
    // A file of the header alone is a file without objects.
    EXPECT_TRUE(importGbrBytes(std::vector<std::uint8_t>{'G', 'B', 'O', '1'}, *lib, TILE_BG));
    EXPECT_FALSE(importGbrFile("/nonexistent/tiles.gbr", *lib, TILE_BG));

    // Every cut of a good file is either read or refused with nothing changed.
    const std::vector<std::uint8_t> good = GbrBuilder()
                                               .producer()
                                               .tileData(16, 16, 2, gbrPixels(16, 16, 2))
                                               .palettes({{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}})
                                               .tilePalettes({1, 2})
                                               .bytes;
    const auto pristine = std::make_unique<TileLibrary>();
    for (size_t n = 0; n < good.size(); ++n) {
        auto cut = std::make_unique<TileLibrary>();
        const Result r = importGbrBytes(std::span(good).first(n), *cut, TILE_BG);
        if (!r) {
            EXPECT_EQ(r.text(), "Invalid gbr file.");
            EXPECT_TRUE(sameSets(cut->bg, pristine->bg)) << n;
        }
    }
}
