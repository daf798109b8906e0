#include "core/tiles/PaletteClipboard.h"
#include "core/tiles/TileClipboard.h"
#include "core/tiles/TileLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

TEST(TileClipboard, RecordBytesRoundTripAndEveryPrefixIsRefused)
{
    CTile a;
    a.pixels[0] = 3;
    a.pixels[9] = 2;
    a.setPalette(5);
    a.setComment("ab");
    const CTile b;
    const CTile* tiles[] = {&a, &b};
    ByteBuilder golden; // count, then per tile: palette, 64 pixels, comment length, comment
    golden.u32(2).u8(5).u8(3);
    for (int i = 1; i < 64; ++i)
        golden.u8(i == 9 ? 2 : 0);
    golden.u8(2).text("ab").u8(0).b.resize(golden.b.size() + 65, 0);
    EXPECT_EQ(encodeTileClip(tiles), golden.b);

    const auto back = decodeTileClip(golden.b);
    ASSERT_TRUE(back && back->size() == 2u);
    EXPECT_EQ((*back)[0].palette, 5);
    EXPECT_EQ((*back)[0].pixels, a.pixels);
    EXPECT_EQ((*back)[0].comment, "ab");
    EXPECT_EQ((*back)[1].comment, "");
    EXPECT_EQ(wrongPrefix(golden.b, [](auto p) { return decodeTileClip(p); }), std::nullopt);
    // A count far beyond the data is refused before anything is allocated.
    EXPECT_FALSE(decodeTileClip(ByteBuilder().u32(0x7FFFFFFF).b));
}

TEST(TileClipboard, ARecordFromAnotherProgramIsCutToWhatATileHolds)
{
    ByteBuilder rec;
    rec.u32(1).u8(0xFD);
    for (int i = 0; i < 64; ++i)
        rec.u8(0xFE);
    rec.u8(40).text(std::string(40, 'y'));
    const auto e = decodeTileClip(rec.b);
    ASSERT_TRUE(e && e->size() == 1u);
    EXPECT_EQ((*e)[0].palette, 5);
    EXPECT_EQ((*e)[0].pixels, [] { CTile t; t.pixels.fill(2); return t.pixels; }());
    EXPECT_EQ((*e)[0].comment, std::string(32, 'y'));
}

TEST(PaletteClipboard, RecordShiftsTheMaskToTheFirstSwatchAndRefusesShortRecords)
{
    TileLibrary lib;
    swatchColour(lib.palettes, 5) = GbcColor{1, 2, 3};
    swatchColour(lib.palettes, 7) = GbcColor{4, 5, 6};
    const Bytes golden{0x05, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(encodePaletteClip(lib.palettes, (1ull << 5) | (1ull << 7)), golden);
    // OBP7 colour 3, white after a reset.
    EXPECT_EQ(encodePaletteClip(lib.palettes, 1ull << 63), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 31, 31, 31}));
    const auto back = decodePaletteClip(golden);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->mask, 5u);
    EXPECT_EQ(back->colours, (std::vector<GbcColor>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(wrongPrefix(golden, [](auto p) { return decodePaletteClip(p); }), std::nullopt);
    const auto clamped = decodePaletteClip(Bytes{0, 0, 0, 0, 1, 0, 0, 0, 200, 2, 32});
    ASSERT_TRUE(clamped);
    EXPECT_EQ(clamped->mask, 1ull << 32);
    EXPECT_EQ(clamped->colours, std::vector<GbcColor>{(GbcColor{31, 2, 31})});
}
