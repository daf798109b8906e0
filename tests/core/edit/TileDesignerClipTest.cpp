#include "core/edit/PicturePaste.h"
#include "core/edit/TileDesignerClip.h"
#include "core/project/Workspace.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

// Past the ui's CTileEditorTest (copy and paste of both records, the picture paste):
namespace {

class TileDesignerClipTest : public ::testing::Test {
protected:
    TileSet& set() { return ws->tiles.bg; }
    CTile& tile(int i) { return set().tiles[static_cast<size_t>(i)]; }
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
};

TEST_F(TileDesignerClipTest, TheTileRecordGoesRightToLeftWithinRowsAndFillsAWiderFrameRowByRow)
{
    for (int k = 4; k < 8; ++k) { // a 2x2 frame at tile 4
        tile(k).pixels.fill(static_cast<std::uint8_t>(k % 4));
        tile(k).setPalette(k % 8);
        tile(k).setComment("t" + std::to_string(k));
    }
    const std::vector<std::uint8_t> bytes = encodeTileDesigner(set(), TileFrame{4, 2, 2});
    const auto entries = decodeTileClip(bytes);
    ASSERT_TRUE(entries && entries->size() == 4u);
    std::string order;
    for (const TileClipEntry& e : *entries)
        order += e.comment + "," + std::to_string(e.palette) + "," + std::to_string(e.pixels[63]) + "|";
    EXPECT_EQ(order, "t5,5,1|t4,4,0|t7,7,3|t6,6,2|");

    // Into a wider frame a row ends at the first position numbered at or past the count.
    ASSERT_TRUE(pasteTileDesigner(set(), undo, TileFrame{200, 3, 2}, *entries));
    std::string comments;
    for (int i = 200; i < 206; ++i)
        comments += std::string(tile(i).commentText()) + "|";
    EXPECT_EQ(comments, "t7|t4|t5||||");
    EXPECT_EQ(std::tuple(tile(201).palette(), tile(201).pixels[9], undo.tileRecords().size()), std::tuple(4, 0, 6u));
    // A frame running past the set copies blank entries for the missing tiles.
    const auto tail = decodeTileClip(encodeTileDesigner(set(), TileFrame{511, 2, 1}));
    ASSERT_TRUE(tail && tail->size() == 2u);
    EXPECT_EQ((*tail)[0].pixels, CTile{}.pixels);
}

TEST_F(TileDesignerClipTest, ThePixelRecordRoundTripsAndDamagedRecordsAreRefused)
{
    tile(0).setPixel(7, 7, 3);
    tile(1).setPixel(0, 7, 2);
    const test::Bytes golden{2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 3, 2};
    EXPECT_EQ(encodeTileDesignerPixel(set(), TileFrame{0, 2, 1}, PixelRect::fromCorners(8, 7, 7, 6)), golden);
    const auto clip = decodeTileDesignerPixel(golden);
    ASSERT_TRUE(clip);
    EXPECT_EQ(std::tuple(clip->width, clip->height, clip->pixels), std::tuple(2u, 2u, test::Bytes{0, 0, 3, 2}));
    EXPECT_EQ(test::wrongPrefix(golden, [](auto b) { return decodeTileDesignerPixel(b); }), std::nullopt);
    test::Bytes longer = golden;
    longer.push_back(1);
    EXPECT_FALSE(decodeTileDesignerPixel(longer));
    EXPECT_FALSE(decodeTileDesignerPixel(test::Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    const auto masked = decodeTileDesignerPixel(test::Bytes{1, 0, 0, 0, 1, 0, 0, 0, 0xFE});
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->pixels[0], 2);
}

TEST_F(TileDesignerClipTest, APixelPasteIsClippedAtTheFrame)
{
    const PixelClip clip{4, 4, std::vector<std::uint8_t>(16, 3)};
    ASSERT_TRUE(pasteTileDesignerPixel(set(), undo, TileFrame{30, 1, 1}, 6, 6, clip)); // a 2x2 corner lands
    EXPECT_EQ(std::pair(std::count(tile(30).pixels.begin(), tile(30).pixels.end(), 3), int(tile(30).pixel(7, 7))),
              std::pair(std::ptrdiff_t(4), 3));
    EXPECT_EQ(tile(31).pixels, CTile{}.pixels); // outside the frame
    ASSERT_TRUE(pasteTileDesignerPixel(set(), undo, TileFrame{40, 1, 1}, -100, 2000000000, clip));
    EXPECT_EQ(tile(40).pixels, CTile{}.pixels);
}

TEST_F(TileDesignerClipTest, APicturePasteTakesTheFirstFourValuesAndStopsAtTile511)
{
    // 17x9 picture, 24 bits: five values; the fifth leaves the tile pixel as it was.
    PictureData pic{17, 9, 24, std::vector<std::uint32_t>(17 * 9, 0xAAAAAA)};
    for (std::uint32_t i = 1; i < 5; ++i)
        pic.values[i] = 0x111111 * i;
    pic.values[17 + 9] = 0x333333; // row 1, column 9: tile 2, pixel (1, 1)
    tile(1).setPixel(4, 0, 2);
    const PicturePasteResult r = pastePicture(set(), undo, 1, pic);
    EXPECT_EQ(std::tuple(r.result.ok(), r.firstTile, r.lastTile), std::tuple(true, 1, 2));
    EXPECT_EQ(std::vector<int>(tile(1).pixels.begin(), tile(1).pixels.begin() + 6), (std::vector<int>{0, 1, 2, 3, 2, 0}));
    EXPECT_EQ(std::pair(int(tile(2).pixel(1, 1)), undo.tileRecords().size()), std::pair(3, size_t(2)));
    EXPECT_EQ(pastePicture(set(), undo, 511, PictureData{16, 8, 8, std::vector<std::uint32_t>(128, 5)}).lastTile, 511);
    EXPECT_EQ(undo.tileRecords().size(), 1u);
    // A whole map's picture is read only as far as its tiles: from tile 511, one row of them.
    EXPECT_EQ(std::tuple(picturePasteLines(32768, 32768, 511), picturePasteLines(16, 4096, 0), picturePasteLines(17, 9, 1)),
              std::tuple(8, 256 * 8, 8));
    EXPECT_EQ(pastePicture(set(), undo, 0, PictureData{32768, 32768, 8, std::vector<std::uint32_t>(32768 * 8, 1)}).lastTile,
              511);
    EXPECT_EQ(pastePicture(set(), undo, 0, PictureData{7, 8, 8, std::vector<std::uint32_t>(56, 1)}).firstTile, -1);
    EXPECT_FALSE(pastePicture(set(), undo, 0, PictureData{8, 8, 32, std::vector<std::uint32_t>(64, 1)}).result);
    EXPECT_FALSE(pastePicture(set(), undo, 0, PictureData{8, 8, 8, std::vector<std::uint32_t>(3, 1)}).result);
}

} // namespace
