#include "core/tiles/TileAnimation.h"
#include "core/tiles/TilePageState.h"
#include "core/tiles/TileSelection.h"

#include <gtest/gtest.h>

using namespace qm;
using Key = TilePageState::Key;

TEST(TileSelection, ClicksWithShiftAndCtrlNeverRepeatATile)
{
    const struct {
        int tile;
        bool shift, ctrl;
        std::vector<int> list;
        int current;
    } steps[] = {
        {2, false, false, {2}, 2},
        {5, true, false, {2, 3, 4, 5}, 5},          // Shift extends upwards
        {0, true, false, {5, 4, 3, 2, 1, 0}, 0},    // and starts afresh downwards
        {9, false, false, {9}, 9},
        {4, false, true, {9, 4}, 4},                // Ctrl adds
        {10, true, false, {4, 5, 6, 7, 8, 9, 10}, 10}, // 9 comes again and moves there
        {10, false, true, {4, 5, 6, 7, 8, 9}, 9},   // Ctrl on a member takes it out
        {12, false, false, {12}, 12},
        {12, false, true, {12}, 12},                // but keeps the only tile
    };
    TileSelection s;
    EXPECT_EQ(s.tiles(), std::vector<int>{0});
    for (const auto& st : steps) {
        s.click(st.tile, st.shift, st.ctrl);
        EXPECT_EQ(s.tiles(), st.list) << st.tile;
        EXPECT_EQ(s.current(), st.current) << st.tile;
    }
    s.replace({3, 3, 8});
    EXPECT_EQ(s.tiles(), (std::vector<int>{3, 3, 8}));
    EXPECT_EQ(s.current(), 8);
    s.replace({}); // an empty list keeps the current tile
    EXPECT_EQ(s.current(), 8);
    s.replaceCurrent(20);
    EXPECT_EQ(s.tiles(), std::vector<int>{20});
}

TEST(TilePageState, SelectingPutsTheTileInTheTopRowAndScrollingStaysInItsBank)
{
    TilePageState page;
    ASSERT_TRUE(page.selectTile(300));
    EXPECT_EQ(page.cellOfTile(300), 20); // right column, row 0
    ASSERT_TRUE(page.selectTile(250));   // as near the top as the bank allows
    EXPECT_EQ(page.tileAtCell(0), 236);
    EXPECT_EQ(page.cellOfTile(250), 14);
    EXPECT_EQ(page.selection().tiles(), std::vector<int>{250});
    page.setTopRow(1, 1000);
    EXPECT_EQ(page.tileAtCell(20), 492);
    EXPECT_EQ(page.tileAtCell(39), 511);
    page.setTopRow(0, -5);
    EXPECT_EQ(page.tileAtCell(0), 0);
    TilePageState tags(1); // one column: bank 0 only
    EXPECT_FALSE(tags.selectTile(256));
    EXPECT_EQ(tags.current(), 0);
    EXPECT_EQ(tags.tileAtCell(20), -1);
}

TEST(TilePageState, KeysMoveWithinABankAndBringTheCurrentTileIntoView)
{
    TilePageState page;
    page.selectTile(255); // shown in the last row
    page.key(Key::Down);  // the end of the bank: no move, no scroll
    EXPECT_EQ(page.current(), 255);
    EXPECT_EQ(page.topRow(0), 236);
    page.selectTile(19);
    page.setTopRow(0, 0);
    page.key(Key::Down); // the last row: moves and scrolls
    EXPECT_EQ(page.current(), 20);
    EXPECT_EQ(page.topRow(0), 1);
    page.setTopRow(0, 100); // scrolled away: the column comes back to the current tile
    page.key(Key::Down);
    EXPECT_EQ(page.current(), 20);
    EXPECT_TRUE(page.shown(20));
    page.selectTile(256);
    page.key(Key::Up);
    EXPECT_EQ(page.current(), 256);

    page.selectTile(5);
    page.setTopRow(0, 0);
    page.setTopRow(1, 10);
    page.key(Key::Right); // the same row of the other column
    EXPECT_EQ(page.current(), 256 + 10 + 5);
    page.key(Key::Right);
    EXPECT_EQ(page.current(), 271);
    page.key(Key::Left);
    EXPECT_EQ(page.current(), 5);
    page.key(Key::Forward, 40);
    EXPECT_EQ(page.current(), 45);
    EXPECT_TRUE(page.shown(45));
    page.key(Key::Back, 100);
    EXPECT_EQ(page.current(), 0);
    page.selectTile(510);
    page.key(Key::Forward, 5);
    EXPECT_EQ(page.selection().tiles(), std::vector<int>{511});
}

TEST(TileAnimation, CyclesItsFramesWithinTheSetAndSingleStepsStayInTheirBank)
{
    const auto run = [](int start, int frameSize, int frameCount, int ticks) {
        TileAnimation a;
        std::vector<int> shown{a.play(start, frameSize, frameCount)};
        for (int i = 0; i < ticks; ++i)
            shown.push_back(a.tick());
        return shown;
    };
    EXPECT_EQ(run(10, 1, 3, 5), (std::vector<int>{10, 11, 12, 10, 11, 12}));
    EXPECT_EQ(run(510, 1, 3, 4), (std::vector<int>{510, 511, 510, 511, 510})); // never past tile 511
    EXPECT_EQ(run(0, 4, 2, 3), (std::vector<int>{0, 4, 0, 4}));
    EXPECT_EQ(run(7, 1, 1, 2), (std::vector<int>{7, 7, 7}));
    TileAnimation a; // playing again starts the count afresh
    a.play(10, 1, 3);
    a.tick();
    EXPECT_EQ(a.play(10, 1, 3), 10);
    EXPECT_EQ(a.tick(), 11);

    EXPECT_EQ(nextFrameTile(253, 2), 255);
    EXPECT_EQ(nextFrameTile(254, 2), std::nullopt);
    EXPECT_EQ(nextFrameTile(510, 2), std::nullopt);
    EXPECT_EQ(previousFrameTile(2, 2), 0);
    EXPECT_EQ(previousFrameTile(1, 2), std::nullopt);
    EXPECT_EQ(previousFrameTile(257, 2), std::nullopt); // would leave bank 1
}
