#include "core/edit/MapLine.h"

#include "core/edit/MapCommands.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

std::vector<CellPos> cells(std::initializer_list<CellPos> list) { return list; }

TEST(MapLine, StepsOfEveryDirection)
{
    EXPECT_EQ(lineCells(0, 0, 4, 5), cells({{0, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 5}}));
    EXPECT_EQ(lineCells(2, 2, 2, 2), cells({}));
    EXPECT_EQ(lineCells(3, 3, 3, 0), cells({{3, 2}, {3, 1}, {3, 0}}));
    EXPECT_EQ(lineCells(3, 1, 0, 1), cells({{2, 1}, {1, 1}, {0, 1}}));
    EXPECT_EQ(lineCells(0, 3, 3, 0), cells({{1, 2}, {2, 1}, {3, 0}}));
    // Flat, leftwards: always ends at the target.
    const std::vector<CellPos> flat = lineCells(6, 0, 0, 2);
    EXPECT_EQ(flat.size(), 6u);
    EXPECT_EQ(flat.back(), (CellPos{0, 2}));
}

using MapLineEditTest = MapEditTest;

// The line tool paints the start at the press and the listed cells at the
// release, all in one step.
TEST_F(MapLineEditTest, LineIsOneUndoStep)
{
    MapEdit e = edit();
    const TileChoice tile{TILE_BG, 12, 1};
    undo.beginStep(STEP_CELLS, StepName::None);
    ASSERT_TRUE(paintCell(e, 0, 0, tile));
    for (const CellPos& p : lineCells(0, 0, 4, 5))
        ASSERT_TRUE(paintCell(e, p.x, p.y, tile));
    int painted = 0;
    for (const MapCell& c : map().cells)
        painted += c.showsTile(TILE_BG, 12);
    EXPECT_EQ(painted, 7);
    EXPECT_TRUE(cell(2, 4).showsTile(TILE_BG, 12));
    undoStep();
    for (const MapCell& c : map().cells)
        EXPECT_FALSE(c.hasBg());
}

} // namespace
} // namespace qm
