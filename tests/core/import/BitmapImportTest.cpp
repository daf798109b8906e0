#include "core/import/BitmapImport.h"
#include "ImportBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace qm;
using namespace qm::test;

namespace {

// Key colours 0..3 and one colour outside the key.
const std::vector<std::uint32_t> KEY_TABLE = {0x000000, 0x5080C0, 0xA0A0A0, 0xF8F8F8, 0x123456};

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

// Block (bx, by) of an index picture of width w gets the pattern of number p:
// nine pixels of its second and third rows show the bits of p in colours 1 and 2.
void drawPattern(std::vector<std::uint8_t>& idx, int w, int bx, int by, int p)
{
    for (int i = 0; i < 10; ++i) {
        const int x = bx * 8 + i % 8, y = by * 8 + 1 + i / 8;
        idx[static_cast<size_t>(y * w + x)] = static_cast<std::uint8_t>(((p >> i) & 1) ? 2 : 1);
    }
}

// The block matching exactly as the import is described: compare with tiles
// 0..n-1 in turn.
struct Reference {
    std::vector<std::array<std::uint8_t, 64>> tiles;
    std::vector<int> cells;
};
Reference linearSearch(const std::vector<std::uint8_t>& indices, int w, int h)
{
    Reference ref;
    std::vector<std::array<std::uint8_t, 64>> set(512);
    int n = 0;
    std::vector<std::uint8_t> idx = indices;
    for (std::uint8_t& v : idx)
        if (v > 3)
            v = 0; // not a key colour
    for (int i = 0; i < 4; ++i)
        idx[static_cast<size_t>(i)] = 0;
    for (int ty = 0; ty < h / 8; ++ty)
        for (int tx = 0; tx < w / 8; ++tx) {
            std::array<std::uint8_t, 64> block{};
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    block[static_cast<size_t>(y * 8 + x)] = idx[static_cast<size_t>((ty * 8 + y) * w + tx * 8 + x)];
            int k = 0;
            while (k < n && set[static_cast<size_t>(k)] != block)
                ++k;
            if (k == n) {
                set[static_cast<size_t>(n)] = block;
                if (n < 511)
                    ++n;
            }
            ref.cells.push_back(k);
        }
    ref.tiles = set;
    return ref;
}

} // namespace

TEST(BitmapImport, TwoEqualBlocksShareTileZero)
{
    auto ws = freshWorkspace();
    ws->tiles.bg.tiles[1].pixels.fill(3);
    ws->tiles.bg.tiles[0].setComment("kept");
    ws->tiles.bg.tiles[0].setPalette(5);
    BitmapImportSummary summary;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(keyedIndices(16, 8), 16, 8, KEY_TABLE), *ws, TILE_BG, &summary));
    EXPECT_EQ(summary.tilesMade, 1);
    EXPECT_EQ(ws->project.map.width, 20);
    EXPECT_EQ(ws->project.map.height, 18);
    for (int x : {0, 1}) {
        const MapCell* c = ws->project.map.cellAt(x, 0);
        EXPECT_EQ(c->bgAttr, TILE_BG);
        EXPECT_EQ(c->bgTile, 0);
    }
    EXPECT_EQ(*ws->project.map.cellAt(2, 0), MapCell{});
    // The key pixels come out as colour 0; the tile keeps its other fields.
    const CTile& t0 = ws->tiles.bg.tiles[0];
    EXPECT_TRUE(std::all_of(t0.pixels.begin(), t0.pixels.end(), [](std::uint8_t p) { return p == 0; }));
    EXPECT_EQ(t0.commentText(), "kept");
    EXPECT_EQ(t0.palette(), 5);
    // Tiles from n on keep their former contents.
    EXPECT_EQ(ws->tiles.bg.tiles[1].pixels[0], 3);
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_MAP);
}

TEST(BitmapImport, KeyColoursDecideEveryPixelAndBecomePaletteZero)
{
    // Pixels in colour 4 (not in the key) become 0; colour 1 becomes 1, and so on.
    std::vector<std::uint8_t> idx = keyedIndices(8, 8);
    idx[8] = 1;
    idx[9] = 2;
    idx[10] = 3;
    idx[11] = 4;
    auto ws = freshWorkspace();
    ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, 8, 8, KEY_TABLE), *ws, TILE_BG));
    const auto& px = ws->tiles.bg.tiles[0].pixels;
    EXPECT_EQ((std::vector<int>(px.begin(), px.begin() + 12)), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0}));
    const GbcPalette& p0 = ws->tiles.palettes.bgPalettes[0];
    EXPECT_EQ(p0[0], (GbcColor{0, 0, 0}));
    EXPECT_EQ(p0[1], (GbcColor{0x50 >> 3, 0x80 >> 3, 0xC0 >> 3}));
    EXPECT_EQ(p0[3], (GbcColor{31, 31, 31}));
    EXPECT_EQ(ws->tiles.palettes.bgDisplay[0][1], gbcColourOf(p0[1]));

    // Two equal key colours: their pixels take the lower number.
    std::vector<std::uint32_t> table = KEY_TABLE;
    table[2] = table[1];
    ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, 8, 8, table), *ws, TILE_BG));
    EXPECT_EQ(px[9], 1);
    EXPECT_EQ(px[10], 3);
}

TEST(BitmapImport, PictureSmallerThanOneBlockSetsOnlyThePalette)
{
    auto ws = freshWorkspace();
    const auto tilesBefore = ws->tiles.bg.tiles;
    const auto cellsBefore = ws->project.map.cells;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(keyedIndices(7, 30), 7, 30, KEY_TABLE), *ws, TILE_BG));
    EXPECT_EQ(ws->project.map.cells, cellsBefore);
    for (size_t i = 0; i < 512; ++i)
        EXPECT_EQ(ws->tiles.bg.tiles[i].pixels, tilesBefore[i].pixels);
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][3], (GbcColor{31, 31, 31}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][1], (GbcColor{10, 16, 24}));
}

TEST(BitmapImport, TooManyColoursAndBrokenFilesChangeNothing)
{
    auto ws = freshWorkspace();
    ws->tiles.bg.tiles[0].pixels.fill(2);
    // A 24-bit picture is read whatever its depth; the DMG import takes 256 colours at most.
    BmpFields s;
    s.width = 16;
    s.height = 17;
    s.bits = 24;
    for (int i = 0; i < 16 * 17; ++i)
        for (int c = 0; c < 3; ++c)
            s.pixels.push_back(static_cast<std::uint8_t>(c == 0 ? i : i >> 8));
    Result r = importBitmapBytes(buildBmp(s), *ws, TILE_BG);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), "Can not import more that 256 color bitmap.");
    s.height = 16;
    s.pixels.resize(16 * 16 * 3);
    EXPECT_TRUE(importBitmapBytes(buildBmp(s), *freshWorkspace(), TILE_BG));

    std::vector<std::uint8_t> notBmp = indexedBmp(keyedIndices(8, 8), 8, 8, KEY_TABLE);
    notBmp[0] = 'P';
    r = importBitmapBytes(notBmp, *ws, TILE_BG);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), "the picture is neither a PNG picture nor a Windows bitmap");
    EXPECT_FALSE(importBitmapFile("/nonexistent/picture.bmp", *ws, TILE_BG));
    EXPECT_EQ(ws->tiles.bg.tiles[0].pixels[0], 2);
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][1], (GbcColor{6, 6, 6}));
    EXPECT_EQ(ws->project.changeFlags, 0);
}

TEST(BitmapImport, MapGrowsAtIndexZeroAndNeverShrinks)
{
    auto ws = freshWorkspace(3, 3);
    ws->project.map.cellAt(2, 2)->tag = 99;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(keyedIndices(32, 8), 32, 8, KEY_TABLE), *ws, TILE_BG));
    EXPECT_EQ(ws->project.map.width, 4);
    EXPECT_EQ(ws->project.map.height, 3);
    // One blank column was inserted before column 0.
    EXPECT_EQ(ws->project.map.cellAt(3, 2)->tag, 99);

    auto tall = freshWorkspace(5, 2);
    tall->project.map.cellAt(4, 1)->tag = 7;
    ASSERT_TRUE(importBitmapBytes(indexedBmp(keyedIndices(8, 32), 8, 32, KEY_TABLE), *tall, TILE_BG));
    EXPECT_EQ(tall->project.map.width, 5);
    EXPECT_EQ(tall->project.map.height, 4);
    EXPECT_EQ(tall->project.map.cellAt(4, 3)->tag, 7);
}

TEST(BitmapImport, MapThatCannotGrowLeavesEverythingAsItWas)
{
    // 4097 blocks across on a map of 4096 rows would pass the largest map we hold.
    auto ws = freshWorkspace(1, 4096);
    ws->tiles.bg.tiles[0].pixels.fill(3);
    const int w = 4097 * 8;
    const Result r = importBitmapBytes(indexedBmp(keyedIndices(w, 8), w, 8, KEY_TABLE), *ws, TILE_BG);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), "Not Enough memory to create new map. Operation failed");
    EXPECT_EQ(ws->project.map.width, 1);
    EXPECT_EQ(ws->tiles.bg.tiles[0].pixels[0], 3);
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][1], (GbcColor{6, 6, 6}));
    EXPECT_EQ(ws->project.changeFlags, 0);
}

TEST(BitmapImport, LayerOfTheShownPage)
{
    std::vector<std::uint8_t> idx = keyedIndices(16, 8);
    drawPattern(idx, 16, 1, 0, 5);
    const std::vector<std::uint8_t> bmp = indexedBmp(idx, 16, 8, KEY_TABLE);

    auto ws = freshWorkspace();
    ws->project.map.cellAt(1, 0)->bgAttr = TILE_BG | ATTR_PRIORITY | ATTR_FLIP_H | (3 << 2);
    ASSERT_TRUE(importBitmapBytes(bmp, *ws, TILE_OBJ));
    EXPECT_EQ(ws->project.map.cellAt(1, 0)->objAttr, TILE_OBJ);
    EXPECT_EQ(ws->project.map.cellAt(1, 0)->objTile, 1);
    EXPECT_EQ(ws->project.map.cellAt(1, 0)->bgAttr, TILE_BG | ATTR_PRIORITY | ATTR_FLIP_H | (3 << 2));

    ASSERT_TRUE(importBitmapBytes(bmp, *ws, TILE_BG));
    EXPECT_EQ(ws->project.map.cellAt(1, 0)->bgAttr, TILE_BG); // flips, priority and palette cleared

    auto tags = freshWorkspace();
    ASSERT_TRUE(importBitmapBytes(bmp, *tags, TILE_TAG));
    EXPECT_EQ(tags->project.map.cellAt(1, 0)->tag, 1);
    EXPECT_EQ(tags->project.map.cellAt(1, 0)->bgAttr, 0);

    // With the palette page shown the tiles and the palette come in, the map stays.
    auto pal = freshWorkspace();
    const auto before = pal->project.map.cells;
    ASSERT_TRUE(importBitmapBytes(bmp, *pal, TILE_NONE));
    EXPECT_EQ(pal->project.map.cells, before);
    EXPECT_EQ(pal->tiles.bg.tiles[1].pixels[8], 2);
    EXPECT_EQ(pal->tiles.palettes.bgPalettes[0][3], (GbcColor{31, 31, 31}));
}

TEST(BitmapImport, EqualsTheLinearSearchOnMixedPictures)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 6; ++round) {
        const int bw = 10 + round * 9, bh = 4 + round * 5;
        const int w = bw * 8 + round % 3, h = bh * 8 + round % 5; // stray pixels beyond the last block
        std::vector<std::uint8_t> idx = keyedIndices(w, h);
        const int variety = 40 << round; // from few shapes to more than 512: tile 511 takes the rest
        for (int by = 0; by < bh; ++by)
            for (int bx = 0; bx < bw; ++bx)
                if (bx || by)
                    drawPattern(idx, w, bx, by, static_cast<int>(rng() % static_cast<unsigned>(variety)));
        idx[static_cast<size_t>(w + 3)] = 4; // not a key colour
        auto ws = freshWorkspace();
        ASSERT_TRUE(importBitmapBytes(indexedBmp(idx, w, h, KEY_TABLE), *ws, TILE_BG));
        const Reference ref = linearSearch(idx, w, h);
        for (int i = 0; i < bw * bh; ++i)
            ASSERT_EQ(ws->project.map.cellAt(i % bw, i / bw)->bgTile, ref.cells[static_cast<size_t>(i)])
                << "round " << round << " block " << i;
        for (size_t t = 0; t < 512; ++t)
            ASSERT_EQ(ws->tiles.bg.tiles[t].pixels, ref.tiles[t]) << "round " << round << " tile " << t;
    }
}

TEST(BitmapImport, EveryPrefixEitherImportsOrChangesNothing)
{
    std::vector<std::uint8_t> idx = keyedIndices(24, 16);
    drawPattern(idx, 24, 1, 1, 77);
    const std::vector<std::uint8_t> bmp = indexedBmp(idx, 24, 16, KEY_TABLE, 4);
    for (size_t n = 0; n < bmp.size(); ++n) {
        auto ws = freshWorkspace(2, 2);
        const Result r = importBitmapBytes(std::span(bmp).first(n), *ws, TILE_BG);
        if (!r) {
            EXPECT_EQ(ws->project.map.width, 2);
            EXPECT_EQ(ws->project.changeFlags, 0);
            EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][1], (GbcColor{6, 6, 6}));
        }
    }
}
