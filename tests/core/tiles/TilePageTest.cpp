#include "core/tiles/TileAnimation.h"
#include "core/tiles/TilePageState.h"
#include "core/tiles/TileSelection.h"

#include <gtest/gtest.h>

using namespace qm;
using Key = TilePageState::Key;

// Clicks, selection and keys through the pages are pinned by CTilesetMgrTest, the animation by
// CTileEditorTest; these are the edges they do not reach.
TEST(TileSelection, ShiftNeverRepeatsATileAndCtrlKeepsTheOnlyOne)
{
    const struct { int tile; bool shift, ctrl; std::vector<int> list; int current; } steps[] = {
        {9, false, false, {9}, 9},
        {4, false, true, {9, 4}, 4},
        {10, true, false, {4, 5, 6, 7, 8, 9, 10}, 10}, // 9 comes again and moves there
        {10, false, true, {4, 5, 6, 7, 8, 9}, 9},      // Ctrl on a member takes it out
        {12, false, false, {12}, 12},
        {12, false, true, {12}, 12},                   // but keeps the only tile
    };
    TileSelection s;
    for (const auto& st : steps) {
        s.click(st.tile, st.shift, st.ctrl);
        EXPECT_EQ(std::pair(s.tiles(), s.current()), std::pair(st.list, st.current)) << st.tile;
    }
    s.replace({3, 3, 8});
    s.replace({}); // an empty list keeps the current tile
    EXPECT_EQ(s.current(), 8);
    s.replaceCurrent(20);
    EXPECT_EQ(s.tiles(), std::vector<int>{20});
}

TEST(TilePageState, KeysMoveWithinABankAndBringTheCurrentTileIntoView)
{
    TilePageState page;
    page.setTopRow(0, 1000);
    page.setTopRow(1, -5);
    EXPECT_EQ(std::tuple(page.tileAtCell(19), page.tileAtCell(20)), std::tuple(255, 256));
    page.selectTile(19);
    page.setTopRow(0, 0);
    page.key(Key::Down); // the last row: moves and scrolls
    EXPECT_EQ(std::tuple(page.current(), page.topRow(0)), std::tuple(20, 1));
    page.setTopRow(0, 100); // scrolled away: the column comes back to the current tile
    page.key(Key::Down);
    EXPECT_TRUE(page.current() == 20 && page.shown(20));
    page.selectTile(256);
    page.key(Key::Up);
    EXPECT_EQ(page.current(), 256);

    page.selectTile(5);
    page.setTopRow(0, 0);
    page.setTopRow(1, 10);
    // Right: the same row of the other column, where it stays; then back, forward and back past 0.
    for (const auto& [key, n, want] : {std::tuple{Key::Right, 1, 256 + 10 + 5}, {Key::Right, 1, 271}, {Key::Left, 1, 5},
                                       {Key::Forward, 40, 45}, {Key::Back, 100, 0}}) {
        page.key(key, n);
        EXPECT_TRUE(page.current() == want && page.shown(want)) << want;
    }
    page.selectTile(510);
    page.key(Key::Forward, 5);
    EXPECT_EQ(page.selection().tiles(), std::vector<int>{511});
}

TEST(TileAnimation, FramesOfSeveralTilesStepByTheirSizeAndPlayingAgainStartsAfresh)
{
    TileAnimation a;
    std::vector<int> shown{a.play(0, 4, 2)};
    for (int i = 0; i < 3; ++i)
        shown.push_back(a.tick());
    EXPECT_EQ(shown, (std::vector<int>{0, 4, 0, 4}));
    EXPECT_EQ(a.play(7, 1, 1), 7);
    EXPECT_EQ(a.tick(), 7);
    a.play(10, 1, 3);
    a.tick();
    EXPECT_EQ(a.play(10, 1, 3), 10);
    EXPECT_EQ(a.tick(), 11);
}
