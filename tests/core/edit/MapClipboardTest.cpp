#include "core/edit/MapClipboard.h"

#include "core/edit/MapCommands.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

using MapClipboardTest = MapEditTest;

TEST(MapClipboardStream, GoldenBytesAndRoundTrip)
{
    const std::vector<ClipboardEntry> entries{{0, 0, 0x44, 300}, {-1, 2, 0x80, -2}};
    const std::vector<std::uint8_t> bytes = encodeClipboard(entries);
    const std::vector<std::uint8_t> golden{
        2, 0, 0, 0,                                                            // count
        0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x2C, 0x01, 0, 0,                        // (0,0) 0x44 300
        0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0x80, 0xFE, 0xFF, 0xFF, 0xFF,      // (-1,2) 0x80 -2
    };
    EXPECT_EQ(bytes, golden);
    EXPECT_EQ(decodeClipboard(bytes.data(), bytes.size()), entries);
}

TEST(MapClipboardStream, DamagedStreamsAreRefused)
{
    std::vector<std::uint8_t> bytes = encodeClipboard({{1, 1, 0x40, 5}});
    EXPECT_FALSE(decodeClipboard(bytes.data(), 3));
    EXPECT_FALSE(decodeClipboard(bytes.data(), bytes.size() - 1)); // truncated
    bytes.push_back(0);
    EXPECT_FALSE(decodeClipboard(bytes.data(), bytes.size())); // longer than announced
    bytes.pop_back();
    bytes[0] = 0xFF, bytes[1] = 0xFF, bytes[2] = 0xFF, bytes[3] = 0x7F; // absurd count
    EXPECT_FALSE(decodeClipboard(bytes.data(), bytes.size()));
    bytes[3] = 0xFF; // negative count
    EXPECT_FALSE(decodeClipboard(bytes.data(), bytes.size()));
    EXPECT_FALSE(decodeClipboard(nullptr, 0));
    const std::vector<std::uint8_t> none{0, 0, 0, 0};
    EXPECT_EQ(decodeClipboard(none.data(), none.size())->size(), 0u);
}

TEST_F(MapClipboardTest, DraggedTwoByTwoCopiesAndPastesAtTheCursor)
{
    makeMap(10, 10);
    cell(5, 7).place(TILE_BG, 1, 1);
    cell(6, 7).place(TILE_BG, 2, 2);
    cell(5, 8).place(TILE_BG, 3, 3);
    cell(6, 8).place(TILE_BG, 4, 4);
    const std::vector<CellPos> dragged = rectangleCells({5, 7}, {6, 8});
    const std::vector<ClipboardEntry> copied = copyCells(map(), dragged, TILE_BG);
    ASSERT_EQ(copied.size(), 4u);
    EXPECT_EQ(copied[0], (ClipboardEntry{0, 0, TILE_BG | 4, 1}));
    EXPECT_EQ(copied[1], (ClipboardEntry{1, 0, TILE_BG | 8, 2}));
    EXPECT_EQ(copied[2], (ClipboardEntry{0, 1, TILE_BG | 12, 3}));
    EXPECT_EQ(copied[3], (ClipboardEntry{1, 1, TILE_BG | 16, 4}));

    const std::vector<std::uint8_t> bytes = encodeClipboard(copied);
    MapEdit e = edit();
    ASSERT_EQ(pasteCells(e, *decodeClipboard(bytes.data(), bytes.size()), {0, 0}).changed, 4);
    EXPECT_EQ(cell(0, 0), cell(5, 7));
    EXPECT_EQ(cell(1, 0), cell(6, 7));
    EXPECT_EQ(cell(0, 1), cell(5, 8));
    EXPECT_EQ(cell(1, 1), cell(6, 8));
    undoStep();
    EXPECT_FALSE(cell(0, 0).hasBg());
}

TEST_F(MapClipboardTest, NegativeOffsetsAtTheEdgeAreSkipped)
{
    // The first selected cell is the bottom-right one.
    cell(3, 3).place(TILE_OBJ, 9, 0);
    cell(2, 2).place(TILE_OBJ, 8, 0);
    const std::vector<ClipboardEntry> copied = copyCells(map(), {{3, 3}, {2, 2}}, TILE_OBJ);
    EXPECT_EQ(copied[1].dx, -1);
    EXPECT_EQ(copied[1].dy, -1);
    MapEdit e = edit(TILE_OBJ);
    EXPECT_EQ(pasteCells(e, copied, {0, 0}).changed, 1);
    EXPECT_TRUE(cell(0, 0).showsTile(TILE_OBJ, 9));
    // Near the far corner nothing is written off the map either.
    EXPECT_EQ(pasteCells(e, {{0, 0, 0, 1}, {1, 0, 0, 2}, {0, 1, 0, 3}}, {7, 5}).changed, 1);
}

TEST_F(MapClipboardTest, PasteSetsThePresentBitAndKeepsLayerMarksApart)
{
    // An empty OBJ part copied and pasted into BG shows tile value there.
    cell(0, 0).set(0, 0, 0x08, 7, 0);
    const std::vector<ClipboardEntry> objEntries = copyCells(map(), {{0, 0}}, TILE_OBJ);
    MapEdit bg = edit(TILE_BG);
    pasteCells(bg, objEntries, {2, 0});
    EXPECT_EQ(cell(2, 0).bgAttr, TILE_BG | 0x08);
    EXPECT_EQ(cell(2, 0).bgTile, 7);
    // An OBJ entry with its own mark pasted into BG: bgAttr never gets the OBJ mark.
    pasteCells(bg, {{0, 0, TILE_OBJ | 0x04, 5}}, {3, 0});
    EXPECT_EQ(cell(3, 0).bgAttr, TILE_BG | 0x04);
    // Tags take the low byte.
    MapEdit tags = edit(TILE_TAG);
    pasteCells(tags, {{0, 0, 0, 0x1FF}}, {4, 0});
    EXPECT_EQ(cell(4, 0).tag, 0xFF);
    EXPECT_EQ(cell(4, 0).objAttr, 0);
}

TEST_F(MapClipboardTest, CutEmptiesThePartAndIsRefusedForTags)
{
    cell(1, 1).set(TILE_BG | 4, 6, TILE_OBJ, 2, 5);
    MapEdit tags = edit(TILE_TAG);
    const CutResult refused = cutCells(tags, {{1, 1}});
    EXPECT_EQ(refused.edit.result.text(), MSG_TAG_MAP_CANNOT_BE_CUT);
    EXPECT_TRUE(refused.entries.empty());
    EXPECT_EQ(cell(1, 1).tag, 5);

    MapEdit bg = edit(TILE_BG);
    const CutResult cut = cutCells(bg, {{1, 1}, {2, 1}});
    ASSERT_TRUE(cut.edit.ok());
    ASSERT_EQ(cut.entries.size(), 2u);
    EXPECT_EQ(cut.entries[0], (ClipboardEntry{0, 0, TILE_BG | 4, 6}));
    EXPECT_EQ(cut.entries[1].dx, 1);
    EXPECT_EQ(cell(1, 1), (MapCell{0, 0, TILE_OBJ, 2, 5}));
    undoStep();
    EXPECT_EQ(cell(1, 1), (MapCell{TILE_BG | 4, 6, TILE_OBJ, 2, 5}));
}

} // namespace
} // namespace qm
