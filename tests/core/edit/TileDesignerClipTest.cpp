#include "core/edit/PicturePaste.h"
#include "core/edit/TileDesignerClip.h"
#include "core/project/Workspace.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

class TileDesignerClipTest : public ::testing::Test {
protected:
    TileSet& set() { return ws.tiles.bg; }
    CTile& tile(int i) { return set().tiles[static_cast<size_t>(i)]; }
    Workspace ws;
    UndoStore undo;
};

TEST_F(TileDesignerClipTest, TileDesignerRecordGoesRightToLeftWithinRows)
{
    // A 2x2 frame at tile 4: tile k has every pixel k % 4, palette k % 8, comment "t<k>".
    for (int k = 4; k < 8; ++k) {
        tile(k).pixels.fill(static_cast<std::uint8_t>(k % 4));
        tile(k).setPalette(k % 8);
        tile(k).setComment("t" + std::to_string(k));
    }
    const std::vector<std::uint8_t> bytes = encodeTileDesigner(set(), TileFrame{4, 2, 2});
    ASSERT_EQ(bytes.size(), 4u + 4u * (1 + 64 + 1 + 2));
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    // Entries: tile 5, tile 4, tile 7, tile 6.
    const int order[] = {5, 4, 7, 6};
    for (int e = 0; e < 4; ++e) {
        const size_t at = 4 + static_cast<size_t>(e) * 68;
        EXPECT_EQ(bytes[at], order[e]) << e;             // palette
        EXPECT_EQ(bytes[at + 1], order[e] % 4) << e;     // first pixel
        EXPECT_EQ(bytes[at + 65], 2) << e;               // comment length
        EXPECT_EQ(bytes[at + 67], '0' + order[e]) << e;  // last comment character
    }

    // Pasting into another frame puts each tile in the same place again.
    const auto entries = decodeTileClip(bytes);
    ASSERT_TRUE(entries);
    ASSERT_TRUE(pasteTileDesigner(set(), undo, TileFrame{100, 2, 2}, *entries));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(tile(100 + k).pixels, tile(4 + k).pixels);
        EXPECT_EQ(tile(100 + k).palette(), tile(4 + k).palette());
        EXPECT_EQ(tile(100 + k).commentText(), tile(4 + k).commentText());
    }
    EXPECT_EQ(undo.tileRecords().size(), 4u);

    // Into a wider frame: a row ends at the first position numbered at or past the count.
    ASSERT_TRUE(pasteTileDesigner(set(), undo, TileFrame{200, 3, 2}, *entries));
    EXPECT_EQ(tile(202).commentText(), "t5"); // position 2 < 4 takes the first entry
    EXPECT_EQ(tile(201).commentText(), "t4");
    EXPECT_EQ(tile(200).commentText(), "t7");
    EXPECT_EQ(tile(203).commentLength, 0); // row 1 starts at position 5: nothing
    EXPECT_EQ(tile(205).commentLength, 0);

    // A frame running past the set copies blank entries for the missing tiles.
    const auto tail = decodeTileClip(encodeTileDesigner(set(), TileFrame{511, 2, 1}));
    ASSERT_TRUE(tail);
    ASSERT_EQ(tail->size(), 2u);
    EXPECT_EQ((*tail)[0].comment, "");
}

TEST_F(TileDesignerClipTest, PixelRecordRoundTripAndDamagedRecords)
{
    tile(0).setPixel(7, 7, 3);
    tile(1).setPixel(0, 7, 2);
    const TileFrame frame{0, 2, 1};
    const std::vector<std::uint8_t> bytes = encodeTileDesignerPixel(set(), frame, PixelRect::fromCorners(8, 7, 7, 6));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 3, 2}));
    const auto clip = decodeTileDesignerPixel(bytes);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, 2u);
    EXPECT_EQ(clip->pixels, (std::vector<std::uint8_t>{0, 0, 3, 2}));

    std::vector<std::uint8_t> shorter = bytes;
    shorter.pop_back();
    EXPECT_FALSE(decodeTileDesignerPixel(shorter));
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(1);
    EXPECT_FALSE(decodeTileDesignerPixel(longer));
    EXPECT_FALSE(decodeTileDesignerPixel(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(decodeTileDesignerPixel(std::vector<std::uint8_t>{1, 0, 0}));
    const auto masked = decodeTileDesignerPixel(std::vector<std::uint8_t>{1, 0, 0, 0, 1, 0, 0, 0, 0xFE});
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->pixels[0], 2);
}

TEST_F(TileDesignerClipTest, PixelPasteIsClippedAtTheFrameAndAtTile511)
{
    PixelClip clip{4, 4, std::vector<std::uint8_t>(16, 3)};
    // Frame 1x1 at tile 30; pasted at (6, 6): only a 2x2 corner lands.
    ASSERT_TRUE(pasteTileDesignerPixel(set(), undo, TileFrame{30, 1, 1}, 6, 6, clip));
    int set3 = 0;
    for (auto p : tile(30).pixels)
        set3 += p == 3;
    EXPECT_EQ(set3, 4);
    EXPECT_EQ(tile(30).pixel(7, 7), 3);
    EXPECT_EQ(tile(31).pixel(0, 6), 0); // the next tile is outside the frame

    // Frame 2x1 at tile 511: the right half of the frame lies past the set.
    ASSERT_TRUE(pasteTileDesignerPixel(set(), undo, TileFrame{511, 2, 1}, 6, 0, clip));
    EXPECT_EQ(tile(511).pixel(6, 0), 3);
    EXPECT_EQ(tile(511).pixel(7, 3), 3);
    EXPECT_EQ(undo.tileRecords().size(), 1u);

    // Far away from the frame: nothing lands.
    const CTile before = tile(40);
    ASSERT_TRUE(pasteTileDesignerPixel(set(), undo, TileFrame{40, 1, 1}, -100, 2000000000, clip));
    EXPECT_TRUE(tile(40).sameContent(before));
}

TEST_F(TileDesignerClipTest, PicturePasteTakesTheFirstFourValues)
{
    // 16x8 picture, 24 bits: five values; the fifth leaves the tile pixel as it was.
    PictureData pic{17, 9, 24, {}};
    pic.values.assign(17 * 9, 0xAAAAAA);
    pic.values[1] = 0x111111;
    pic.values[2] = 0x222222;
    pic.values[3] = 0x333333;
    pic.values[4] = 0x444444;       // fifth value
    pic.values[17 + 9] = 0x333333;  // row 1, column 9: tile 2, pixel (1, 1)
    tile(1).setPixel(4, 0, 2);
    const PicturePasteResult r = pastePicture(set(), undo, 1, pic);
    ASSERT_TRUE(r.result);
    EXPECT_EQ(r.firstTile, 1);
    EXPECT_EQ(r.lastTile, 2);
    EXPECT_EQ(tile(1).pixel(0, 0), 0);
    EXPECT_EQ(tile(1).pixel(1, 0), 1);
    EXPECT_EQ(tile(1).pixel(3, 0), 3);
    EXPECT_EQ(tile(1).pixel(4, 0), 2); // untouched
    EXPECT_EQ(tile(2).pixel(1, 1), 3);
    EXPECT_EQ(undo.tileRecords().size(), 2u);

    // The paste stops at tile 511, and the picture of a whole map is read only
    // as far as its tiles: 4096 tiles a row from tile 511 need one row of them.
    const PicturePasteResult end = pastePicture(set(), undo, 511, PictureData{16, 8, 8, std::vector<std::uint32_t>(128, 5)});
    EXPECT_EQ(end.lastTile, 511);
    EXPECT_EQ(undo.tileRecords().size(), 1u);
    EXPECT_EQ(picturePasteLines(32768, 32768, 511), 8);
    EXPECT_EQ(picturePasteLines(16, 4096, 0), 256 * 8);
    EXPECT_EQ(picturePasteLines(17, 9, 1), 8);
    EXPECT_EQ(pastePicture(set(), undo, 0, PictureData{32768, 32768, 8, std::vector<std::uint32_t>(32768 * 8, 1)}).lastTile,
              511);

    // Too small to hold a tile: nothing.
    EXPECT_EQ(pastePicture(set(), undo, 0, PictureData{7, 8, 8, std::vector<std::uint32_t>(56, 1)}).firstTile, -1);

    const PicturePasteResult bad = pastePicture(set(), undo, 0, PictureData{8, 8, 32, std::vector<std::uint32_t>(64, 1)});
    EXPECT_FALSE(bad.result);
    EXPECT_EQ(bad.result.text(), "Invalid avi file, make sure the image is 8,16,24 bits per pixel");
    EXPECT_FALSE(pastePicture(set(), undo, 0, PictureData{8, 8, 8, std::vector<std::uint32_t>(3, 1)}).result);
}

} // namespace
