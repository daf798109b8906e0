#include "core/edit/RowColumnEdit.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

class RowColumnEditTest : public MapEditTest {
protected:
    // Distinct BG tiles everywhere, OBJ tiles and tags on some cells.
    void fill()
    {
        for (int i = 0; i < map().width * map().height; ++i)
            map().cells[size_t(i)].set(std::uint8_t(TILE_BG | (i % 8) << 2), std::uint16_t(i), std::uint8_t(i % 3 ? 0 : TILE_OBJ | 8),
                                       std::uint16_t(i % 3 ? 0 : 200 + i), std::uint8_t(i + 1));
    }
};

// Each edit against the lines it should take out or put in, then Undo and Redo.
TEST_F(RowColumnEditTest, LineEditsMoveTheRestOfTheMapAndUndoAndRedoExactly)
{
    using Edit = LineEdit (*)(Workspace&, UndoStore&, int, int);
    const struct Case {
        const char* name;
        Edit edit;
        bool columns, insert;
        int a, b, first, lines; // the edit's arguments; the lines it takes out or puts in
    } cases[] = {
        {"delete columns past the last", deleteColumns, true, false, 5, 100, 5, 3},
        {"delete every column keeps one", deleteColumns, true, false, 0, 7, 0, 7},
        {"delete rows", deleteRows, false, false, 1, 2, 1, 2},
        {"insert columns", insertColumnsAt, true, true, 2, 2, 2, 2},
        {"insert columns at the last", insertColumnsAt, true, true, 7, 3, 8, 3},
        {"insert a row first", insertRowsAt, false, true, 0, 1, 0, 1},
        {"insert rows at the last", insertRowsAt, false, true, 5, 2, 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeMap(8, 6);
        fill();
        const MapGrid before = map();
        ASSERT_EQ(c.edit(*ws, undo, c.a, c.b).lines, c.lines);
        const int d = c.insert ? c.lines : -c.lines;
        ASSERT_EQ(std::pair(map().width, map().height), std::pair(8 + (c.columns ? d : 0), 6 + (c.columns ? 0 : d)));
        for (int y = 0; y < map().height; ++y)
            for (int x = 0; x < map().width; ++x) {
                const int i = c.columns ? x : y;
                const bool blank = c.insert && i >= c.first && i < c.first + c.lines;
                const int from = i < c.first ? i : i - d;
                const MapCell want = blank ? MapCell{} : *before.cellAt(c.columns ? from : x, c.columns ? y : from);
                ASSERT_EQ(cell(x, y), want) << x << "," << y;
            }
        if (c.insert)
            EXPECT_EQ(undo.undoName(), c.columns ? "Insert Column" : "Insert Row");
        else
            EXPECT_EQ(std::pair(undo.stepKind(), undo.deletedLines()),
                      std::pair(int(c.columns ? STEP_COLUMNS_DELETED : STEP_ROWS_DELETED),
                                (std::uint32_t(c.first) << 16) | std::uint32_t(c.lines)));
        const MapGrid after = map();
        UndoListener listener;
        ASSERT_TRUE(undo.undo(*ws, listener));
        EXPECT_EQ(std::tuple(map().width, map().height, map().cells), std::tuple(8, 6, before.cells));
        ASSERT_TRUE(undo.redo(*ws, listener));
        EXPECT_EQ(std::tuple(map().width, map().height, map().cells), std::tuple(after.width, after.height, after.cells));
    }
}

TEST_F(RowColumnEditTest, BadRangesNothingToInsertOrNoMemoryMakeNoStep)
{
    EXPECT_EQ(deleteColumns(*ws, undo, -1, 3).lines, 0);
    EXPECT_EQ(deleteColumns(*ws, undo, 4, 3).lines, 0);
    EXPECT_EQ(deleteRows(*ws, undo, 6, 9).lines, 0);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, 0).lines, 0);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 2, -3).lines, 0);
    EXPECT_EQ(insertRowsAt(*ws, undo, 0, 1 << 30).result.text(), MSG_NO_MEMORY_INSERT_ROW);
    EXPECT_EQ(insertColumnsAt(*ws, undo, 0, 1 << 30).result.text(), MSG_NO_MEMORY_INSERT_COLUMN);
    EXPECT_FALSE(undo.canUndo());
    makeMap(1, 1);
    EXPECT_EQ(deleteRows(*ws, undo, 0, 0).lines, 0);
}

} // namespace
} // namespace qm
