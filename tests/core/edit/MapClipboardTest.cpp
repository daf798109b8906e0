#include "core/edit/MapClipboard.h"

#include "core/edit/MapCommands.h"
#include "support/TestSupport.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

using MapClipboardTest = MapEditTest;

TEST(MapClipboardStream, GoldenBytesRoundTripAndDamagedStreams)
{
    const std::vector<ClipboardEntry> entries{{0, 0, 0x44, 300}, {-1, 2, 0x80, -2}};
    const test::Bytes golden{
        2, 0, 0, 0,                                                       // count
        0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x2C, 0x01, 0, 0,                   // (0,0) 0x44 300
        0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0x80, 0xFE, 0xFF, 0xFF, 0xFF, // (-1,2) 0x80 -2
    };
    EXPECT_EQ(encodeClipboard(entries), golden);
    EXPECT_EQ(decodeClipboard(golden.data(), golden.size()), entries);
    EXPECT_FALSE(decodeClipboard(nullptr, 0));
    EXPECT_EQ(test::wrongPrefix(golden, [](auto b) { return decodeClipboard(b.data(), b.size()); }), std::nullopt);
    test::Bytes damaged = golden;
    damaged.push_back(0); // longer than announced
    EXPECT_FALSE(decodeClipboard(damaged.data(), damaged.size()));
    for (const std::uint8_t high : {0x7F, 0xFF}) { // an absurd count, a negative one
        damaged = test::ByteBuilder().bytes({0xFF, 0xFF, 0xFF, high}).b;
        EXPECT_FALSE(decodeClipboard(damaged.data(), damaged.size()));
    }
}

// Past the ui's CQuiltmarkViewToolsTest (a dragged block, the refused cut of tags):
TEST_F(MapClipboardTest, APasteWritesOnlyCellsOnTheMapWhateverTheOffsets)
{
    for (int i = 0; i < 4; ++i)
        cell(5 + i % 2, 3 + i / 2).place(TILE_BG, i + 1, i + 1);
    const std::vector<ClipboardEntry> copied = copyCells(map(), rectangleCells({6, 4}, {5, 3}), TILE_BG);
    EXPECT_EQ(copied, (std::vector<ClipboardEntry>{{0, 0, TILE_BG | 4, 1}, {1, 0, TILE_BG | 8, 2},
                                                   {0, 1, TILE_BG | 12, 3}, {1, 1, TILE_BG | 16, 4}}));
    MapEdit e = edit();
    EXPECT_EQ(pasteCells(e, copied, {7, 5}).changed, 1);
    // The first selected cell is the bottom-right one: offsets are negative.
    const std::vector<ClipboardEntry> back = copyCells(map(), {{6, 4}, {5, 3}}, TILE_BG);
    EXPECT_EQ(back[1], (ClipboardEntry{-1, -1, TILE_BG | 4, 1}));
    EXPECT_EQ(pasteCells(e, back, {0, 7}).changed, 0);
    EXPECT_EQ(pasteCells(e, back, {0, 0}).changed, 1);
    EXPECT_EQ(tiles(), "4 . . . . . . .|. . . . . . . .|. . . . . . . .|. . . . . 1 2 .|. . . . . 3 4 .|"
                       ". . . . . . . 1|");
}

TEST_F(MapClipboardTest, PasteSetsTheLayerMarkOfTheViewAndTagsTakeTheLowByte)
{
    cell(0, 0).set(0, 0, 0x08, 7, 0);
    MapEdit bg = edit(TILE_BG);
    pasteCells(bg, copyCells(map(), {{0, 0}}, TILE_OBJ), {2, 0}); // an empty OBJ part
    EXPECT_EQ(cell(2, 0), (MapCell{TILE_BG | 0x08, 7, 0, 0, 0}));
    pasteCells(bg, {{0, 0, TILE_OBJ | 0x04, 5}}, {3, 0}); // never the OBJ mark in bgAttr
    EXPECT_EQ(cell(3, 0), (MapCell{TILE_BG | 0x04, 5, 0, 0, 0}));
    MapEdit obj = edit(TILE_OBJ);
    pasteCells(obj, {{0, 0, TILE_BG | 0x04, 5}}, {3, 0});
    EXPECT_EQ(cell(3, 0), (MapCell{TILE_BG | 0x04, 5, TILE_OBJ | 0x04, 5, 0}));
    MapEdit tags = edit(TILE_TAG);
    pasteCells(tags, {{0, 0, 0, 0x1FF}}, {4, 0});
    EXPECT_EQ(cell(4, 0), (MapCell{0, 0, 0, 0, 0xFF}));
}

TEST_F(MapClipboardTest, CopyInTheTagLayerTakesTheTagsAndCutTakesThePartOfTheLayer)
{
    cell(1, 1).set(TILE_BG | 4, 6, TILE_OBJ | 8, 2, 5);
    cell(2, 1).set(TILE_BG, 3, 0, 0, 200);
    const std::vector<ClipboardEntry> tagged = copyCells(map(), {{1, 1}, {2, 1}}, TILE_TAG);
    EXPECT_EQ(tagged, (std::vector<ClipboardEntry>{{0, 0, TILE_OBJ | 8, 5}, {1, 0, 0, 200}}));
    MapEdit tags = edit(TILE_TAG);
    EXPECT_EQ(pasteCells(tags, tagged, {0, 4}).changed, 2);
    EXPECT_EQ(std::pair(cell(0, 4), cell(1, 4)), std::pair(MapCell{0, 0, 0, 0, 5}, MapCell{0, 0, 0, 0, 200})); // tags alone
    MapEdit bg = edit(TILE_BG);
    const CutResult cut = cutCells(bg, {{1, 1}, {2, 1}});
    EXPECT_EQ(cut.entries, (std::vector<ClipboardEntry>{{0, 0, TILE_BG | 4, 6}, {1, 0, TILE_BG, 3}}));
    EXPECT_EQ(cell(1, 1), (MapCell{0, 0, TILE_OBJ | 8, 2, 5}));
    undoStep();
    EXPECT_EQ(cell(1, 1), (MapCell{TILE_BG | 4, 6, TILE_OBJ | 8, 2, 5}));
}

} // namespace
} // namespace qm
