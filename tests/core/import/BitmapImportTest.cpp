#include "core/import/BitmapImport.h"
#include "ImportBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// Key colours 0..3 and one colour outside the key.
const std::vector<std::uint32_t> KEY_TABLE = {0x000000, 0x5080C0, 0xA0A0A0, 0xF8F8F8, 0x123456};
constexpr GbcColor GREY{6, 6, 6}; // colour 1 of a new palette

std::unique_ptr<Workspace> freshWorkspace(int w = 20, int h = 18)
{
    auto ws = std::make_unique<Workspace>();
    ws->project.map.create(w, h);
    return ws;
}

// A picture whose first row starts with the key 0, 1, 2, 3.
std::vector<std::uint8_t> keyedIndices(int w, int h)
{
    std::vector<std::uint8_t> idx(static_cast<size_t>(w * h), 0);
    for (int i = 0; i < 4 && i < w; ++i)
        idx[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i);
    return idx;
}

std::vector<std::uint8_t> keyedBmp(int w, int h) { return indexedBmp(keyedIndices(w, h), w, h, KEY_TABLE); }

// Block (bx, by) gets the pattern of number p: ten pixels of its second and
// third rows show the bits of p in colours 1 and 2.
void drawPattern(std::vector<std::uint8_t>& idx, int w, int bx, int by, int p)
{
    for (int i = 0; i < 10; ++i)
        idx[static_cast<size_t>((by * 8 + 1 + i / 8) * w + bx * 8 + i % 8)] = ((p >> i) & 1) ? 2 : 1;
}

// Nothing the user made was touched.
void expectUnchanged(const Workspace& ws, int mapWidth)
{
    EXPECT_EQ(ws.project.map.width, mapWidth);
    EXPECT_EQ(ws.tiles.palettes.bgPalettes[0][1], GREY);
    EXPECT_EQ(ws.project.changeFlags, 0);
}

} // namespace

TEST(BitmapImport, KeyColoursGiveThePixelsAndPaletteZeroAndEqualBlocksShareTileZero)
{
    // Row 1: colours 1, 2, 3 and 4 (not in the key, so 0).
    std::vector<std::uint8_t> idx = keyedIndices(16, 8);
    for (int i = 0; i < 4; ++i) {
        idx[static_cast<size_t>(16 + i)] = static_cast<std::uint8_t>(i + 1);
        idx[static_cast<size_t>(24 + i)] = static_cast<std::uint8_t>(i + 1);
    }
    auto ws = freshWorkspace();
    ws->tiles.bg.tiles[1].pixels.fill(3);
    ws->tiles.bg.tiles[0].setComment("kept");
    ws->tiles.bg.tiles[0].setPalette(5);
    BitmapImportSummary summary;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, 16, 8, KEY_TABLE), *ws, TILE_BG, &summary));
    EXPECT_EQ(summary.tilesMade, 1);
    EXPECT_EQ(ws->project.map.width, 20);
    EXPECT_EQ(ws->project.map.height, 18);
    for (int x : {0, 1})
        EXPECT_EQ(*ws->project.map.cellAt(x, 0), (MapCell{TILE_BG, 0, 0, 0, 0})) << x;
    EXPECT_EQ(*ws->project.map.cellAt(2, 0), MapCell{});
    const auto& px = ws->tiles.bg.tiles[0].pixels;
    EXPECT_EQ((std::vector<int>(px.begin(), px.begin() + 12)), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0}));
    EXPECT_EQ(ws->tiles.bg.tiles[0].commentText(), "kept");
    EXPECT_EQ(ws->tiles.bg.tiles[0].palette(), 5);
    EXPECT_EQ(ws->tiles.bg.tiles[1].pixels[0], 3); // tiles from n on keep what they held
    const GbcPaletteGroup& pal = ws->tiles.palettes.bgPalettes;
    EXPECT_EQ(pal[0], (GbcPalette{GbcColor{0, 0, 0}, GbcColor{10, 16, 24}, GbcColor{20, 20, 20}, GbcColor{31, 31, 31}}));
    EXPECT_EQ(ws->tiles.palettes.bgDisplay[0][1], gbcColourOf(pal[0][1]));
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_MAP);

    // Two equal key colours: their pixels take the lower number.
    std::vector<std::uint32_t> table = KEY_TABLE;
    table[2] = table[1];
    ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, 16, 8, table), *ws, TILE_BG));
    EXPECT_EQ(px[9], 1);
    EXPECT_EQ(px[10], 3);

    // A picture narrower than one block sets only the palette.
    auto small = freshWorkspace();
    const Workspace before = *small;
    ASSERT_TRUE(importBitmapBytes(keyedBmp(7, 30), *small, TILE_BG));
    EXPECT_EQ(small->project.map.cells, before.project.map.cells);
    for (size_t i = 0; i < 512; ++i)
        EXPECT_EQ(small->tiles.bg.tiles[i].pixels, before.tiles.bg.tiles[i].pixels);
    EXPECT_EQ(small->tiles.palettes.bgPalettes[0][1], (GbcColor{10, 16, 24}));
}

TEST(BitmapImport, RefusalsChangeNothing)
{
    // A 24-bit picture is read whatever its depth; the DMG import takes 256 colours at most.
    BmpFields deep;
    deep.width = 16;
    deep.height = 17;
    deep.bits = 24;
    for (int i = 0; i < 16 * 17; ++i)
        deep.pixels.insert(deep.pixels.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0});
    std::vector<std::uint8_t> notBmp = keyedBmp(8, 8);
    notBmp[0] = 'P';
    const int w = 4097 * 8; // 4097 blocks across a map of 4096 rows pass the largest map we hold

    const struct {
        std::vector<std::uint8_t> bytes;
        int mapWidth, mapHeight;
        std::string text;
    } cases[] = {
        {buildBmp(deep), 20, 18, "Can not import more that 256 color bitmap."},
        {notBmp, 20, 18, "the picture is neither a PNG picture nor a Windows bitmap"},
        {indexedBmp(keyedIndices(w, 8), w, 8, KEY_TABLE), 1, 4096,
         "Not Enough memory to create new map. Operation failed"},
    };
    for (const auto& c : cases) {
        auto ws = freshWorkspace(c.mapWidth, c.mapHeight);
        ws->tiles.bg.tiles[0].pixels.fill(2);
        EXPECT_EQ(importBitmapBytes(c.bytes, *ws, TILE_BG).text(), c.text);
        EXPECT_EQ(ws->tiles.bg.tiles[0].pixels[0], 2);
        expectUnchanged(*ws, c.mapWidth);
    }
    deep.height = 16; // 256 colours
    deep.pixels.resize(16 * 16 * 3);
    EXPECT_TRUE(importBitmapBytes(buildBmp(deep), *freshWorkspace(), TILE_BG));
    EXPECT_FALSE(importBitmapFile("/nonexistent/picture.bmp", *freshWorkspace(), TILE_BG));

    // Every cut of a good file either imports or changes nothing.
    std::vector<std::uint8_t> idx = keyedIndices(24, 16);
    drawPattern(idx, 24, 1, 1, 77);
    const std::vector<std::uint8_t> bmp = indexedBmp(idx, 24, 16, KEY_TABLE, 4);
    for (size_t n = 0; n < bmp.size(); ++n) {
        auto ws = freshWorkspace(2, 2);
        if (!importBitmapBytes(std::span(bmp).first(n), *ws, TILE_BG))
            expectUnchanged(*ws, 2);
    }
}

TEST(BitmapImport, MapGrowsAtIndexZeroAndNeverShrinks)
{
    const struct {
        int mapW, mapH, picW, picH, grownW, grownH;
    } cases[] = {{3, 3, 32, 8, 4, 3}, {5, 2, 8, 32, 5, 4}};
    for (const auto& c : cases) {
        auto ws = freshWorkspace(c.mapW, c.mapH);
        ws->project.map.cellAt(c.mapW - 1, c.mapH - 1)->tag = 99;
        ASSERT_TRUE(importBitmapBytes(keyedBmp(c.picW, c.picH), *ws, TILE_BG));
        EXPECT_EQ(ws->project.map.width, c.grownW);
        EXPECT_EQ(ws->project.map.height, c.grownH);
        // Blank columns and rows were inserted before the first.
        EXPECT_EQ(ws->project.map.cellAt(c.grownW - 1, c.grownH - 1)->tag, 99);
    }
}

TEST(BitmapImport, LayerOfTheShownPage)
{
    std::vector<std::uint8_t> idx = keyedIndices(16, 8);
    drawPattern(idx, 16, 1, 0, 5);
    const std::vector<std::uint8_t> bmp = indexedBmp(idx, 16, 8, KEY_TABLE);
    const std::uint8_t bgAttr = TILE_BG | ATTR_PRIORITY | ATTR_FLIP_H | (3 << 2);
    const struct {
        TileKind page;
        MapCell cell; // (1, 0) after the import
    } cases[] = {
        {TILE_OBJ, MapCell{bgAttr, 0, TILE_OBJ, 1, 0}},
        {TILE_BG, MapCell{TILE_BG, 1, 0, 0, 0}}, // flips, priority and palette cleared
        {TILE_TAG, MapCell{bgAttr, 0, 0, 0, 1}},
        {TILE_NONE, MapCell{bgAttr, 0, 0, 0, 0}}, // the palette page: tiles and palette, not the map
    };
    for (const auto& c : cases) {
        auto ws = freshWorkspace();
        ws->project.map.cellAt(1, 0)->bgAttr = bgAttr;
        ASSERT_TRUE(importBitmapBytes(bmp, *ws, c.page));
        EXPECT_EQ(*ws->project.map.cellAt(1, 0), c.cell) << int(c.page);
        EXPECT_EQ(ws->tiles.bg.tiles[1].pixels[8], 2);
        EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][3], (GbcColor{31, 31, 31}));
    }
}

TEST(BitmapImport, EqualBlocksShareTheFirstTileAndPast511NewBlocksAllGoToTile511)
{
    // 40 x 14 blocks and stray pixels past the last column; block b shows
    // pattern b % 540, so the last 20 repeat earlier ones: the very last
    // pattern 511, which tile 511 held before later blocks took it.
    const int bw = 40, bh = 14, w = bw * 8 + 3;
    std::vector<std::uint8_t> idx = keyedIndices(w, bh * 8);
    const auto pattern = [&](int b) { return b == bw * bh - 1 ? 511 : b % 540; };
    for (int b = 0; b < bw * bh; ++b)
        drawPattern(idx, w, b % bw, b / bw, pattern(b));
    idx[static_cast<size_t>(3 * w + 3)] = 4; // not a key colour: 0, like the pixels around it
    auto ws = freshWorkspace();
    BitmapImportSummary summary;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, w, bh * 8, KEY_TABLE), *ws, TILE_BG, &summary));
    EXPECT_EQ(summary.tilesMade, 512);
    const auto patternTile = [](int p) {
        std::vector<std::uint8_t> one(64, 0);
        drawPattern(one, 8, 0, 0, p);
        std::array<std::uint8_t, 64> a{};
        std::copy(one.begin(), one.end(), a.begin());
        return a;
    };
    for (int b = 0; b < bw * bh; ++b)
        ASSERT_EQ(ws->project.map.cellAt(b % bw, b / bw)->bgTile, std::min(pattern(b), 511)) << b;
    for (int t = 0; t < 511; ++t)
        ASSERT_EQ(ws->tiles.bg.tiles[static_cast<size_t>(t)].pixels, patternTile(t)) << t;
    EXPECT_EQ(ws->tiles.bg.tiles[511].pixels, patternTile(511)); // the last block that was not found
}
