#include "core/tiles/TilePageState.h"
#include "core/tiles/TileSelection.h"

#include <gtest/gtest.h>

using namespace qm;
using Key = TilePageState::Key;

TEST(TileSelection, ShiftClickExtendsUpwardsAndRestartsDownwards)
{
    TileSelection s;
    EXPECT_EQ(s.tiles(), std::vector<int>{0});
    s.selectOnly(2);
    s.click(5, true, false);
    EXPECT_EQ(s.tiles(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(s.current(), 5);
    s.click(0, true, false);
    EXPECT_EQ(s.tiles(), (std::vector<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(s.current(), 0);
}

TEST(TileSelection, ShiftClickNeverRepeatsATile)
{
    TileSelection s;
    s.selectOnly(9);
    s.click(4, false, true); // 9, 4
    s.click(10, true, false);
    // 9 comes again between 8 and 10 and moves there.
    EXPECT_EQ(s.tiles(), (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(s.current(), 10);
}

TEST(TileSelection, CtrlClickTogglesButKeepsTheOnlyTile)
{
    TileSelection s;
    s.selectOnly(7);
    s.click(7, false, true);
    EXPECT_EQ(s.tiles(), std::vector<int>{7});
    s.click(3, false, true);
    EXPECT_EQ(s.tiles(), (std::vector<int>{7, 3}));
    s.click(3, false, true);
    EXPECT_EQ(s.tiles(), std::vector<int>{7});
    EXPECT_EQ(s.current(), 7);
    s.click(12, false, false);
    EXPECT_EQ(s.tiles(), std::vector<int>{12});
}

TEST(TileSelection, ReplaceKeepsRepetitionsAndAnEmptyListKeepsTheCurrentTile)
{
    TileSelection s;
    s.selectOnly(40);
    s.replace({3, 3, 8});
    EXPECT_EQ(s.tiles(), (std::vector<int>{3, 3, 8}));
    EXPECT_EQ(s.current(), 8);
    s.replace({});
    EXPECT_TRUE(s.tiles().empty());
    EXPECT_EQ(s.current(), 8);
    s.replaceCurrent(20);
    EXPECT_EQ(s.tiles(), std::vector<int>{20});
}

TEST(TilePageState, ProgrammaticSelectPutsTheTileInTheTopRow)
{
    TilePageState page;
    EXPECT_EQ(page.current(), 0);
    ASSERT_TRUE(page.selectTile(300));
    EXPECT_EQ(page.topRow(1), 44);
    EXPECT_EQ(page.cellOfTile(300), 20); // right column, row 0
    ASSERT_TRUE(page.selectTile(250));
    EXPECT_EQ(page.topRow(0), 236);
    EXPECT_EQ(page.cellOfTile(250), 14);
    EXPECT_EQ(page.tileAtCell(0), 236);
    EXPECT_EQ(page.tileAtCell(19), 255);
    EXPECT_EQ(page.selection().tiles(), std::vector<int>{250});

    TilePageState tags(1);
    EXPECT_FALSE(tags.selectTile(256));
    EXPECT_EQ(tags.current(), 0);
    EXPECT_EQ(tags.tileAtCell(20), -1);
}

TEST(TilePageState, ScrollingStaysInItsBank)
{
    TilePageState page;
    page.setTopRow(0, 1000);
    page.setTopRow(1, 1000);
    EXPECT_EQ(page.topRow(0), 236);
    EXPECT_EQ(page.tileAtCell(19), 255);
    EXPECT_EQ(page.tileAtCell(20), 492);
    EXPECT_EQ(page.tileAtCell(39), 511);
    page.setTopRow(0, -5);
    EXPECT_EQ(page.tileAtCell(0), 0);
}

TEST(TilePageState, DownAtTheEndOfABankScrollsButDoesNotCross)
{
    TilePageState page;
    page.selectTile(255); // shown in row 19 of top 236
    page.key(Key::Down);
    EXPECT_EQ(page.current(), 255);
    EXPECT_EQ(page.topRow(0), 236);

    page.selectTile(19);
    page.setTopRow(0, 0);
    page.key(Key::Down); // last row: moves and scrolls
    EXPECT_EQ(page.current(), 20);
    EXPECT_EQ(page.topRow(0), 1);

    page.setTopRow(0, 100); // current scrolled away: the column comes back to it
    page.key(Key::Down);
    EXPECT_EQ(page.current(), 20);
    EXPECT_TRUE(page.shown(20));

    page.selectTile(256);
    page.key(Key::Up);
    EXPECT_EQ(page.current(), 256);
}

TEST(TilePageState, SidewaysAndSteppedMoves)
{
    TilePageState page;
    page.selectTile(5);
    page.setTopRow(0, 0);
    page.setTopRow(1, 10);
    page.key(Key::Right);
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
    EXPECT_EQ(page.current(), 511);
    EXPECT_EQ(page.selection().tiles(), std::vector<int>{511});
}
