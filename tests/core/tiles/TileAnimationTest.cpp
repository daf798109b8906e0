#include "core/tiles/TileAnimation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qm;

namespace {

std::vector<int> run(int start, int frameSize, int frameCount, int ticks)
{
    TileAnimation a;
    std::vector<int> shown{a.play(start, frameSize, frameCount)};
    for (int i = 0; i < ticks; ++i)
        shown.push_back(a.tick());
    return shown;
}

TEST(TileAnimationTest, CyclesThroughItsFrames)
{
    EXPECT_EQ(run(10, 1, 3, 5), (std::vector<int>{10, 11, 12, 10, 11, 12}));
    // Never past the last tile of the set.
    EXPECT_EQ(run(510, 1, 3, 4), (std::vector<int>{510, 511, 510, 511, 510}));
    // Frames of four tiles step by four.
    EXPECT_EQ(run(0, 4, 2, 3), (std::vector<int>{0, 4, 0, 4}));
    // One frame stands still.
    EXPECT_EQ(run(7, 1, 1, 2), (std::vector<int>{7, 7, 7}));
    // Playing again starts the count afresh.
    TileAnimation a;
    a.play(10, 1, 3);
    a.tick();
    EXPECT_EQ(a.play(10, 1, 3), 10);
    EXPECT_EQ(a.tick(), 11);
}

TEST(TileAnimationTest, SingleStepsStayInTheirBank)
{
    EXPECT_EQ(nextFrameTile(253, 2), 255);
    EXPECT_EQ(nextFrameTile(254, 2), std::nullopt);
    EXPECT_EQ(nextFrameTile(509, 2), 511);
    EXPECT_EQ(nextFrameTile(510, 2), std::nullopt);
    EXPECT_EQ(previousFrameTile(2, 2), 0);
    EXPECT_EQ(previousFrameTile(1, 2), std::nullopt);
    EXPECT_EQ(previousFrameTile(257, 2), std::nullopt); // would leave bank 1
    EXPECT_EQ(previousFrameTile(258, 2), 256);
}

} // namespace
