#include "core/tiles/PaletteClipboard.h"
#include "core/tiles/TileClipboard.h"
#include "core/tiles/TileLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_EQ(std::tuple((*back)[0].palette, (*back)[0].pixels, (*back)[0].comment, (*back)[1].comment),
              std::tuple(5, a.pixels, "ab", ""));
    EXPECT_EQ(wrongPrefix(golden.b, [](auto p) { return decodeTileClip(p); }), std::nullopt);
    // A count far beyond the data is refused before anything is allocated.
    EXPECT_FALSE(decodeTileClip(ByteBuilder().u32(0x7FFFFFFF).b));
}

TEST(TileClipboard, ARecordFromAnotherProgramIsCutToWhatATileHolds)
{
    ByteBuilder rec;
    rec.u32(1).u8(0xFD).b.resize(5 + 64, 0xFE); // palette and pixels out of range
    rec.u8(40).text(std::string(40, 'y'));
    const auto e = decodeTileClip(rec.b);
    ASSERT_TRUE(e && e->size() == 1u);
    EXPECT_EQ(std::tuple((*e)[0].palette, std::ranges::count((*e)[0].pixels, 2), (*e)[0].comment), std::tuple(5, 64, std::string(32, 'y')));
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
    EXPECT_EQ(std::tuple(back->mask, back->colours), std::tuple(5u, std::vector<GbcColor>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(wrongPrefix(golden, [](auto p) { return decodePaletteClip(p); }), std::nullopt);
    const auto clamped = decodePaletteClip(Bytes{0, 0, 0, 0, 1, 0, 0, 0, 200, 2, 32});
    ASSERT_TRUE(clamped);
    EXPECT_EQ(std::tuple(clamped->mask, clamped->colours), std::tuple(1ull << 32, std::vector{GbcColor{31, 2, 31}}));
}
