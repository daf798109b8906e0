#include "core/tiles/GbcColor.h"
#include "core/tiles/PaletteStore.h"
#include "core/tiles/TileLibrary.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {
DisplayColour gbc(int r, int g, int b)
{
    return gbcColourOf(GbcColor{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
}
} // namespace

TEST(GbcColor, GbcConversionMatchesTheKnownPairs)
{
    EXPECT_EQ(gbc(0, 0, 0), (DisplayColour{32, 32, 32}));
    EXPECT_EQ(gbc(31, 31, 31), (DisplayColour{230, 239, 239}));
    EXPECT_EQ(gbc(31, 0, 0), (DisplayColour{190, 70, 70}));
    EXPECT_EQ(gbc(0, 31, 0), (DisplayColour{110, 190, 110}));
    EXPECT_EQ(gbc(0, 0, 31), (DisplayColour{32, 110, 190}));
    EXPECT_EQ(gbc(6, 6, 6), (DisplayColour{105, 108, 108}));
    EXPECT_EQ(gbc(12, 12, 12), (DisplayColour{167, 174, 174}));
    EXPECT_EQ(trueColourOf(GbcColor{31, 31, 31}), (DisplayColour{248, 248, 248}));
    EXPECT_EQ(trueColourOf(GbcColor{1, 2, 3}), (DisplayColour{8, 16, 24}));
}

TEST(GbcColor, EveryStoredColourConvertsWithinRange)
{
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; ++g)
            for (int b = 0; b < 32; ++b) {
                const DisplayColour d = gbc(r, g, b);
                EXPECT_GE(d.red, 32);
                EXPECT_GE(d.green, 32);
                EXPECT_GE(d.blue, 32);
            }
}

TEST(PaletteStore, ResetGivesTheFourShadesToEveryPaletteOfTheKind)
{
    PaletteStore p;
    p.bgPalettes[3][0] = GbcColor{1, 2, 3};
    p.objPalettes[3][0] = GbcColor{4, 5, 6};
    p.resetPalettes(TILE_TAG); // the tag kind resets the BG groups
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(p.bgPalettes[i][0], (GbcColor{0, 0, 0}));
        EXPECT_EQ(p.bgPalettes[i][1], (GbcColor{6, 6, 6}));
        EXPECT_EQ(p.bgPalettes[i][2], (GbcColor{12, 12, 12}));
        EXPECT_EQ(p.bgPalettes[i][3], (GbcColor{31, 31, 31}));
        EXPECT_EQ(p.bgMonoPalettes[i][3], (GbcColor{31, 31, 31}));
        EXPECT_EQ(p.bgDisplay[i][3], (DisplayColour{230, 239, 239}));
    }
    EXPECT_EQ(p.objPalettes[3][0], (GbcColor{4, 5, 6}));
}

TEST(PaletteStore, DisplayModeRecomputesOnlyOnAChange)
{
    PaletteStore p;
    p.bgPalettes[0][1] = GbcColor{31, 0, 0};
    // Not recomputed yet: switching to the mode in force recomputes nothing.
    EXPECT_FALSE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], gbc(6, 6, 6));
    EXPECT_TRUE(p.setTrueColour(true));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{248, 0, 0}));
    EXPECT_EQ(p.bgMonoDisplay[0][3], (DisplayColour{248, 248, 248}));
    EXPECT_TRUE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{190, 70, 70}));
}

TEST(PaletteStore, TablesBySelectorAndDmgMode)
{
    PaletteStore p;
    EXPECT_EQ(&p.displayTable(TILE_BG), &p.bgDisplay);
    EXPECT_EQ(&p.displayTable(TILE_TAG), &p.bgDisplay);
    EXPECT_EQ(&p.displayTable(TILE_OBJ), &p.objDisplay);
    EXPECT_EQ(&p.displayTable(GROUP_BG_MONO), &p.bgMonoDisplay);
    EXPECT_EQ(&p.displayTable(0x33), &p.objMonoDisplay);

    EXPECT_EQ(&p.tableForTileSet(TILE_TAG, false), &p.bgDisplay);
    EXPECT_EQ(&p.tableForTileSet(TILE_TAG, true), &p.objMonoDisplay);
    EXPECT_EQ(&p.tableForTileSet(TILE_BG, true), &p.bgMonoDisplay);
    EXPECT_EQ(&p.tableForTileSet(TILE_OBJ, false), &p.objDisplay);

    EXPECT_EQ(&p.row(0), &p.bgPalettes[0]);
    EXPECT_EQ(&p.row(9), &p.objPalettes[1]);
    EXPECT_EQ(&p.row(17), &p.bgMonoPalettes[1]);
    EXPECT_EQ(&p.row(31), &p.objMonoPalettes[7]);
}

TEST(TileLibrary, LookupByKindAndResetOfTheTagSetKeepsBgPalettes)
{
    TileLibrary lib;
    EXPECT_EQ(lib.tileSet(TILE_BG), &lib.bg);
    EXPECT_EQ(lib.tileSet(0x10), nullptr);
    EXPECT_EQ(lib.tile(TILE_OBJ, 511), &lib.obj.tiles[511]);
    EXPECT_EQ(lib.tile(TILE_OBJ, 512), nullptr);
    EXPECT_EQ(lib.tile(0x00, 3), nullptr);

    lib.palettes.bgPalettes[2][2] = GbcColor{9, 9, 9};
    lib.tag.tiles[3].pixels[0] = 3;
    lib.resetTileSet(TILE_TAG);
    EXPECT_EQ(lib.tag.tiles[3].pixels[0], 0);
    EXPECT_EQ(lib.palettes.bgPalettes[2][2], (GbcColor{9, 9, 9}));
    lib.resetTileSet(TILE_BG);
    EXPECT_EQ(lib.palettes.bgPalettes[2][2], (GbcColor{12, 12, 12}));
}
