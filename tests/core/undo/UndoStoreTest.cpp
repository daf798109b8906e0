#include "core/undo/UndoStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

namespace qm {
namespace {

struct RecordingListener : UndoListener {
    std::vector<std::pair<int, int>> cells;
    std::vector<std::tuple<int, int, int>> tiles;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> colours;
    int lines = 0;
    int redraws = 0;
    void cellChanged(int x, int y) override { cells.emplace_back(x, y); }
    void tilesChanged(TileKind kind, int first, int last) override { tiles.emplace_back(kind, first, last); }
    void coloursChanged(std::uint32_t flags, std::uint32_t mask) override { colours.emplace_back(flags, mask); }
    void linesChanged() override { ++lines; }
    void redraw() override { ++redraws; }
};

class UndoStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        ASSERT_TRUE(ws->project.map.create(6, 4));
    }
    MapGrid& map() { return ws->project.map; }
    MapCell& cell(int x, int y) { return *map().cellAt(x, y); }
    // A pencil stroke: begin, save, place.
    void paint(int x, int y, int layer, int tile, int palette)
    {
        ASSERT_TRUE(undo.saveCell(map(), x, y, layer));
        cell(x, y).place(layer, tile, palette);
    }
    // Fills every cell with a distinct BG tile, and OBJ tiles on odd columns.
    void fillMap()
    {
        for (int y = 0; y < map().height; ++y)
            for (int x = 0; x < map().width; ++x) {
                cell(x, y).place(TILE_BG, y * 16 + x, x % 8);
                if (x % 2)
                    cell(x, y).place(TILE_OBJ, 100 + x, 1);
                cell(x, y).tag = static_cast<std::uint8_t>(x + 10 * y);
            }
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    RecordingListener listener;
};

TEST_F(UndoStoreTest, PaintUndoRedoUndoRestoresCellAndTag)
{
    cell(2, 1).tag = 7;
    const MapCell before = cell(2, 1);
    undo.beginStep(STEP_CELLS);
    EXPECT_TRUE(undo.canUndo);
    EXPECT_FALSE(undo.canRedo);
    paint(2, 1, TILE_BG, 300, 3);
    ASSERT_TRUE(undo.saveCell(map(), 2, 1, TILE_TAG));
    cell(2, 1).tag = 44;
    const MapCell after = cell(2, 1);

    EXPECT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(cell(2, 1), before);
    EXPECT_FALSE(undo.canUndo);
    EXPECT_TRUE(undo.canRedo);
    EXPECT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(cell(2, 1), after);
    EXPECT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(cell(2, 1), before);
    EXPECT_FALSE(undo.undo(*ws, listener)); // nothing left to undo
    EXPECT_GE(listener.redraws, 3);
    EXPECT_FALSE(listener.cells.empty());
}

TEST_F(UndoStoreTest, ACellSavedTwiceInOneStepComesBackToItsFirstState)
{
    undo.beginStep(STEP_CELLS);
    paint(0, 0, TILE_BG, 1, 0);
    paint(0, 0, TILE_BG, 2, 1);
    paint(0, 0, TILE_OBJ, 3, 2);
    const MapCell after = cell(0, 0);
    undo.undo(*ws, listener);
    EXPECT_EQ(cell(0, 0), MapCell{});
    undo.redo(*ws, listener);
    EXPECT_EQ(cell(0, 0), after);
    undo.undo(*ws, listener);
    EXPECT_EQ(cell(0, 0), MapCell{});
}

TEST_F(UndoStoreTest, TagEditOnCellWithoutObjTileIsUndone)
{
    cell(1, 1).place(TILE_BG, 4, 0);
    cell(1, 1).tag = 3;
    undo.beginStep(STEP_CELLS);
    ASSERT_TRUE(undo.saveCell(map(), 1, 1, TILE_TAG));
    cell(1, 1).tag = 99;
    undo.undo(*ws, listener);
    EXPECT_EQ(cell(1, 1).tag, 3);
    EXPECT_FALSE(cell(1, 1).hasObj());
    EXPECT_EQ(cell(1, 1).bgTile, 4);
}

TEST_F(UndoStoreTest, NewStepDiscardsOldRecordsAndDisablesRedo)
{
    undo.beginStep(STEP_CELLS);
    paint(0, 0, TILE_BG, 1, 0);
    undo.undo(*ws, listener);
    undo.beginStep(STEP_CELLS);
    EXPECT_FALSE(undo.canRedo);
    EXPECT_TRUE(undo.cellRecords.empty());

    undo.holdCellRecords();
    undo.beginStep(STEP_TILE_PALETTE);
    paint(1, 0, TILE_BG, 1, 0);
    undo.beginStep(STEP_TILE_PALETTE);
    paint(2, 0, TILE_BG, 1, 0);
    EXPECT_EQ(undo.cellRecords.size(), 2u); // held across the steps
    undo.releaseCellRecords();
    undo.beginStep(STEP_CELLS);
    EXPECT_TRUE(undo.cellRecords.empty());
}

TEST_F(UndoStoreTest, ColourStepIgnoresCellAndTileSaves)
{
    undo.beginStep(STEP_COLOURS);
    EXPECT_TRUE(undo.saveCell(map(), 0, 0, TILE_BG));
    EXPECT_TRUE(undo.saveTile(ws->tiles.bg.tiles[0]));
    EXPECT_TRUE(undo.cellRecords.empty());
    EXPECT_TRUE(undo.tileRecords.empty());

    GbcColor& c = ws->tiles.palettes.row(9)[2]; // OBJ palette 1
    const GbcColor old = c;
    ASSERT_TRUE(undo.saveColour(9, 2, old.red, old.green, old.blue));
    c = GbcColor{31, 1, 2};
    ws->tiles.palettes.recomputeAll();
    const DisplayColour shown = ws->tiles.palettes.objDisplay[1][2];
    undo.undo(*ws, listener);
    EXPECT_EQ(c, old);
    EXPECT_NE(ws->tiles.palettes.objDisplay[1][2], shown); // display table rebuilt
    ASSERT_EQ(listener.colours.size(), 1u);
    EXPECT_EQ(listener.colours[0], (std::pair<std::uint32_t, std::uint32_t>(0x80, 1u << 9)));
    undo.redo(*ws, listener);
    EXPECT_EQ(c, (GbcColor{31, 1, 2}));
}

TEST_F(UndoStoreTest, TileStepExchangesPixelsPaletteAndComment)
{
    CTile& t = ws->tiles.obj.tiles[40];
    t.setComment("before");
    undo.beginStep(STEP_TILES);
    ASSERT_TRUE(undo.saveTile(t));
    ASSERT_TRUE(undo.saveTile(ws->tiles.obj.tiles[42]));
    t.setPixel(3, 3, 2);
    t.setPalette(5);
    t.setComment("after");
    undo.undo(*ws, listener);
    EXPECT_EQ(t.pixel(3, 3), 0);
    EXPECT_EQ(t.palette(), 0);
    EXPECT_EQ(t.commentText(), "before");
    EXPECT_EQ(t.kind(), TILE_OBJ);
    ASSERT_EQ(listener.tiles.size(), 1u);
    EXPECT_EQ(listener.tiles[0], std::make_tuple(int(TILE_OBJ), 40, 42));
    undo.redo(*ws, listener);
    EXPECT_EQ(t.commentText(), "after");
    EXPECT_EQ(t.palette(), 5);
}

TEST_F(UndoStoreTest, DeletedColumnsComeBackAndGoAgain)
{
    fillMap();
    const MapGrid original = map();
    // The delete command: save, then delete columns 2 and 3.
    undo.beginStep(STEP_COLUMNS_DELETED);
    ASSERT_TRUE(undo.saveColumns(map(), 2, 2));
    map().deleteColumn(2);
    map().deleteColumn(2);
    const MapGrid deleted = map();

    undo.undo(*ws, listener);
    EXPECT_EQ(undo.stepKind, STEP_COLUMNS_RESTORED);
    EXPECT_EQ(map().width, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(cell(x, y), *original.cellAt(x, y)) << x << "," << y;
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_MAP);
    EXPECT_EQ(listener.lines, 1);

    undo.redo(*ws, listener);
    EXPECT_EQ(undo.stepKind, STEP_COLUMNS_DELETED);
    EXPECT_EQ(map().cells, deleted.cells);
    undo.undo(*ws, listener);
    EXPECT_EQ(map().cells, original.cells);
}

TEST_F(UndoStoreTest, DeletedLastButOneColumnComesBackInItsPlace)
{
    fillMap();
    const MapGrid original = map();
    undo.beginStep(STEP_COLUMNS_DELETED);
    ASSERT_TRUE(undo.saveColumns(map(), 4, 1));
    map().deleteColumn(4);
    undo.undo(*ws, listener);
    EXPECT_EQ(map().cells, original.cells);

    // The last column itself.
    undo.beginStep(STEP_COLUMNS_DELETED);
    ASSERT_TRUE(undo.saveColumns(map(), 5, 1));
    map().deleteColumn(5);
    undo.undo(*ws, listener);
    EXPECT_EQ(map().cells, original.cells);
}

TEST_F(UndoStoreTest, DeletedRowsComeBackTagOnlyCellsWithTagZero)
{
    fillMap();
    cell(0, 1).clear();
    cell(0, 1).tag = 77; // only a tag: not saved
    const MapGrid original = map();
    undo.beginStep(STEP_ROWS_DELETED);
    ASSERT_TRUE(undo.saveRows(map(), 1, 2));
    map().deleteRow(1);
    map().deleteRow(1);
    undo.undo(*ws, listener);
    EXPECT_EQ(map().height, 4);
    EXPECT_EQ(cell(0, 1).tag, 0);
    EXPECT_EQ(cell(3, 2), *original.cellAt(3, 2));
    EXPECT_EQ(cell(5, 3), *original.cellAt(5, 3));
    undo.redo(*ws, listener);
    EXPECT_EQ(map().height, 2);
    EXPECT_EQ(cell(2, 1), *original.cellAt(2, 3));
}

TEST_F(UndoStoreTest, DeletedEmptyColumnsAreInsertedEmpty)
{
    cell(0, 0).place(TILE_BG, 1, 0);
    cell(5, 3).place(TILE_OBJ, 1, 0);
    const MapGrid original = map();
    undo.beginStep(STEP_COLUMNS_DELETED);
    ASSERT_TRUE(undo.saveColumns(map(), 1, 3));
    EXPECT_TRUE(undo.cellRecords.empty());
    for (int i = 0; i < 3; ++i)
        map().deleteColumn(1);
    undo.undo(*ws, listener);
    EXPECT_EQ(map().cells, original.cells);
    undo.redo(*ws, listener);
    EXPECT_EQ(map().width, 3);
}

TEST_F(UndoStoreTest, RedoOfDeletionThatCannotSaveChangesNothing)
{
    fillMap();
    undo.beginStep(STEP_COLUMNS_DELETED);
    ASSERT_TRUE(undo.saveColumns(map(), 1, 2));
    EXPECT_EQ(undo.deletedLines(), 0x00010002u);
    map().deleteColumn(1);
    map().deleteColumn(1);
    ASSERT_TRUE(undo.undo(*ws, listener));
    const MapGrid restored = map();
    undo.maxRecords = 1;
    EXPECT_FALSE(undo.redo(*ws, listener));
    EXPECT_TRUE(undo.canRedo);
    EXPECT_EQ(undo.stepKind, STEP_COLUMNS_RESTORED);
    EXPECT_EQ(map().cells, restored.cells);
    undo.maxRecords = 1000;
    EXPECT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(map().width, 4);
}

TEST_F(UndoStoreTest, RecordLimitFailsTheSave)
{
    undo.maxRecords = 2;
    undo.beginStep(STEP_CELLS);
    EXPECT_TRUE(undo.saveCell(map(), 0, 0, TILE_BG));
    EXPECT_TRUE(undo.saveCell(map(), 1, 0, TILE_BG));
    EXPECT_FALSE(undo.saveCell(map(), 2, 0, TILE_BG));
    EXPECT_TRUE(undo.saveCell(map(), 99, 0, TILE_BG)); // off the map: nothing to save
}

} // namespace
} // namespace qm
