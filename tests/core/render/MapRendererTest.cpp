#include "core/project/Workspace.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

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
        ASSERT_TRUE(renderer->createImages().map);
    }
    MapCell& cell(int x, int y) { return *ws->project.map.cellAt(x, y); }
    std::uint8_t px(int cx, int cy, int c, int r) const { return renderer->mapPixel(cx * 8 + c, cy * 8 + r); }
    std::uint8_t tagPx(int cx, int cy, int c, int r) const { return renderer->tagPixel(cx * 8 + c, cy * 8 + r); }

    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MapRenderer> renderer;
};

TEST_F(MapRendererTest, FreshImagesHoldEmptyIndexAndTagZero)
{
    EXPECT_EQ(renderer->columns(), 3);
    EXPECT_EQ(renderer->rows(), 2);
    EXPECT_EQ(renderer->stride(), 24u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            ASSERT_EQ(renderer->mapPixel(x, y), EMPTY_CELL_INDEX);
            ASSERT_EQ(renderer->tagPixel(x, y), 0);
        }
}

TEST_F(MapRendererTest, EmptyCellIsGreyWhateverItsPaletteBits)
{
    cell(0, 0).bgAttr = 0x1C | ATTR_FLIP_H; // palette 7, no BG mark
    cell(0, 0).objAttr = 0x1C;
    cell(0, 0).bgTile = 5;
    renderer->renderCell(0, 0);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            ASSERT_EQ(px(0, 0, c, r), EMPTY_CELL_INDEX);
}

TEST_F(MapRendererTest, BgTileWithPaletteAndFlips)
{
    cell(0, 0).place(TILE_BG, 5, 2);
    cell(1, 0).place(TILE_BG, 5, 0);
    cell(1, 0).bgAttr |= ATTR_FLIP_H;
    cell(2, 0).place(TILE_BG, 5, 0);
    cell(2, 0).bgAttr |= ATTR_FLIP_V;
    cell(0, 1).place(TILE_BG, 5, 1);
    cell(0, 1).bgAttr |= ATTR_FLIP_H | ATTR_FLIP_V;
    renderer->renderArea(0, 0, 2, 1);
    const CTile& t = ws->tiles.bg.tiles[5];
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(px(0, 0, c, r), t.pixel(c, r) + 8);
            EXPECT_EQ(px(1, 0, c, r), t.pixel(7 - c, r));
            EXPECT_EQ(px(2, 0, c, r), t.pixel(c, 7 - r));
            EXPECT_EQ(px(0, 1, c, r), t.pixel(7 - c, 7 - r) + 4); // turned by 180 degrees
        }
}

TEST_F(MapRendererTest, BankOneTileIsDrawnFromItsOwnNumber)
{
    cell(1, 1).place(TILE_BG, 300, 0);
    renderer->renderCell(1, 1);
    EXPECT_EQ(px(1, 1, 0, 0), 1);
    EXPECT_EQ(px(1, 1, 7, 7), 2);
}

TEST_F(MapRendererTest, ObjOverBgOpaqueTransparentAndHidden)
{
    MapCell& c = cell(0, 0);
    c.place(TILE_BG, 300, 1);
    c.place(TILE_OBJ, 7, 2);
    c.objAttr |= ATTR_FLIP_H; // colour 3 now on the left half
    renderer->renderCell(0, 0);
    EXPECT_EQ(px(0, 0, 0, 0), 32 + 8 + 3);
    EXPECT_EQ(px(0, 0, 7, 3), 32 + 8 + 0);

    renderer->objTransparent = true;
    renderer->renderCell(0, 0);
    EXPECT_EQ(px(0, 0, 0, 0), 32 + 8 + 3);
    EXPECT_EQ(px(0, 0, 7, 3), 4 + 2); // BG shows through OBJ colour 0

    renderer->objHidden = true;
    renderer->renderCell(0, 0);
    EXPECT_EQ(px(0, 0, 0, 0), 4 + 1);
    EXPECT_EQ(px(0, 0, 7, 3), 4 + 2);
}

TEST_F(MapRendererTest, TransparentObjWithoutBgShowsEmptyIndex)
{
    cell(2, 1).place(TILE_OBJ, 7, 5);
    renderer->objTransparent = true;
    renderer->renderCell(2, 1);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(px(2, 1, 0, r), EMPTY_CELL_INDEX);
        EXPECT_EQ(px(2, 1, 7, r), 32 + 20 + 3);
    }
}

TEST_F(MapRendererTest, OutOfRangeValuesStayInsideTheImage)
{
    cell(0, 0).bgAttr = TILE_BG;
    cell(0, 0).bgTile = 9000; // not in the set: drawn as empty
    ws->tiles.bg.tiles[5].pixels.fill(0xFF);
    cell(1, 0).place(TILE_BG, 5, 7);
    renderer->renderArea(-5, -5, 99, 99);
    renderer->renderCell(3, 0);
    renderer->renderCell(-1, 0);
    EXPECT_EQ(px(0, 0, 0, 0), EMPTY_CELL_INDEX);
    EXPECT_EQ(px(1, 0, 3, 3), 31);
}

TEST_F(MapRendererTest, TagsUseTheTagTilePaletteUnflipped)
{
    cell(1, 0).tag = 9;
    cell(1, 0).place(TILE_OBJ, 7, 0);
    cell(1, 0).objAttr |= ATTR_FLIP_V;
    renderer->renderTagArea(0, 0, 2, 1);
    EXPECT_EQ(tagPx(1, 0, 0, 0), 12); // colour 0 of palette 3
    EXPECT_EQ(tagPx(1, 0, 0, 7), 14);
    EXPECT_EQ(tagPx(0, 0, 0, 0), 0); // tag 0 is blank
    renderer->renderTagCell(0, 1, 9);
    EXPECT_EQ(tagPx(0, 1, 5, 5), 14);
}

TEST_F(MapRendererTest, RenderCellsUsingTilesTouchesOnlyMatchingCells)
{
    cell(0, 0).place(TILE_BG, 5, 0);
    cell(1, 0).place(TILE_BG, 300, 0);
    cell(2, 0).place(TILE_OBJ, 5, 0); // same number, other layer
    renderer->renderCellsUsingTiles(TILE_BG, 5, 5);
    EXPECT_EQ(px(0, 0, 1, 0), 1);
    EXPECT_EQ(px(1, 0, 0, 0), EMPTY_CELL_INDEX);
    EXPECT_EQ(px(2, 0, 0, 0), EMPTY_CELL_INDEX);
    renderer->renderCellsUsingTiles(TILE_BG, 6, 511);
    EXPECT_EQ(px(1, 0, 0, 0), 1);

    cell(2, 1).tag = 9;
    renderer->renderCellsUsingTiles(TILE_TAG, 9, 9);
    EXPECT_EQ(tagPx(2, 1, 0, 7), 14);
}

TEST_F(MapRendererTest, ImagesFollowTheMapSizeOnlyWhenRecreated)
{
    ASSERT_TRUE(ws->project.map.create(1, 1));
    cell(0, 0).place(TILE_BG, 5, 0);
    renderer->renderArea(0, 0, 5, 5); // old 3 x 2 images, 1 x 1 map: no overrun
    EXPECT_EQ(px(0, 0, 1, 0), 1);
    ASSERT_TRUE(renderer->createImages().map);
    EXPECT_EQ(renderer->stride(), 8u);
}

TEST_F(MapRendererTest, MemoryFailuresGiveTheirMessages)
{
    renderer->maxImageBytes = 100;
    const MapRenderer::CreateResult r = renderer->createImages();
    EXPECT_EQ(r.map.text(), "Not enough memory to create map");
    EXPECT_EQ(r.tag.text(), "Not enough memory to create tag map");
    EXPECT_FALSE(renderer->hasMapImage());
    renderer->renderAll(); // harmless without images
    renderer->renderCellsUsingTiles(TILE_BG, 0, 511);
}

// Large areas are drawn from a table of flipped tiles; single cells directly.
// Both must give the same pixels.
TEST(MapRendererLargeAreaTest, TableAndDirectRenderingAgree)
{
    auto ws = std::make_unique<Workspace>();
    ASSERT_TRUE(ws->project.map.create(64, 48));
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (TileSet* set : {&ws->tiles.bg, &ws->tiles.obj})
        for (CTile& t : set->tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(next() & 3);
    for (MapCell& c : ws->project.map.cells) {
        c.bgAttr = static_cast<std::uint8_t>(next() & 0x7F);
        c.bgTile = static_cast<std::uint16_t>(next() % 600);
        c.objAttr = static_cast<std::uint8_t>(next() & 0xFF);
        c.objTile = static_cast<std::uint16_t>(next() % 600);
    }
    for (bool transparent : {false, true}) {
        MapRenderer whole(ws->project.map, ws->tiles);
        MapRenderer single(ws->project.map, ws->tiles);
        whole.objTransparent = single.objTransparent = transparent;
        ASSERT_TRUE(whole.createImages().map);
        ASSERT_TRUE(single.createImages().map);
        whole.renderAll();
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                single.renderCell(x, y);
        ASSERT_EQ(0, std::memcmp(whole.mapImage(), single.mapImage(), whole.stride() * 48 * 8));
    }
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
    EXPECT_EQ(t[11], tiles.palettes.bgMonoDisplay[2][3]);
    EXPECT_EQ(t[32 + 6], tiles.palettes.objMonoDisplay[1][2]);

    tiles.dmgMode = false;
    refreshColourTable(t, tiles, std::uint64_t(1) << 11);
    EXPECT_EQ(t[11], (DisplayColour{248, 0, 0}));
    EXPECT_EQ(t[32 + 6], tiles.palettes.objMonoDisplay[1][2]); // bit not set: kept
}

} // namespace
} // namespace qm
