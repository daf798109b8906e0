#include "core/edit/RowColumnEdit.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

class RowColumnEditTest : public MapEditTest {
protected:
    // Distinct BG tiles everywhere, OBJ tiles and tags on some cells.
    void fill()
    {
        for (int y = 0; y < map().height; ++y)
            for (int x = 0; x < map().width; ++x) {
                cell(x, y).place(TILE_BG, 10 * y + x, x % 8);
                if ((x + y) % 3 == 0)
                    cell(x, y).place(TILE_OBJ, 200 + x, 2);
                cell(x, y).tag = static_cast<std::uint8_t>(x + 16 * y);
            }
    }
};

TEST_F(RowColumnEditTest, DeleteColumnPastTheLastDeletesToTheEnd)
{
    fill();
    const std::vector<MapCell> before = map().cells;
    const LineEdit r = deleteColumns(*ws, undo, 5, 100);
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.lines, 3);
    EXPECT_EQ(map().width, 5);
    EXPECT_EQ(undo.stepKind, STEP_COLUMNS_DELETED);
    EXPECT_EQ(undo.deletedLines(), (5u << 16) | 3u);
    UndoListener listener;
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(map().width, 8);
    EXPECT_EQ(map().cells, before);
}

TEST_F(RowColumnEditTest, DeletingEveryColumnKeepsOneAndUndoRedoRestore)
{
    fill();
    const std::vector<MapCell> before = map().cells;
    const LineEdit r = deleteColumns(*ws, undo, 0, 7);
    EXPECT_EQ(r.lines, 7);
    EXPECT_EQ(map().width, 1);
    EXPECT_EQ(cell(0, 0).bgTile, 7); // the last column stays
    UndoListener listener;
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(map().width, 8);
    EXPECT_EQ(map().cells, before);
    ASSERT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(map().width, 1);
    EXPECT_EQ(cell(0, 3).bgTile, 37);
}

TEST_F(RowColumnEditTest, UndoAfterDeleteRowRestoresTilesAndTags)
{
    fill();
    const std::vector<MapCell> before = map().cells;
    ASSERT_EQ(deleteRows(*ws, undo, 1, 2).lines, 2);
    EXPECT_EQ(map().height, 4);
    EXPECT_EQ(cell(0, 1).bgTile, 30);
    UndoListener listener;
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_EQ(map().cells, before);
}

TEST_F(RowColumnEditTest, BadRangesChangeNothing)
{
    EXPECT_EQ(deleteColumns(*ws, undo, -1, 3).lines, 0);
    EXPECT_EQ(deleteColumns(*ws, undo, 4, 3).lines, 0);
    EXPECT_EQ(deleteRows(*ws, undo, 6, 9).lines, 0);
    EXPECT_EQ(undo.stepKind, STEP_NONE);
    makeMap(1, 1);
    EXPECT_EQ(deleteRows(*ws, undo, 0, 0).lines, 0);
}

TEST_F(RowColumnEditTest, InsertionsEndTheUndoStep)
{
    fill();
    undo.beginStep(STEP_CELLS);
    ASSERT_TRUE(undo.saveCell(map(), 0, 0, TILE_BG));
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, 0).lines, 0);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, -3).lines, 0);
    EXPECT_TRUE(undo.canUndo);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, 2).lines, 2);
    EXPECT_EQ(map().width, 10);
    EXPECT_FALSE(cell(2, 0).hasBg());
    EXPECT_FALSE(undo.canUndo);
    EXPECT_FALSE(undo.canRedo);
    EXPECT_EQ(insertRowsAt(*ws, undo, 5, 1).lines, 1); // the last row: appended
    EXPECT_EQ(map().height, 7);
    EXPECT_FALSE(cell(0, 6).hasBg());
    const LineEdit huge = insertRowsAt(*ws, undo, 0, 1 << 30);
    EXPECT_EQ(huge.result.text(), MSG_NO_MEMORY_INSERT_ROW);
    EXPECT_EQ(map().height, 7);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 0, 1 << 30).result.text(), MSG_NO_MEMORY_INSERT_COLUMN);
}

} // namespace
} // namespace qm
