#include "core/base/ScrollTable.h"
#include "core/base/ZoomAnimation.h"
#include "core/base/ZoomTable.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(ScrollTable, EveryRequestStopsAtTheEndsOfTheMap)
{
    using R = ScrollRequest;
    const struct {
        R request;
        int current, extent, visible, thumb;
        std::optional<int> target;
    } cases[] = {
        {R::LineBack, 0, 50, 20, 0, std::nullopt}, {R::LineBack, 3, 50, 20, 0, 2},
        {R::LineForward, 44, 50, 20, 0, 45},       {R::LineForward, 45, 50, 20, 0, std::nullopt},
        {R::PageBack, 10, 50, 20, 0, 0},           {R::PageBack, 30, 50, 20, 0, 11},
        {R::PageForward, 5, 50, 20, 0, 24},        {R::PageForward, 25, 50, 20, 0, 40}, // near the end: height - visible + 10
        {R::PageForward, 0, 8, 30, 0, 0},          {R::Start, 33, 50, 20, 0, 0},
        {R::End, 0, 50, 20, 0, 45},                {R::End, 0, 3, 20, 0, 0},
        {R::Thumb, 0, 50, 20, 17, 17},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scrollTarget(c.request, c.current, c.extent, c.visible, c.thumb), c.target)
            << int(c.request) << " from " << c.current;
    EXPECT_FALSE(scrollBarNeeded(20, 8, 400));
    EXPECT_TRUE(scrollBarNeeded(50, 8, 400));
    EXPECT_EQ(scrollMaximum(50), 55);
    EXPECT_EQ(goToTarget(10, 100, 30), 10);
    EXPECT_EQ(goToTarget(70, 100, 30), 95); // the rest would not fill the view
}

TEST(ZoomTable, LevelsCellSizesAndTheAnimationFrames)
{
    std::vector<int> sizes;
    for (int level = -1; level <= ZOOM_LEVELS; ++level)
        sizes.push_back(cellSizeOfZoom(level));
    EXPECT_EQ(sizes, (std::vector<int>{0, 4, 6, 8, 10, 12, 14, 16, 24, 32, 40, 48, 0}));
    EXPECT_EQ(zoomOfCellSize(24), 7);
    EXPECT_EQ(zoomOfCellSize(9), -1);
    EXPECT_STREQ(ZOOM_LABELS[10], "700%");
    const std::vector<FrameRect> in = zoomAnimationFrames(true, 800, 600);
    ASSERT_EQ(in.size(), 7u);
    EXPECT_EQ(std::tuple(in.front().left, in.front().width, in.back().width), std::tuple(390, 20, 500));
    const std::vector<FrameRect> out = zoomAnimationFrames(false, 800, 600);
    EXPECT_EQ(std::tuple(out[0].left, out[0].width, out[1].left, out[1].top), std::tuple(50, 700, 95, 90));
    EXPECT_LE(out.back().width, 50);
    EXPECT_GT(out[out.size() - 2].width, 50);
}
