#include "core/edit/MapCommands.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

using MapCommandsTest = MapEditTest;

std::vector<CellPos> row(int y, int x1, int x2)
{
    std::vector<CellPos> out;
    for (int x = x1; x <= x2; ++x)
        out.push_back({x, y});
    return out;
}

TEST_F(MapCommandsTest, ArrayFillStopsAfterTheLastTile)
{
    makeMap(10, 2);
    ws->tiles.bg.tiles[510].setPalette(6);
    MapEdit e = edit();
    const EditResult r = arrayFill(e, row(0, 0, 9), {TILE_BG, 509, 2});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.changed, 3);
    EXPECT_TRUE(cell(0, 0).showsTile(TILE_BG, 509));
    EXPECT_TRUE(cell(1, 0).showsTile(TILE_BG, 510));
    EXPECT_EQ(cell(1, 0).palette(TILE_BG), 6); // each tile's own palette
    EXPECT_TRUE(cell(2, 0).showsTile(TILE_BG, 511));
    EXPECT_FALSE(cell(3, 0).hasBg());

    MapEdit tags = edit(TILE_TAG);
    EXPECT_EQ(arrayFill(tags, row(1, 0, 9), {TILE_TAG, 254, 0}).changed, 2);
    EXPECT_EQ(cell(0, 1).tag, 254);
    EXPECT_EQ(cell(1, 1).tag, 255);
    EXPECT_EQ(cell(2, 1).tag, 0);
}

TEST_F(MapCommandsTest, FlipAreaVerticallyEvenAndOddRowCounts)
{
    makeMap(3, 8);
    for (int y = 0; y < 8; ++y)
        cell(1, y).place(TILE_BG, 100 + y, 1);
    std::vector<CellPos> rows25;
    for (int y = 2; y <= 5; ++y)
        rows25.push_back({1, y});
    MapEdit e = edit();
    ASSERT_TRUE(flipArea(e, rows25, false).ok());
    EXPECT_EQ(cell(1, 5).bgTile, 102);
    EXPECT_EQ(cell(1, 4).bgTile, 103);
    EXPECT_EQ(cell(1, 3).bgTile, 104);
    EXPECT_EQ(cell(1, 2).bgTile, 105);
    for (int y = 2; y <= 5; ++y)
        EXPECT_EQ(cell(1, y).bgAttr, TILE_BG | (1 << 2) | ATTR_FLIP_V) << y;
    EXPECT_EQ(cell(1, 1).bgAttr & ATTR_FLIP_V, 0);

    makeMap(3, 8);
    for (int y = 0; y < 8; ++y)
        cell(1, y).place(TILE_BG, 100 + y, 1);
    MapEdit e2 = edit();
    ASSERT_TRUE(flipArea(e2, {{1, 2}, {1, 3}, {1, 4}}, false).ok());
    EXPECT_EQ(cell(1, 2).bgTile, 104);
    EXPECT_EQ(cell(1, 3).bgTile, 103); // stays, but flipped
    EXPECT_TRUE(cell(1, 3).bgAttr & ATTR_FLIP_V);
    EXPECT_EQ(cell(1, 4).bgTile, 102);
    undoStep();
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(cell(1, y).bgAttr, TILE_BG | (1 << 2));
    EXPECT_EQ(cell(1, 2).bgTile, 102);
}

TEST_F(MapCommandsTest, FlipAreaHorizontallyWritesUnselectedTargets)
{
    // An L-shaped selection: (0,0) (1,0) (0,1); (0,1) lands on (1,1).
    cell(0, 1).place(TILE_OBJ, 5, 3);
    MapEdit e = edit(TILE_OBJ);
    ASSERT_TRUE(flipArea(e, {{0, 0}, {1, 0}, {0, 1}}, true).ok());
    EXPECT_TRUE(cell(1, 1).showsTile(TILE_OBJ, 5));
    EXPECT_TRUE(cell(1, 1).objAttr & ATTR_FLIP_H);
    EXPECT_TRUE(cell(0, 1).hasObj()); // the source is not cleared
    MapEdit tags = edit(TILE_TAG);
    EXPECT_EQ(flipArea(tags, {{0, 0}, {1, 0}}, true).changed, 0);
}

TEST_F(MapCommandsTest, BankFlipAndSetTo)
{
    cell(0, 0).place(TILE_BG, 10, 0);
    cell(1, 0).place(TILE_BG, 300, 0);
    MapEdit e = edit();
    setBank(e, {{0, 0}}, BankChange::Toggle);
    EXPECT_EQ(cell(0, 0).bgTile, 266);
    setBank(e, {{0, 0}}, BankChange::Toggle);
    EXPECT_EQ(cell(0, 0).bgTile, 10);
    setBank(e, {{1, 0}}, BankChange::Clear);
    EXPECT_EQ(cell(1, 0).bgTile, 44);
    setBank(e, {{0, 0}, {1, 0}}, BankChange::Set);
    EXPECT_EQ(cell(0, 0).bgTile, 266);
    EXPECT_EQ(cell(1, 0).bgTile, 300);
    undoStep();
    EXPECT_EQ(cell(0, 0).bgTile, 10);
    EXPECT_EQ(cell(1, 0).bgTile, 44);
    // In the tag layer the OBJ part changes.
    cell(2, 0).place(TILE_OBJ, 7, 0);
    MapEdit tags = edit(TILE_TAG);
    setBank(tags, {{2, 0}}, BankChange::Set);
    EXPECT_EQ(cell(2, 0).objTile, 263);
}

TEST_F(MapCommandsTest, DeleteEmptiesOnlyTheLayer)
{
    cell(0, 0).set(TILE_BG | 4, 3, TILE_OBJ | 8, 4, 9);
    cell(1, 0).set(TILE_BG, 5, TILE_OBJ, 6, 7);
    MapEdit bg = edit(TILE_BG);
    deleteCells(bg, {{0, 0}});
    EXPECT_EQ(cell(0, 0), (MapCell{0, 0, TILE_OBJ | 8, 4, 9}));
    // Tags: the selected cells' tags become 0, nothing else moves, one step.
    MapEdit tags = edit(TILE_TAG);
    const EditResult r = deleteCells(tags, {{0, 0}, {1, 0}});
    EXPECT_EQ(r.changed, 2);
    EXPECT_EQ(cell(0, 0), (MapCell{0, 0, TILE_OBJ | 8, 4, 0}));
    EXPECT_EQ(cell(1, 0), (MapCell{TILE_BG, 5, TILE_OBJ, 6, 0}));
    undoStep();
    EXPECT_EQ(cell(0, 0).tag, 9);
    EXPECT_EQ(cell(1, 0), (MapCell{TILE_BG, 5, TILE_OBJ, 6, 7}));
}

TEST_F(MapCommandsTest, PalettePageRecordsButChangesNothing)
{
    cell(1, 1).place(TILE_BG, 4, 0);
    const std::vector<MapCell> before = map().cells;
    MapEdit e = edit();
    blockFill(e, {{0, 0}, {1, 1}}, {TILE_NONE, 7, 1});
    EXPECT_EQ(map().cells, before);
    EXPECT_EQ(undo.cellRecords.size(), 2u);
}

TEST_F(MapCommandsTest, SetBaseTileEndsTheUndoStep)
{
    MapEdit e = edit();
    blockFill(e, {{0, 0}}, {TILE_BG, 1, 0});
    ASSERT_TRUE(undo.canUndo);
    setBaseTile(e, {TILE_BG, 33, 5});
    for (const MapCell& c : map().cells)
        EXPECT_EQ(c, (MapCell{TILE_BG | (5 << 2), 33, 0, 0, 0}));
    EXPECT_FALSE(undo.canUndo);
    EXPECT_FALSE(undo.canRedo);
    EXPECT_TRUE(undo.cellRecords.empty());
}

TEST_F(MapCommandsTest, AttributeCommandsAndMemoryFailure)
{
    cell(0, 0).place(TILE_BG, 1, 0);
    cell(1, 0).place(TILE_OBJ, 2, 0);
    MapEdit bg = edit(TILE_BG);
    flipCells(bg, {{0, 0}}, true);
    EXPECT_EQ(cell(0, 0).bgAttr, TILE_BG | ATTR_FLIP_H);
    setPriority(bg, {{1, 0}}, true);
    EXPECT_EQ(cell(1, 0).bgAttr, ATTR_PRIORITY);
    EXPECT_EQ(undo.cellRecords.at(0).layer, TILE_BG);
    MapEdit tags = edit(TILE_TAG);
    setCellPalette(tags, {{1, 0}}, 6);
    EXPECT_EQ(cell(1, 0).palette(TILE_OBJ), 6);

    undo.maxRecords = 1;
    const EditResult r = setCellPalette(bg, {{0, 0}, {1, 0}}, 3);
    EXPECT_EQ(r.result.text(), MSG_NO_MEMORY_UNDO);
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(cell(0, 0).palette(TILE_BG), 3);
    EXPECT_EQ(cell(1, 0).palette(TILE_BG), 0);
}

TEST_F(MapCommandsTest, SearchesAndResetPalette)
{
    cell(1, 0).place(TILE_BG, 4, 2);
    cell(0, 2).place(TILE_BG, 4, 0);
    cell(1, 2).place(TILE_OBJ, 4, 2);
    EXPECT_EQ(cellsUsingTile(map(), TILE_BG, 4), (std::vector<CellPos>{{1, 0}, {0, 2}}));
    cell(1, 1).tag = 5;
    EXPECT_EQ(cellsUsingTile(map(), TILE_TAG, 5), (std::vector<CellPos>{{1, 1}}));
    EXPECT_TRUE(cellsUsingTile(map(), TILE_NONE, 0).empty());
    EXPECT_EQ(cellsUsingPalette(map(), TILE_TAG, 2), (std::vector<CellPos>{{1, 2}}));
    EXPECT_EQ(usedText(2), "2 Used");
    EXPECT_EQ(usedText(0), "Unuse");
    EXPECT_EQ(selectionTiles(map(), {{1, 2}, {1, 2}, {0, 0}}, TILE_OBJ), (std::vector<std::int32_t>{4, 4, 0}));
    EXPECT_TRUE(selectionTiles(map(), {{1, 2}}, TILE_TAG).empty());

    ws->tiles.bg.tiles[4].setPalette(7);
    ws->tiles.obj.tiles[4].setPalette(5);
    cell(2, 2).bgAttr = 3 << 2; // palette bits without a tile stay
    NullProgress progress;
    resetMapPalette(*ws, progress);
    EXPECT_EQ(cell(1, 0).palette(TILE_BG), 7);
    EXPECT_EQ(cell(1, 2).palette(TILE_OBJ), 5);
    EXPECT_EQ(cell(2, 2).palette(TILE_BG), 3);
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_PROJECT);
}

} // namespace
} // namespace qm
