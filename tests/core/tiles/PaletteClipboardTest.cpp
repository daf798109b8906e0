#include "core/tiles/PaletteClipboard.h"
#include "core/tiles/TileLibrary.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(PaletteClipboard, RecordLayoutWithTheMaskShiftedToTheFirstSwatch)
{
    TileLibrary lib;
    swatchColour(lib.palettes, 5) = GbcColor{1, 2, 3};
    swatchColour(lib.palettes, 7) = GbcColor{4, 5, 6};
    const auto bytes = encodePaletteClip(lib.palettes, (1ull << 5) | (1ull << 7));
    const std::vector<std::uint8_t> golden{0x05, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(bytes, golden);

    const auto high = encodePaletteClip(lib.palettes, 1ull << 63);
    EXPECT_EQ(high.size(), 11u);
    EXPECT_EQ(high[0], 1);
    EXPECT_EQ(high[8], 31); // BGP... OBP7 colour 3 is white after a reset
}

TEST(PaletteClipboard, DamagedRecords)
{
    EXPECT_FALSE(decodePaletteClip(std::vector<std::uint8_t>{1, 0, 0}));
    // Mask says two colours, one is there.
    EXPECT_FALSE(decodePaletteClip(std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}));
    const auto clip = decodePaletteClip(std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 200, 2, 32});
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->colours[0], (GbcColor{31, 2, 31}));
}
