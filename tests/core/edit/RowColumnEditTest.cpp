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
    EXPECT_EQ(undo.stepKind(), STEP_COLUMNS_DELETED);
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
    EXPECT_EQ(undo.stepKind(), STEP_NONE);
    makeMap(1, 1);
    EXPECT_EQ(deleteRows(*ws, undo, 0, 0).lines, 0);
}

TEST_F(RowColumnEditTest, InsertionsAreStepsThatUndoAndRedo)
{
    struct Case {
        bool columns;
        int at, n;
        int blank; // the first inserted line
    };
    for (const Case c : {Case{true, 2, 2, 2}, Case{true, 7, 3, 8}, Case{false, 0, 1, 0}, Case{false, 5, 2, 6}}) {
        SCOPED_TRACE(testing::Message() << c.columns << " at " << c.at);
        makeMap(8, 6);
        fill();
        const MapGrid before = map();
        ASSERT_EQ((c.columns ? insertColumnsAt : insertRowsAt)(*ws, undo, c.at, c.n).lines, c.n);
        const MapGrid after = map();
        EXPECT_EQ(undo.undoName(), c.columns ? "Insert Column" : "Insert Row");
        for (int i = 0; i < c.n; ++i)
            EXPECT_EQ(c.columns ? cell(c.blank + i, 1) : cell(1, c.blank + i), MapCell{});
        UndoListener listener;
        ASSERT_TRUE(undo.undo(*ws, listener));
        EXPECT_EQ(map().cells, before.cells);
        EXPECT_EQ(map().width, before.width);
        ASSERT_TRUE(undo.redo(*ws, listener));
        EXPECT_EQ(map().cells, after.cells);
        EXPECT_EQ(map().height, after.height);
    }
    // Nothing to insert, or no memory for it: no step.
    undo.clear();
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, 0).lines, 0);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, -3).lines, 0);
    EXPECT_EQ(insertRowsAt(*ws, undo, 0, 1 << 30).result.text(), MSG_NO_MEMORY_INSERT_ROW);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 0, 1 << 30).result.text(), MSG_NO_MEMORY_INSERT_COLUMN);
    EXPECT_FALSE(undo.canUndo());
}

} // namespace
} // namespace qm
