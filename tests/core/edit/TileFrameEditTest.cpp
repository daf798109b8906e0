#include "core/edit/TileFrameEdit.h"
#include "core/project/Workspace.h"
#include "core/tiles/TileFrame.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace qm;

namespace {

// A picture coordinate as the corner of its tile and the place inside the tile.
int b(int v) { return v / 8 * 8; }
int l(int v) { return v % 8; }

class TileFrameEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        std::mt19937 rng(7);
        for (CTile& t : set().tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() % 4);
    }
    TileSet& set() { return ws->tiles.bg; }
    CTile& tile(int i) { return set().tiles[static_cast<size_t>(i)]; }
    // The frame as one picture, row-major.
    std::vector<std::uint8_t> picture(const TileFrame& f)
    {
        std::vector<std::uint8_t> out;
        for (int y = 0; y < f.pixelHeight(); ++y)
            for (int x = 0; x < f.pixelWidth(); ++x)
                out.push_back(framePixel(set(), f, x, y));
        return out;
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    UndoListener quiet;
};

TEST_F(TileFrameEditTest, RotateFlipAndScrollMoveEveryPixelAndPaletteOfTheFrameOrOfEachTileAndUndoTogether)
{
    using Edit = std::function<Result(const TileFrame&)>;
    // Where the new pixel at (x, y) of a w x h picture comes from.
    using P = std::pair<int, int>;
    using From = P (*)(int x, int y, int w, int h);
    using enum ScrollDirection;
    const auto scroll = [&](ScrollDirection d, bool each) -> Edit {
        return [&, d, each](const TileFrame& f) { return scrollFrame(set(), undo, f, d, each); };
    };
    const auto flip = [&](bool h, bool each) -> Edit {
        return [&, h, each](const TileFrame& f) { return flipFrame(set(), undo, f, h, each); };
    };
    const auto rotate = [&](bool each) -> Edit {
        return [&, each](const TileFrame& f) { return rotateFrame(set(), undo, f, each); };
    };
    const struct {
        const char* name;
        TileFrame frame;
        Edit edit;
        From from;
    } cases[] = {
        {"rotate", {20, 2, 2}, rotate(false), [](int x, int y, int w, int) { return P{y, w - 1 - x}; }},
        {"rotate each", {20, 2, 2}, rotate(true), [](int x, int y, int, int) { return P{b(x) + l(y), b(y) + 7 - l(x)}; }},
        {"flip h", {5, 3, 1}, flip(true, false), [](int x, int y, int w, int) { return P{w - 1 - x, y}; }},
        {"flip h each", {5, 3, 1}, flip(true, true), [](int x, int y, int, int) { return P{b(x) + 7 - l(x), y}; }},
        {"flip v", {40, 1, 3}, flip(false, false), [](int x, int y, int, int h) { return P{x, h - 1 - y}; }},
        {"flip v each", {40, 1, 3}, flip(false, true), [](int x, int y, int, int) { return P{x, b(y) + 7 - l(y)}; }},
        {"up", {100, 1, 2}, scroll(Up, false), [](int x, int y, int, int h) { return P{x, (y + 1) % h}; }},
        {"down", {100, 1, 2}, scroll(Down, false), [](int x, int y, int, int h) { return P{x, (y + h - 1) % h}; }},
        {"left", {0, 2, 1}, scroll(Left, false), [](int x, int y, int w, int) { return P{(x + 1) % w, y}; }},
        {"right", {0, 2, 1}, scroll(Right, false), [](int x, int y, int w, int) { return P{(x + w - 1) % w, y}; }},
        {"up each", {100, 1, 2}, scroll(Up, true), [](int x, int y, int, int) { return P{x, b(y) + l(y + 1)}; }},
        {"down each", {100, 1, 2}, scroll(Down, true), [](int x, int y, int, int) { return P{x, b(y) + l(y + 7)}; }},
        {"left each", {0, 2, 1}, scroll(Left, true), [](int x, int y, int, int) { return P{b(x) + l(x + 1), y}; }},
        {"right each", {0, 2, 1}, scroll(Right, true), [](int x, int y, int, int) { return P{b(x) + l(x + 7), y}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = c.frame.pixelWidth(), h = c.frame.pixelHeight();
        for (int i = 0; i < c.frame.size(); ++i)
            tile(c.frame.start + i).setPalette(i % 8);
        tile(c.frame.start).setComment("first");
        const std::vector<std::uint8_t> before = picture(c.frame);
        ASSERT_TRUE(c.edit(c.frame));
        const std::vector<std::uint8_t> now = picture(c.frame);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto [fx, fy] = c.from(x, y, w, h);
                ASSERT_EQ(now[size_t(y * w + x)], before[size_t(fy * w + fx)]) << x << "," << y;
            }
        // A tile takes the palette of the tile its pixels came from; the comments stay.
        for (int ty = 0; ty < c.frame.height; ++ty)
            for (int tx = 0; tx < c.frame.width; ++tx) {
                const auto [fx, fy] = c.from(tx * 8 + 3, ty * 8 + 3, w, h);
                EXPECT_EQ(tile(c.frame.tileAt(ty, tx)).palette(), (fy / 8 * c.frame.width + fx / 8) % 8) << tx << "," << ty;
            }
        EXPECT_EQ(tile(c.frame.start).commentText(), "first");
        EXPECT_EQ(undo.tileRecords().size(), size_t(c.frame.size()));
        ASSERT_TRUE(undo.undo(*ws, quiet));
        EXPECT_EQ(picture(c.frame), before);
    }
}

// Past the ui's CTileEditorTest (the refusals at tile 510, the pencil and the bucket):
TEST_F(TileFrameEditTest, RefusalsKeepTheLastStepAndFillsStayInsideTheFrameAndTheSet)
{
    undo.beginStep(STEP_CELLS, StepName::None);
    const CTile t510 = tile(510);
    EXPECT_EQ(rotateFrame(set(), undo, TileFrame{0, 2, 1}, false).text(), MSG_ROTATE_NOT_SQUARE);
    EXPECT_EQ(flipFrame(set(), undo, TileFrame{510, 2, 2}, true, true).text(), MSG_FLIP_EMPTY_TILES);
    EXPECT_TRUE(tile(510).sameContent(t510));
    EXPECT_EQ(undo.stepKind(), STEP_CELLS); // the previous step is still there to undo
    EXPECT_TRUE(flipFrame(set(), undo, TileFrame{510, 2, 1}, true, false)); // ending at tile 511 is fine

    for (int i = 0; i < 4; ++i)
        tile(i).pixels.fill(1);
    tile(0).setPixel(3, 3, 2);
    EXPECT_TRUE(bucketFill(set(), undo, TileFrame{0, 2, 1}, 15, 7, 3).changed); // the whole frame, nothing beyond
    EXPECT_EQ(std::tuple(tile(0).pixel(0, 0), tile(1).pixel(7, 0), tile(0).pixel(3, 3), tile(2).pixel(0, 0)),
              std::tuple(3, 3, 2, 1));
    tile(511).pixels.fill(0);
    EXPECT_TRUE(bucketFill(set(), undo, TileFrame{511, 2, 2}, 0, 0, 2).changed);
    EXPECT_EQ(std::pair(undo.tileRecords().size(), std::count(tile(511).pixels.begin(), tile(511).pixels.end(), 2)),
              std::pair(size_t(1), std::ptrdiff_t(64)));
    EXPECT_FALSE(bucketFill(set(), undo, TileFrame{511, 2, 2}, 8, 0, 1).changed);
    EXPECT_FALSE(pencilPress(set(), undo, TileFrame{511, 2, 1}, 8, 0, 3).changed);
    setFrameComment(set(), TileFrame{510, 2, 2}, std::string(40, 'x')); // inside the set only
    EXPECT_EQ(std::pair(std::string(tile(511).commentText()), int(tile(509).commentLength)), std::pair(std::string(32, 'x'), 0));
}

// Past the ui's CTileEditorTest (the boxes, limits and bar sizes): the zoom's edges.
TEST(TileFrame, TheZoomOfAFrameSize)
{
    for (const auto& [w, h, maxHeight, zoom] : {std::array{2, 2, 16, 16}, {3, 1, 16, 8}, {8, 8, 16, 8}, {9, 1, 16, 4},
                                                 {1, 9, 16, 4}, {1, 7, 11, 4}, {1, 6, 11, 8}})
        EXPECT_EQ(frameZoom(w, h, maxHeight), zoom) << w << "x" << h << " " << maxHeight;
}

} // namespace
