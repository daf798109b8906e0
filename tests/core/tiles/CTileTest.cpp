#include "core/tiles/CTile.h"
#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileClipboard.h"
#include "core/tiles/TileSet.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

CTile numbered()
{
    CTile t;
    for (int i = 0; i < 64; ++i)
        t.pixels[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i % 4);
    t.pixels[0] = 3;
    t.pixels[9] = 2;
    return t;
}

std::string rowsOf(const CTile& t)
{
    std::string s;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            s += t.pixel(x, y) == 3 ? '3' : '.';
        s += '|';
    }
    return s;
}

} // namespace

TEST(CTile, ScrollsWrapAtTheEdges)
{
    CTile t;
    t.setPixel(0, 0, 3);
    t.scrollUp();
    EXPECT_EQ(t.pixel(0, 7), 3);
    t.scrollDown();
    EXPECT_EQ(t.pixel(0, 0), 3);
    t.scrollLeft();
    EXPECT_EQ(t.pixel(7, 0), 3);
    t.scrollRight();
    EXPECT_EQ(t.pixel(0, 0), 3);
    t.scrollRight();
    EXPECT_EQ(t.pixel(1, 0), 3);
    EXPECT_EQ(t.pixel(0, 0), 0);

    const CTile original = numbered();
    CTile a = original, b = original;
    for (int i = 0; i < 8; ++i) {
        a.scrollUp();
        b.scrollLeft();
    }
    EXPECT_EQ(a.pixels, original.pixels);
    EXPECT_EQ(b.pixels, original.pixels);
}

TEST(CTile, CommentKeepsItsLengthAndNeverExceeds32)
{
    CTile t;
    t.setComment("grass");
    EXPECT_EQ(t.commentLength, 5);
    EXPECT_EQ(t.commentText(), "grass");
    t.setComment(std::string(40, 'x'));
    EXPECT_EQ(t.commentLength, 32);
    EXPECT_EQ(t.comment[32], '\0');
    t.setComment("");
    EXPECT_EQ(t.commentLength, 0);
}

TEST(TileSet, ResetLookupAndCurrentPalette)
{
    TileSet set(TILE_OBJ);
    set.tiles[7].pixels[3] = 2;
    set.tiles[7].setComment("x");
    set.tiles[7].setPalette(5);
    set.setCurrentPalette(4);
    set.reset(TILE_OBJ);
    for (int i = 0; i < 512; ++i) {
        const CTile* t = set.tileAt(i);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->index, i);
        EXPECT_EQ(t->attr, TILE_OBJ);
        EXPECT_EQ(t->commentLength, 0);
    }
    EXPECT_EQ(set.tiles[7].pixels[3], 0);
    EXPECT_EQ(set.currentPalette(), 0);
    EXPECT_EQ(set.tileAt(512), nullptr);
    EXPECT_EQ(set.tileAt(-1), nullptr);

    EXPECT_EQ(set.setCurrentPalette(6), 6);
    EXPECT_EQ(set.setCurrentPalette(8), 6);
    EXPECT_EQ(set.attr, TILE_OBJ | 6);
}

TEST(DefaultTagTiles, DrawNumbersInColourThreeAndLeaveTheRestBlank)
{
    TileSet tags(TILE_TAG);
    tags.tiles[100].pixels[0] = 1;
    fillDefaultTagTiles(tags);
    EXPECT_EQ(rowsOf(tags.tiles[0]), "........|...33...|..3..3..|..3..3..|..3..3..|..3..3..|...33...|........|");
    EXPECT_EQ(rowsOf(tags.tiles[12]), "........|33...33.|.3..3..3|.3.....3|.3....3.|.3...3..|333.3333|........|");
    EXPECT_EQ(rowsOf(tags.tiles[15]), "........|33..3333|.3..3...|.3..333.|.3.....3|.3..3..3|333..33.|........|");
    for (int n = 0; n < 16; ++n)
        for (std::uint8_t p : tags.tiles[static_cast<size_t>(n)].pixels)
            EXPECT_TRUE(p == 0 || p == 3);
    EXPECT_EQ(tags.tiles[16].pixels, CTile{}.pixels);
    EXPECT_EQ(tags.tiles[100].pixels[0], 0);
    EXPECT_EQ(tags.attr, TILE_TAG);
}

TEST(TileClipboard, EncodesTheRecordByteForByte)
{
    CTile a = numbered();
    a.setPalette(5);
    a.setComment("ab");
    CTile b;
    const CTile* tiles[] = {&a, &b};
    const std::vector<std::uint8_t> bytes = encodeTileClip(tiles);
    ASSERT_EQ(bytes.size(), 4u + (1 + 64 + 1 + 2) + (1 + 64 + 1));
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    EXPECT_EQ(bytes[4], 5);
    EXPECT_EQ(bytes[5], 3);   // pixel 0
    EXPECT_EQ(bytes[5 + 9], 2);
    EXPECT_EQ(bytes[69], 2);  // comment length
    EXPECT_EQ(bytes[70], 'a');
    EXPECT_EQ(bytes[71], 'b');
    EXPECT_EQ(bytes[72], 0);  // second tile's palette

    const auto decoded = decodeTileClip(bytes);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2u);
    EXPECT_EQ((*decoded)[0].palette, 5);
    EXPECT_EQ((*decoded)[0].pixels, a.pixels);
    EXPECT_EQ((*decoded)[0].comment, "ab");
    EXPECT_EQ((*decoded)[1].comment, "");
}

TEST(TileClipboard, RefusesRecordsShorterThanTheirCountsAndCutsLongComments)
{
    CTile a = numbered();
    a.setComment("hello");
    const CTile* tiles[] = {&a};
    std::vector<std::uint8_t> bytes = encodeTileClip(tiles);
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(decodeTileClip(std::span(bytes.data(), n))) << n;

    // A count far beyond the data is refused before anything is allocated.
    std::vector<std::uint8_t> huge = {0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_FALSE(decodeTileClip(huge));

    // A comment of 40 characters (never written by us) is cut to 32.
    TileClipEntry long_;
    long_.comment = std::string(32, 'y');
    std::vector<std::uint8_t> rec = encodeTileClip(std::vector<TileClipEntry>{long_});
    rec[4 + 1 + 64] = 40;
    rec.insert(rec.end(), 8, 'z');
    const auto decoded = decodeTileClip(rec);
    ASSERT_TRUE(decoded);
    EXPECT_EQ((*decoded)[0].comment.size(), 32u);
}

TEST(TileClipboard, PixelsFromAnotherProgramAreMaskedToColourIndices)
{
    // Found by fuzzing: a record whose pixel bytes exceed 3 was handed on as it was.
    CTile a = numbered();
    const CTile* tiles[] = {&a};
    std::vector<std::uint8_t> rec = encodeTileClip(tiles);
    rec[4 + 1 + 45] = 0x25;
    rec[4 + 1 + 63] = 0xFF;
    const auto decoded = decodeTileClip(rec);
    ASSERT_TRUE(decoded);
    EXPECT_EQ((*decoded)[0].pixels[45], 0x25 & 3);
    EXPECT_EQ((*decoded)[0].pixels[63], 3);
    EXPECT_EQ((*decoded)[0].pixels[0], 3);
}
