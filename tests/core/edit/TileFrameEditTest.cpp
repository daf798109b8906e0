#include "core/edit/TileFrameEdit.h"
#include "core/edit/TilePaletteFollow.h"
#include "core/project/Workspace.h"
#include "core/render/MapRenderer.h"
#include "core/tiles/TileFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

using namespace qm;

namespace {

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

    static std::array<std::uint8_t, 64> mirrorH(const std::array<std::uint8_t, 64>& p)
    {
        std::array<std::uint8_t, 64> o{};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                o[static_cast<size_t>(y * 8 + x)] = p[static_cast<size_t>(y * 8 + 7 - x)];
        return o;
    }
    static std::array<std::uint8_t, 64> mirrorV(const std::array<std::uint8_t, 64>& p)
    {
        std::array<std::uint8_t, 64> o{};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                o[static_cast<size_t>(y * 8 + x)] = p[static_cast<size_t>((7 - y) * 8 + x)];
        return o;
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    UndoListener quiet;
};

TEST_F(TileFrameEditTest, RotatingATwoByTwoFrameTurnsThePictureAsAWhole)
{
    const TileFrame f{20, 2, 2};
    for (int i = 0; i < 4; ++i)
        tile(20 + i).setPalette(i + 1);
    tile(20).setComment("top left");
    const std::vector<std::uint8_t> before = picture(f);

    ASSERT_TRUE(rotateFrame(set(), undo, f, false));
    const std::vector<std::uint8_t> after = picture(f);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(after[static_cast<size_t>(r * 16 + c)], before[static_cast<size_t>((15 - c) * 16 + r)]) << r << "," << c;
    // Palettes travel with the tiles: the old top left is now top right.
    EXPECT_EQ(tile(21).palette(), 1);
    EXPECT_EQ(tile(23).palette(), 2);
    EXPECT_EQ(tile(22).palette(), 4);
    EXPECT_EQ(tile(20).palette(), 3);
    EXPECT_EQ(tile(20).commentText(), "top left"); // comments stay where they were

    // One tile step holding the four tiles; Undo gives everything back.
    EXPECT_EQ(undo.stepKind(), STEP_TILES);
    EXPECT_EQ(undo.tileRecords().size(), 4u);
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(picture(f), before);
    EXPECT_EQ(tile(20).palette(), 1);

    // Four turns give back the frame.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(rotateFrame(set(), undo, f, false));
    EXPECT_EQ(picture(f), before);
}

TEST_F(TileFrameEditTest, RotatingWithCtrlTurnsEachTileInPlace)
{
    const TileFrame f{20, 2, 2};
    std::vector<CTile> old(4);
    for (int i = 0; i < 4; ++i) {
        tile(20 + i).setPalette(i + 1);
        old[static_cast<size_t>(i)] = tile(20 + i);
    }
    ASSERT_TRUE(rotateFrame(set(), undo, f, true));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tile(20 + i).palette(), i + 1);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                ASSERT_EQ(tile(20 + i).pixel(c, r), old[static_cast<size_t>(i)].pixel(r, 7 - c));
    }
}

TEST_F(TileFrameEditTest, FlippingAThreeByOneFrame)
{
    const TileFrame f{5, 3, 1};
    std::vector<CTile> old;
    for (int i = 0; i < 3; ++i) {
        tile(5 + i).setPalette(i);
        old.push_back(tile(5 + i));
    }
    // Horizontally as a picture: tiles 1 and 3 change places, all mirrored.
    ASSERT_TRUE(flipFrame(set(), undo, f, true, false));
    EXPECT_EQ(tile(5).pixels, mirrorH(old[2].pixels));
    EXPECT_EQ(tile(6).pixels, mirrorH(old[1].pixels));
    EXPECT_EQ(tile(7).pixels, mirrorH(old[0].pixels));
    EXPECT_EQ(tile(5).palette(), 2);
    EXPECT_EQ(tile(7).palette(), 0);
    ASSERT_TRUE(undo.undo(*ws, quiet));

    // With Ctrl: only mirrored in place.
    ASSERT_TRUE(flipFrame(set(), undo, f, true, true));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tile(5 + i).pixels, mirrorH(old[static_cast<size_t>(i)].pixels));
        EXPECT_EQ(tile(5 + i).palette(), i);
    }
    ASSERT_TRUE(undo.undo(*ws, quiet));

    // Vertically: a single row of tiles has nothing to exchange.
    ASSERT_TRUE(flipFrame(set(), undo, f, false, false));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tile(5 + i).pixels, mirrorV(old[static_cast<size_t>(i)].pixels));
}

TEST_F(TileFrameEditTest, FlippingAOneByThreeFrameVerticallyExchangesRows)
{
    const TileFrame f{40, 1, 3};
    const CTile top = tile(40), bottom = tile(42);
    tile(40).setPalette(6);
    ASSERT_TRUE(flipFrame(set(), undo, f, false, false));
    EXPECT_EQ(tile(40).pixels, mirrorV(bottom.pixels));
    EXPECT_EQ(tile(42).pixels, mirrorV(top.pixels));
    EXPECT_EQ(tile(42).palette(), 6);
}

TEST_F(TileFrameEditTest, ScrollingAOneByTwoFrameSixteenTimesGivesItBack)
{
    const TileFrame f{100, 1, 2};
    const std::vector<std::uint8_t> before = picture(f);
    const CTile top = tile(100), bottom = tile(101);

    ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Up, false));
    // The top tile's new bottom row is the old top row of the tile below; the
    // bottom tile receives the old top row of the top tile.
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(tile(100).pixel(x, 7), bottom.pixel(x, 0));
        EXPECT_EQ(tile(101).pixel(x, 7), top.pixel(x, 0));
        EXPECT_EQ(tile(100).pixel(x, 0), top.pixel(x, 1));
    }
    for (int i = 1; i < 16; ++i)
        ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Up, false));
    EXPECT_EQ(picture(f), before);

    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Down, false));
    EXPECT_EQ(picture(f), before);
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Right, false));
    EXPECT_EQ(picture(f), before);

    // Tile by tile, eight steps give back the frame; one step keeps each tile's rows apart.
    ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Up, true));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(tile(100).pixel(x, 7), top.pixel(x, 0));
    for (int i = 1; i < 8; ++i)
        ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Up, true));
    EXPECT_EQ(picture(f), before);
}

TEST_F(TileFrameEditTest, ScrollingLeftCarriesPixelsAcrossTiles)
{
    const TileFrame f{0, 2, 1};
    const CTile left = tile(0), right = tile(1);
    ASSERT_TRUE(scrollFrame(set(), undo, f, ScrollDirection::Left, false));
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(tile(0).pixel(7, y), right.pixel(0, y));
        EXPECT_EQ(tile(1).pixel(7, y), left.pixel(0, y));
    }
}

TEST_F(TileFrameEditTest, AFrameRunningPastTheLastTileIsRefused)
{
    const TileFrame f{510, 2, 2};
    const CTile t510 = tile(510), t511 = tile(511);
    undo.beginStep(STEP_CELLS, StepName::None);
    const auto refused = [&](const Result& r, const char* text) {
        EXPECT_FALSE(r);
        EXPECT_EQ(r.text(), text);
    };
    refused(scrollFrame(set(), undo, f, ScrollDirection::Left, false), "Unable to scroll tiles because of number of the empty tile(s)");
    refused(scrollFrame(set(), undo, f, ScrollDirection::Right, true), "Unable to rotate tiles because of number of the empty tile(s)");
    refused(scrollFrame(set(), undo, f, ScrollDirection::Up, false), "Unable to rotate tiles because of number of the empty tile(s)");
    refused(scrollFrame(set(), undo, f, ScrollDirection::Down, false), "Unable to rotate tiles because of number of the empty tile(s)");
    refused(flipFrame(set(), undo, f, true, false), "Unable to flip tiles because of number of the empty tile(s)");
    refused(flipFrame(set(), undo, f, false, true), "Unable to flip tiles because of number of the empty tile(s)");
    refused(rotateFrame(set(), undo, f, false), "Unable to rotate tiles because of the empty tile(s)");
    refused(rotateFrame(set(), undo, TileFrame{0, 2, 1}, false), "You only can rotate a square frame");
    EXPECT_TRUE(tile(510).sameContent(t510));
    EXPECT_TRUE(tile(511).sameContent(t511));
    EXPECT_EQ(undo.stepKind(), STEP_CELLS); // the previous step is still there to undo

    // A frame that ends exactly at tile 511 is fine.
    EXPECT_TRUE(flipFrame(set(), undo, TileFrame{510, 2, 1}, true, false));
}

TEST_F(TileFrameEditTest, BucketFill)
{
    for (int i = 0; i < 4; ++i)
        tile(i).pixels.fill(1);
    tile(0).setPixel(3, 3, 2);
    const TileFrame f{0, 2, 1};

    // The clicked pixel already has the colour: nothing changes, nothing is saved.
    undo.beginStep(STEP_CELLS, StepName::None);
    EditOutcome same = bucketFill(set(), undo, f, 0, 0, 1);
    EXPECT_TRUE(same.result);
    EXPECT_FALSE(same.changed);
    EXPECT_EQ(undo.stepKind(), STEP_CELLS);

    // Otherwise the region crosses into the next frame tile but not beyond the frame.
    EditOutcome fill = bucketFill(set(), undo, f, 0, 0, 3);
    EXPECT_TRUE(fill.changed);
    EXPECT_EQ(undo.stepKind(), STEP_TILES);
    EXPECT_EQ(undo.tileRecords().size(), 2u);
    EXPECT_EQ(tile(1).pixel(7, 7), 3);
    EXPECT_EQ(tile(0).pixel(3, 3), 2);
    EXPECT_EQ(tile(2).pixel(0, 0), 1);

    // A frame at tile 511 fills only tile 511.
    tile(511).pixels.fill(0);
    EditOutcome last = bucketFill(set(), undo, TileFrame{511, 2, 2}, 0, 0, 2);
    EXPECT_TRUE(last.changed);
    EXPECT_EQ(undo.tileRecords().size(), 1u);
    EXPECT_EQ(tile(511).pixel(7, 7), 2);
    // A click on a position beyond the set does nothing.
    EXPECT_FALSE(bucketFill(set(), undo, TileFrame{511, 2, 2}, 8, 0, 1).changed);
}

TEST_F(TileFrameEditTest, PencilSavesTheFrameOnPress)
{
    const TileFrame f{300, 2, 1};
    const CTile old = tile(301);
    EditOutcome out = pencilPress(set(), undo, f, 9, 2, static_cast<std::uint8_t>((old.pixel(1, 2) + 1) % 4));
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(undo.tileRecords().size(), 2u);
    EXPECT_EQ(tile(301).pixel(1, 2), (old.pixel(1, 2) + 1) % 4);
    EXPECT_EQ(frameTileAtPixel(f, 16, 0), -1);
    EXPECT_EQ(frameTileAtPixel(TileFrame{511, 2, 1}, 8, 0), -1);
    EXPECT_FALSE(setFramePixel(set(), TileFrame{511, 2, 1}, 8, 0, 3));
}

TEST_F(TileFrameEditTest, FramePaletteIsOneStepWithTheMapThatFollows)
{
    MapGrid& map = ws->project.map;
    ASSERT_TRUE(map.create(4, 1));
    map.cellAt(0, 0)->place(TILE_BG, 8, 0);
    map.cellAt(1, 0)->place(TILE_BG, 9, 0);
    map.cellAt(2, 0)->place(TILE_BG, 10, 1); // shown with palette 1, like its tile
    MapRenderer renderer(map, ws->tiles);
    renderer.reset();
    tile(10).setPalette(1);

    std::vector<TilePaletteChange> sent;
    const Result r = setFramePalette(set(), undo, TileFrame{8, 3, 1}, 5, [&](const TilePaletteChange& c) {
        sent.push_back(c);
        followTilePaletteChange(*ws, undo, renderer, c);
    });
    ASSERT_TRUE(r);
    EXPECT_EQ(set().currentPalette(), 5);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].oldPalette, 1);
    EXPECT_EQ(sent[2].layer, TILE_BG);
    EXPECT_EQ(sent[0].firstTile, 8);
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(2, 0)->palette(TILE_BG), 5);

    // One Undo puts back the tiles and every cell.
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(tile(8).palette(), 0);
    EXPECT_EQ(tile(10).palette(), 1);
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 0);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 0);
    EXPECT_EQ(map.cellAt(2, 0)->palette(TILE_BG), 1);
}

TEST_F(TileFrameEditTest, CommentGoesToEveryFrameTileInsideTheSet)
{
    setFrameComment(set(), TileFrame{510, 2, 2}, std::string(40, 'x'));
    EXPECT_EQ(tile(510).commentLength, 32);
    EXPECT_EQ(tile(511).commentText(), std::string(32, 'x'));
    EXPECT_EQ(tile(509).commentLength, 0);
}

TEST(TileFrameTest, ZoomAndSizes)
{
    EXPECT_EQ(frameZoom(1, 1, 16), 16);
    EXPECT_EQ(frameZoom(2, 2, 16), 16);
    EXPECT_EQ(frameZoom(3, 1, 16), 8);
    EXPECT_EQ(frameZoom(8, 8, 16), 8);
    EXPECT_EQ(frameZoom(9, 1, 16), 4);
    EXPECT_EQ(frameZoom(1, 9, 16), 4);
    EXPECT_EQ(frameZoom(1, 7, 11), 4);
    EXPECT_EQ(frameZoom(1, 6, 11), 8);

    EXPECT_EQ(frameLimits(768).maxWidth, 30);
    EXPECT_EQ(frameLimits(768).maxHeight, 16);
    EXPECT_EQ(frameLimits(599).maxWidth, 18);
    EXPECT_EQ(frameLimits(599).maxHeight, 11);

    const FrameGeometry one = frameGeometry(1, 1, 16);
    EXPECT_EQ(one.barWidth, 225);
    EXPECT_EQ(one.barHeight, 228);
    const FrameGeometry wide = frameGeometry(30, 1, 16); // 960 wide, one row high
    EXPECT_EQ(wide.areaWidth, 960);
    EXPECT_EQ(wide.barWidth, 1000);
    EXPECT_EQ(wide.barHeight, 228 + 32);

    EXPECT_EQ(frameSizeError(31, frameLimits(768).maxWidth, true).value_or(""), "Frame width must be between 1 to 30");
    EXPECT_EQ(frameSizeError(12, 11, false).value_or(""), "Frame hight must be between 1 to 11");
    EXPECT_FALSE(frameSizeError(30, 30, true));
}

} // namespace
