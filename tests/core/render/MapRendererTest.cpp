#include "core/project/Workspace.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace qm {
namespace {

// A 3 x 2 map with a BG tile whose pixel (c, r) is (c + 2r) % 4 and an OBJ
// tile that is colour 0 on its left half and 3 on its right half.
class MapRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        ASSERT_TRUE(ws->project.map.create(3, 2));
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                ws->tiles.bg.tiles[5].setPixel(c, r, static_cast<std::uint8_t>((c + 2 * r) % 4));
                ws->tiles.bg.tiles[300].setPixel(c, r, static_cast<std::uint8_t>(c < 4 ? 1 : 2));
                ws->tiles.obj.tiles[7].setPixel(c, r, static_cast<std::uint8_t>(c < 4 ? 0 : 3));
                ws->tiles.tag.tiles[9].setPixel(c, r, static_cast<std::uint8_t>(r < 4 ? 0 : 2));
            }
        ws->tiles.tag.tiles[9].setPalette(3);
        renderer = std::make_unique<MapRenderer>(ws->project.map, ws->tiles);
        renderer->reset();
    }
    MapCell& cell(int x, int y) { return *ws->project.map.cellAt(x, y); }
    std::uint8_t px(int cx, int cy, int c, int r) const { return renderer->mapPixel(cx * 8 + c, cy * 8 + r); }
    std::uint8_t tagPx(int cx, int cy, int c, int r) const { return renderer->tagPixel(cx * 8 + c, cy * 8 + r); }

    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MapRenderer> renderer;
};

TEST_F(MapRendererTest, EmptyCellsAndBgTilesWithPalettesFlipsAndBanks)
{
    cell(0, 0).set(0x1C | ATTR_FLIP_H, 5, 0x1C, 0, 0); // palette 7 but no BG mark: grey
    for (const auto& [x, y, palette, flips] : {std::tuple{1, 0, 0, ATTR_FLIP_H}, {2, 0, 0, ATTR_FLIP_V}, {0, 1, 1, ATTR_FLIP_H | ATTR_FLIP_V}}) {
        cell(x, y).place(TILE_BG, 5, palette);
        cell(x, y).bgAttr |= flips;
    }
    cell(1, 1).place(TILE_BG, 300, 0);
    cell(2, 1).set(TILE_BG, 9000, 0, 0, 0); // not in the set: drawn as empty
    const CTile& t = ws->tiles.bg.tiles[5];
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            ASSERT_EQ(px(0, 0, c, r), EMPTY_CELL_INDEX);
            EXPECT_EQ(px(1, 0, c, r), t.pixel(7 - c, r));
            EXPECT_EQ(px(2, 0, c, r), t.pixel(c, 7 - r));
            EXPECT_EQ(px(0, 1, c, r), t.pixel(7 - c, 7 - r) + 4); // turned by 180 degrees
            EXPECT_EQ(px(1, 1, c, r), c < 4 ? 1 : 2);
            EXPECT_EQ(px(2, 1, c, r), EMPTY_CELL_INDEX);
        }
}

TEST_F(MapRendererTest, ObjOverBgOpaqueTransparentAndHidden)
{
    cell(0, 0).place(TILE_BG, 300, 1);
    cell(0, 0).place(TILE_OBJ, 7, 2);
    cell(0, 0).objAttr |= ATTR_FLIP_H; // colour 3 now on the left half
    cell(2, 1).place(TILE_OBJ, 7, 5);
    struct Case { bool transparent, hidden; int left, right, aloneLeft; };
    for (const Case k : {Case{false, false, 32 + 8 + 3, 32 + 8, 32 + 20},
                         Case{true, false, 32 + 8 + 3, 4 + 2, EMPTY_CELL_INDEX},
                         Case{true, true, 4 + 1, 4 + 2, EMPTY_CELL_INDEX}}) {
        renderer->objTransparent = k.transparent;
        renderer->objHidden = k.hidden;
        renderer->renderAll();
        EXPECT_EQ(px(0, 0, 0, 0), k.left);
        EXPECT_EQ(px(0, 0, 7, 3), k.right); // transparent: the BG shows through OBJ colour 0
        EXPECT_EQ(px(2, 1, 0, 5), k.aloneLeft);
    }
}

TEST_F(MapRendererTest, TagsUseTheTagTilePaletteUnflipped)
{
    cell(1, 0).set(0, 0, TILE_OBJ | ATTR_FLIP_V, 7, 9);
    EXPECT_EQ(tagPx(1, 0, 0, 0), 12); // colour 0 of palette 3
    EXPECT_EQ(tagPx(1, 0, 0, 7), 14);
    EXPECT_EQ(tagPx(0, 0, 0, 0), 0); // tag 0 is blank
}

TEST_F(MapRendererTest, AShrunkMapIsNotReadPastItsEnd)
{
    ASSERT_TRUE(ws->project.map.create(1, 1));
    cell(0, 0).place(TILE_BG, 5, 0);
    renderer->renderArea(0, 0, 5, 5); // blocks of the 3 x 2 map, a 1 x 1 map: no overrun
    EXPECT_EQ(px(2, 1, 0, 0), EMPTY_CELL_INDEX);
    EXPECT_EQ(px(0, 0, 1, 0), 1);
}

// Random maps and tiles; what the cache gives must equal a whole picture
// drawn afresh, whatever was edited, scrolled to or evicted before.
class BlockCacheTest : public ::testing::Test {
protected:
    static constexpr int W = 100, H = 70; // blocks cut at both edges
    void SetUp() override
    {
        ASSERT_TRUE(ws.project.map.create(W, H));
        for (TileSet* set : {&ws.tiles.bg, &ws.tiles.obj, &ws.tiles.tag})
            for (CTile& t : set->tiles)
                for (auto& p : t.pixels)
                    p = static_cast<std::uint8_t>(rng() & 3);
        for (MapCell& c : ws.project.map.cells)
            randomCell(c);
        renderer.reset();
        renderer.setMemoryBudget(0); // the fewest blocks: most reads evict
    }
    void randomCell(MapCell& c)
    {
        c.set(static_cast<std::uint8_t>(rng()), static_cast<std::uint16_t>(rng() % 520),
              static_cast<std::uint8_t>(rng()), static_cast<std::uint16_t>(rng() % 520), static_cast<std::uint8_t>(rng()));
    }
    // The rectangle through the cache equals the same pixels drawn whole.
    void expectRectMatches(MapImage image, int px, int py, int w, int h)
    {
        std::vector<std::uint8_t> got(static_cast<std::size_t>(w) * h), whole(std::size_t(W) * 8 * 8 * H);
        renderer.readPixels(image, px, py, w, h, got.data(), static_cast<std::size_t>(w));
        MapRenderer fresh(ws.project.map, ws.tiles);
        std::tie(fresh.objHidden, fresh.objTransparent) = std::pair(renderer.objHidden, renderer.objTransparent);
        fresh.reset();
        fresh.drawRows(image, 0, H, whole.data(), W * 8);
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(0, std::memcmp(&got[static_cast<std::size_t>(y) * w],
                                     &whole[static_cast<std::size_t>(py + y) * W * 8 + px], static_cast<std::size_t>(w)))
                << "row " << py + y;
    }
    int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    std::mt19937 rng{18};
    Workspace ws;
    MapRenderer renderer{ws.project.map, ws.tiles};
};

TEST_F(BlockCacheTest, EditsScrollsAndEvictionsGiveTheWholePicture)
{
    for (int step = 0; step < 120; ++step) {
        const MapImage image = below(2) ? MapImage::Map : MapImage::Tags;
        switch (below(5)) {
        case 0: { // a cell, as the editing tools change one
            const int x = below(W), y = below(H);
            randomCell(*ws.project.map.cellAt(x, y));
            renderer.renderCell(x, y);
            renderer.renderTagCell(x, y);
            break;
        }
        case 1: { // an area, as a fill and its Undo
            const int x1 = below(W), y1 = below(H), x2 = x1 + below(40), y2 = y1 + below(40);
            for (int y = y1; y <= std::min(y2, H - 1); ++y)
                for (int x = x1; x <= std::min(x2, W - 1); ++x)
                    randomCell(*ws.project.map.cellAt(x, y));
            renderer.renderArea(x1, y1, x2, y2);
            renderer.renderTagArea(x1, y1, x2, y2);
            break;
        }
        case 2: { // tile pixels
            const TileKind kind = std::array{TILE_BG, TILE_OBJ, TILE_TAG}[below(3)];
            const int first = below(512), last = first + below(4);
            for (int t = first; t <= std::min(last, 511); ++t)
                ws.tiles.tileSet(kind)->tiles[static_cast<std::size_t>(t)].pixels.fill(static_cast<std::uint8_t>(below(4)));
            renderer.renderCellsUsingTiles(kind, first, last);
            break;
        }
        case 3: // a display switch
            renderer.objTransparent = below(2);
            renderer.objHidden = below(4) == 0;
            renderer.renderAll();
            break;
        default:
            renderer.setMemoryBudget(std::size_t(below(12)) << 16);
            break;
        }
        const int w = 1 + below(400), h = 1 + below(300);
        expectRectMatches(image, below(W * 8 - w + 1), below(H * 8 - h + 1), w, h);
    }
}

TEST_F(BlockCacheTest, AnEditOutsideTheCachedBlocksAppearsWhenItsBlockIsDrawn)
{
    expectRectMatches(MapImage::Map, 0, 0, 8, 8); // block (0, 0) is cached
    expectRectMatches(MapImage::Map, 0, 0, W * 8, H * 8); // and evicted by the others
    EXPECT_EQ(renderer.cachedBytes(), BlockCache::MIN_BLOCKS * 256 * 256);
    ws.project.map.cellAt(1, 1)->place(TILE_BG, 3, 2); // no render call: nothing cached shows it
    expectRectMatches(MapImage::Map, 0, 0, 24, 24);
}

TEST(ColourTableTest, ColourAndMonochromeEntries)
{
    TileLibrary tiles;
    tiles.palettes.bgPalettes[2][3] = GbcColor{31, 0, 0};
    tiles.palettes.objPalettes[1][2] = GbcColor{0, 31, 0};
    tiles.palettes.trueColour = true;
    tiles.palettes.recomputeAll();
    ColourTable t = buildColourTable(tiles);
    EXPECT_EQ(t[11], (DisplayColour{248, 0, 0}));
    EXPECT_EQ(t[32 + 6], (DisplayColour{0, 248, 0}));
    EXPECT_EQ(t[64], (DisplayColour{200, 200, 200}));

    tiles.dmgMode = true;
    t = buildColourTable(tiles);
    EXPECT_EQ(std::pair(t[11], t[32 + 6]), std::pair(tiles.palettes.bgMonoDisplay[2][3], tiles.palettes.objMonoDisplay[1][2]));
    tiles.dmgMode = false;
    refreshColourTable(t, tiles, std::uint64_t(1) << 11); // only entry 11 is refreshed
    EXPECT_EQ(std::pair(t[11], t[32 + 6]), std::pair(DisplayColour{248, 0, 0}, tiles.palettes.objMonoDisplay[1][2]));
}

} // namespace
} // namespace qm
