#include "core/base/RulerNumbers.h"
#include "core/base/ScrollTable.h"
#include "core/base/ZoomAnimation.h"
#include "core/base/ZoomTable.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ScrollTableTest, LineRequestsStopAtTheEnds)
{
    EXPECT_EQ(scrollTarget(ScrollRequest::LineBack, 0, 50, 20), std::nullopt);
    EXPECT_EQ(scrollTarget(ScrollRequest::LineBack, 3, 50, 20), 2);
    EXPECT_EQ(scrollTarget(ScrollRequest::LineForward, 44, 50, 20), 45);
    EXPECT_EQ(scrollTarget(ScrollRequest::LineForward, 45, 50, 20), std::nullopt);
}

TEST(ScrollTableTest, PagesTopAndBottom)
{
    EXPECT_EQ(scrollTarget(ScrollRequest::PageBack, 10, 50, 20), 0);
    EXPECT_EQ(scrollTarget(ScrollRequest::PageBack, 30, 50, 20), 11);
    EXPECT_EQ(scrollTarget(ScrollRequest::PageForward, 5, 50, 20), 24);
    // Near the end the page jumps to height - visible + 10.
    EXPECT_EQ(scrollTarget(ScrollRequest::PageForward, 25, 50, 20), 40);
    EXPECT_EQ(scrollTarget(ScrollRequest::PageForward, 0, 8, 30), 0);
    EXPECT_EQ(scrollTarget(ScrollRequest::Start, 33, 50, 20), 0);
    EXPECT_EQ(scrollTarget(ScrollRequest::End, 0, 50, 20), 45);
    EXPECT_EQ(scrollTarget(ScrollRequest::End, 0, 5, 20), 0);
    EXPECT_EQ(scrollTarget(ScrollRequest::End, 0, 3, 20), 0);
    EXPECT_EQ(scrollTarget(ScrollRequest::Thumb, 0, 50, 20, 17), 17);
}

TEST(ScrollTableTest, ScrollBarsAndGoTo)
{
    // The ruler's cell counts: 49 cells and the ruler fill 400 pixels exactly.
    EXPECT_FALSE(scrollBarNeeded(49, 8, 400));
    EXPECT_TRUE(scrollBarNeeded(50, 8, 400));
    EXPECT_EQ(scrollMaximum(50), 55);
    EXPECT_EQ(goToTarget(10, 100, 30), 10);
    EXPECT_EQ(goToTarget(70, 100, 30), 95); // the rest would not fill the view
}

TEST(ScrollTableTest, BothBarsAreDecidedTogether)
{
    // 400 x 300 pixels without bars, bars 15 pixels thick, 8-pixel cells.
    struct Case {
        int width, height;
        bool horizontal, vertical;
    };
    for (const Case c : {Case{40, 30, false, false}, Case{49, 30, false, false}, Case{40, 40, false, true},
                         Case{48, 40, true, true}, // fits until the vertical bar takes its 15 pixels
                         Case{60, 36, true, true}, Case{60, 30, true, false}}) {
        const ScrollBarsShown shown = scrollBarsNeeded(c.width, c.height, 8, 400, 300, 15, 15);
        EXPECT_EQ(shown.horizontal, c.horizontal) << c.width << "x" << c.height;
        EXPECT_EQ(shown.vertical, c.vertical) << c.width << "x" << c.height;
    }
}

TEST(ZoomTableTest, LevelsAndCellSizes)
{
    EXPECT_EQ(cellSizeOfZoom(0), 4);
    EXPECT_EQ(cellSizeOfZoom(1), 6);
    EXPECT_EQ(cellSizeOfZoom(2), 8);
    EXPECT_EQ(cellSizeOfZoom(10), 48);
    EXPECT_EQ(cellSizeOfZoom(11), 0);
    EXPECT_EQ(cellSizeOfZoom(-1), 0);
    EXPECT_EQ(zoomOfCellSize(24), 7);
    EXPECT_EQ(zoomOfCellSize(9), -1);
    EXPECT_STREQ(ZOOM_LABELS[10], "700%");
    // Zoom to fit: the largest level whose cells and ruler fit; 25% at least.
    EXPECT_EQ(zoomToFit(20, 18, 800, 600), 7); // 24-pixel cells: 504 x 456
    EXPECT_EQ(zoomToFit(20, 18, 504, 456), 7);
    EXPECT_EQ(zoomToFit(20, 18, 503, 456), 6);
    EXPECT_EQ(zoomToFit(3, 3, 4000, 4000), 10);
    EXPECT_EQ(zoomToFit(1000, 1000, 800, 600), 0);
}

TEST(RulerNumbersTest, EveryLineWhereItsNumberFitsARegularStepBelow)
{
    struct Case {
        int cellSize, width, height;
        int step, scale;
        bool stacked;
    };
    for (const Case c : {
             Case{8, 20, 18, 1, 1, false},    // 100%: "19" is 7 pixels in a box of 8
             Case{8, 150, 18, 2, 1, false},   // "149" needs two columns
             Case{8, 20, 150, 5, 1, true},    // and is wider than the row ruler
             Case{12, 150, 150, 1, 1, false}, // 150%: "149" fits
             Case{24, 20, 18, 1, 2, false},   // 300%: digits twice their size
             Case{48, 100, 18, 1, 4, false},  // 700%: "99" four times
             Case{48, 1001, 18, 1, 2, false}, // "1000" only twice
             Case{6, 20, 18, 5, 1, true},     // 50%
             Case{4, 20, 18, 5, 1, true},     // 25%, short digits
             Case{4, 2000, 18, 5, 1, true},   // "1999" across 20 pixels
             Case{4, 20, 2000, 10, 1, true},  // "1999" digit over digit needs 21
         }) {
        const RulerPlan plan = rulerPlan(c.cellSize, c.width, c.height);
        EXPECT_EQ(plan.step, c.step) << c.cellSize << " " << c.width << "x" << c.height;
        EXPECT_EQ(plan.scale, c.scale) << c.cellSize << " " << c.width << "x" << c.height;
        EXPECT_EQ(plan.stacked, c.stacked) << c.cellSize << " " << c.width << "x" << c.height;
        EXPECT_EQ(plan.digitHeight, c.cellSize < 5 ? 4 : 5);
    }
    // Labels: across, and digit over digit.
    const RulerPlan big = rulerPlan(24, 20, 18);
    EXPECT_EQ(rulerLabelSize(10, big, false).width, 14);
    EXPECT_EQ(rulerLabelSize(10, big, false).height, 10);
    EXPECT_EQ(rulerLabelSize(123, rulerPlan(4, 20, 18), true).height, 14);
    // "1" is a stroke with a foot; the short "8" is not the short "0".
    EXPECT_EQ(rulerDigitRow(1, 4, 5), 7);
    EXPECT_NE(rulerDigitRow(8, 1, 4), rulerDigitRow(0, 1, 4));
    EXPECT_EQ(rulerDigitRow(3, 5, 5), 0);
}

TEST(ZoomAnimation, FramesGrowAndShrinkBySteps)
{
    const std::vector<FrameRect> in = zoomAnimationFrames(true, 800, 600);
    ASSERT_EQ(in.size(), 7u);
    EXPECT_EQ(in.front().width, 20);
    EXPECT_EQ(in.front().left, 390);
    EXPECT_EQ(in.back().width, 500);
    const std::vector<FrameRect> out = zoomAnimationFrames(false, 800, 600);
    EXPECT_EQ(out.front().left, 50);
    EXPECT_EQ(out.front().width, 700);
    EXPECT_EQ(out[1].top, 90);
    EXPECT_LE(out.back().width, 50);
    EXPECT_GT(out[out.size() - 2].width, 50);
}

} // namespace
} // namespace qm
