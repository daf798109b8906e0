#include "core/edit/MapCommands.h"

#include "core/edit/BucketFill.h"
#include "core/edit/MapClipboard.h"

#include <functional>

#include "MapEditFixture.h"

namespace qm {
namespace {

using MapCommandsTest = MapEditTest;

TEST_F(MapCommandsTest, ArrayFillNumbersTheCellsWithEachTilesPaletteAndStopsAfterTheLastTile)
{
    makeMap(6, 2);
    ws->tiles.bg.tiles[510].setPalette(6);
    MapEdit e = edit();
    EXPECT_EQ(arrayFill(e, rectangleCells({0, 0}, {5, 0}), {TILE_BG, 509, 2}).changed, 3);
    EXPECT_EQ(tiles(), "509 510 511 . . .|. . . . . .|");
    EXPECT_EQ(std::pair(cell(0, 0).palette(TILE_BG), cell(1, 0).palette(TILE_BG)), std::pair(0, 6)); // not the fill's 2
    MapEdit tags = edit(TILE_TAG);
    EXPECT_EQ(arrayFill(tags, rectangleCells({0, 1}, {5, 1}), {TILE_TAG, 254, 0}).changed, 2);
    EXPECT_EQ(tiles(TILE_TAG), "0 0 0 0 0 0|254 255 0 0 0 0|");
}

TEST_F(MapCommandsTest, FlipAreaMirrorsTheSelectionAndFlipsEveryTileOfIt)
{
    makeMap(3, 8);
    for (int y = 0; y < 8; ++y)
        cell(1, y).place(TILE_BG, 100 + y, 1);
    MapEdit e = edit();
    ASSERT_TRUE(flipArea(e, rectangleCells({1, 2}, {1, 5}), false).ok()); // an even number of rows
    ASSERT_TRUE(flipArea(e, rectangleCells({1, 0}, {1, 2}), false).ok()); // an odd one: the middle stays, flipped
    EXPECT_EQ(tiles(), ". 105 .|. 101 .|. 100 .|. 104 .|. 103 .|. 102 .|. 106 .|. 107 .|");
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(cell(1, y).bgAttr, TILE_BG | (1 << 2) | (y == 0 || y > 5 ? 0 : ATTR_FLIP_V)) << y;
    undoStep();
    EXPECT_EQ(tiles().substr(0, 24), ". 100 .|. 101 .|. 105 .|");
    EXPECT_EQ(cell(1, 2).bgAttr, TILE_BG | (1 << 2) | ATTR_FLIP_V); // as the first flip left it

    // An L-shaped selection horizontally: (0,1) lands on (1,1), which was not selected; the source stays.
    cell(0, 1).place(TILE_OBJ, 5, 3);
    MapEdit obj = edit(TILE_OBJ);
    ASSERT_TRUE(flipArea(obj, {{0, 0}, {1, 0}, {0, 1}}, true).ok());
    EXPECT_EQ(tiles(TILE_OBJ).substr(0, 12), ". . .|5 5 .|");
    EXPECT_EQ(cell(1, 1).objAttr, TILE_OBJ | (3 << 2) | ATTR_FLIP_H);
    MapEdit tags = edit(TILE_TAG);
    EXPECT_EQ(flipArea(tags, {{0, 0}, {1, 0}}, true).changed, 0);
}

TEST_F(MapCommandsTest, BankFlipPriorityPaletteAndDeleteWorkOnThePartOfTheLayer)
{
    cell(0, 0).set(TILE_BG | 4, 10, TILE_OBJ | 8, 7, 9);
    cell(1, 0).set(TILE_BG, 300, TILE_OBJ, 6, 3);
    MapEdit bg = edit(TILE_BG), tags = edit(TILE_TAG);
    setBank(bg, {{0, 0}}, BankChange::Toggle);
    setBank(bg, {{1, 0}}, BankChange::Clear);
    setBank(tags, {{0, 0}}, BankChange::Set); // the tag layer works on the OBJ part
    EXPECT_EQ(cell(0, 0), (MapCell{TILE_BG | 4, 266, TILE_OBJ | 8, 263, 9}));
    EXPECT_EQ(cell(1, 0).bgTile, 44);
    setBank(bg, {{0, 0}, {1, 0}}, BankChange::Toggle);
    EXPECT_EQ(tiles().substr(0, 10), "10 300 . .");
    undoStep();
    EXPECT_EQ(tiles().substr(0, 10), "266 44 . .");

    flipCells(bg, {{0, 0}}, true);
    setCellPalette(tags, {{1, 0}}, 6);
    setPriority(tags, {{1, 0}}, true); // the priority is the BG part's, whatever the layer
    EXPECT_EQ(cell(0, 0).bgAttr, TILE_BG | 4 | ATTR_FLIP_H);
    EXPECT_EQ(cell(1, 0), (MapCell{TILE_BG | ATTR_PRIORITY, 44, TILE_OBJ | (6 << 2), 6, 3}));
    undoStep(); // and so is what its Undo restores
    EXPECT_EQ(cell(1, 0), (MapCell{TILE_BG, 44, TILE_OBJ | (6 << 2), 6, 3}));

    deleteCells(bg, {{0, 0}}); // deleting tags is pinned by the ui's CQuiltmarkViewToolsTest
    EXPECT_EQ(cell(0, 0), (MapCell{0, 0, TILE_OBJ | 8, 263, 9}));
}

// Out of undo memory an edit stops with the message; one Undo takes back what it did.
TEST_F(MapCommandsTest, EditsStopAtAnUndoMemoryFailureWithWhatTheyDidUndoable)
{
    const std::vector<CellPos> row{{0, 0}, {1, 0}, {2, 0}};
    const struct {
        const char* name;
        std::size_t maxRecords;
        std::function<EditResult(MapEdit&)> run;
        const char* firstRow; // after the edit
    } cases[] = {
        {"bucket fill", 5, [](MapEdit& e) { return bucketFill(e, 0, 0, {TILE_BG, 2, 0}); }, "2 2 2 . . . . .|"},
        {"block fill", 1, [&](MapEdit& e) { return blockFill(e, row, {TILE_BG, 3, 2}); }, "3 . . . . . . .|"},
        {"cut", 2, [&](MapEdit& e) { return cutCells(e, row).edit; }, ". . 3 . . . . .|"},
        {"paste", 1, [](MapEdit& e) { return pasteCells(e, {{0, 0, TILE_BG, 1}, {1, 0, TILE_BG, 2}}, {5, 0}); },
         ". . . . . 1 . .|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeMap(8, 6);
        undo.clear();
        for (int x = 0; x < 3 && c.name == std::string("cut"); ++x)
            cell(x, 0).place(TILE_BG, x + 1, 0);
        const std::string before = tiles();
        undo.maxRecords = c.maxRecords;
        MapEdit e = edit();
        const EditResult r = c.run(e);
        EXPECT_EQ(std::pair(r.result.text(), std::size_t(r.changed)), std::pair(std::string(MSG_NO_MEMORY_UNDO), c.maxRecords));
        EXPECT_EQ(tiles().substr(0, 16), c.firstRow);
        undoStep();
        EXPECT_EQ(tiles(), before);
    }
}

TEST_F(MapCommandsTest, SetBaseTileFillsTheWholeMapAsAStepOfItsOwn)
{
    MapEdit e = edit();
    blockFill(e, {{0, 0}}, {TILE_OBJ, 1, 0});
    const std::vector<MapCell> before = map().cells;
    EXPECT_EQ(setBaseTile(e, {TILE_BG, 33, 5}).changed, map().width * map().height);
    EXPECT_EQ(std::pair(int(cell(3, 3).bgAttr), int(cell(0, 0).objTile)), std::pair(TILE_BG | (5 << 2), 1)); // OBJ stays
    EXPECT_EQ(renderer->mapPixel(8 * 7, 8 * 5), 5 * 4);
    undoStep(); // its name in the Edit menu is pinned by the ui's CMainFrameMapEditTest
    EXPECT_EQ(map().cells, before);
}

TEST_F(MapCommandsTest, SearchesAndResetPalette)
{
    cell(1, 0).place(TILE_BG, 4, 2);
    cell(0, 2).place(TILE_BG, 4, 0);
    cell(1, 2).place(TILE_OBJ, 4, 2);
    EXPECT_EQ(cellsUsingTile(map(), TILE_BG, 4), (std::vector<CellPos>{{1, 0}, {0, 2}}));
    EXPECT_EQ(cellsUsingPalette(map(), TILE_TAG, 2), (std::vector<CellPos>{{1, 2}}));
    EXPECT_EQ(selectionTiles(map(), {{1, 2}, {1, 2}, {0, 0}}, TILE_OBJ), (std::vector<std::int32_t>{4, 4, 0}));
    EXPECT_TRUE(selectionTiles(map(), {{1, 2}}, TILE_TAG).empty());

    ws->tiles.bg.tiles[4].setPalette(7);
    ws->tiles.obj.tiles[4].setPalette(5);
    cell(2, 2).bgAttr = 3 << 2; // palette bits without a tile stay
    NullProgress progress;
    resetMapPalette(*ws, progress);
    EXPECT_EQ(std::tuple(cell(1, 0).palette(TILE_BG), cell(1, 2).palette(TILE_OBJ), cell(2, 2).palette(TILE_BG)),
              std::tuple(7, 5, 3));
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_PROJECT);
}

} // namespace
} // namespace qm
