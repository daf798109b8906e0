#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileLibrary.h"

#include <gtest/gtest.h>

using namespace qm;

// A tile's pixels as text, a row at a time: "..3..1..|...".
static std::string rowsOf(const CTile& t)
{
    std::string s;
    for (size_t i = 0; i < 64; ++i)
        s += std::string(1, ".123"[t.pixels[i] & 3]) + (i % 8 == 7 ? "|" : "");
    return s;
}

TEST(TileSet, ResetGivesBlankNumberedTilesOfItsKindAndThePaletteStaysWithin0To7)
{
    TileSet set(TILE_OBJ);
    set.tiles[7].pixels[3] = 2;
    set.tiles[7].setComment("x");
    set.tiles[7].setPalette(5);
    EXPECT_EQ(set.setCurrentPalette(7), 7);
    EXPECT_EQ(set.setCurrentPalette(8), 7);
    EXPECT_EQ(set.attr, TILE_OBJ | 7);
    set.reset(TILE_OBJ);
    CTile blank;
    blank.attr = TILE_OBJ;
    for (int i = 0; i < 512; ++i)
        EXPECT_TRUE(set.tileAt(i)->sameContent(blank) && set.tileAt(i)->index == i) << i;
    EXPECT_EQ(std::tuple(int(set.attr), set.tileAt(512), set.tileAt(-1)), std::tuple(TILE_OBJ, nullptr, nullptr));
}

TEST(DefaultTagTiles, NumberTheFirstSixteenTilesAndLeaveTheRestBlank)
{
    TileSet tags(TILE_TAG);
    tags.tiles[100].pixels[0] = 1;
    fillDefaultTagTiles(tags);
    EXPECT_EQ(rowsOf(tags.tiles[0]), "........|...33...|..3..3..|..3..3..|..3..3..|..3..3..|...33...|........|");
    EXPECT_EQ(rowsOf(tags.tiles[15]), "........|33..3333|.3..3...|.3..333.|.3.....3|.3..3..3|333..33.|........|");
    EXPECT_EQ(std::tuple(tags.tiles[16].pixels, tags.tiles[100].pixels, int(tags.attr)),
              std::tuple(CTile{}.pixels, CTile{}.pixels, TILE_TAG));
}

// The shades a reset gives and the display colours of both conversions are pinned by the palette
// report's text; the scrolls of a tile by the tile editor's scroll of each tile.
TEST(TileLibrary, ResettingTheTagSetKeepsTheBgPalettesAndEachKindResetsItsOwn)
{
    TileLibrary lib;
    lib.palettes.bgPalettes[2][2] = GbcColor{9, 9, 9};
    lib.palettes.objPalettes[3][0] = GbcColor{4, 5, 6};
    lib.tag.tiles[3].pixels[0] = 3;
    lib.resetTileSet(TILE_TAG);
    EXPECT_EQ(std::pair(int(lib.tag.tiles[3].pixels[0]), lib.palettes.bgPalettes[2][2]), std::pair(0, GbcColor{9, 9, 9}));
    lib.resetTileSet(TILE_BG);
    EXPECT_EQ(std::tuple(lib.palettes.bgPalettes[2][2], lib.palettes.objPalettes[3][0]),
              std::tuple(GbcColor{12, 12, 12}, GbcColor{4, 5, 6}));
    EXPECT_EQ(std::tuple(lib.tileSet(0x10), lib.tile(TILE_OBJ, 512)), std::tuple(nullptr, nullptr));
}

TEST(PaletteStore, DisplayModeRecomputesEveryTableOnlyOnAChangeAndEachSetHasItsTable)
{
    PaletteStore p;
    p.bgPalettes[0][1] = GbcColor{31, 0, 0}; // not recomputed yet
    EXPECT_FALSE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{105, 108, 108}));
    EXPECT_TRUE(p.setTrueColour(true));
    EXPECT_EQ(std::tuple(p.bgDisplay[0][1], p.objMonoDisplay[7][3]),
              std::tuple(DisplayColour{248, 0, 0}, DisplayColour{248, 248, 248}));
    EXPECT_TRUE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{190, 70, 70}));
    // In DMG mode the tag set is drawn with the OBJ monochrome colours.
    EXPECT_EQ(std::tuple(&p.tableForTileSet(TILE_TAG, false), &p.tableForTileSet(TILE_TAG, true),
                         &p.tableForTileSet(TILE_BG, true), &p.tableForTileSet(TILE_OBJ, false)),
              std::tuple(&p.bgDisplay, &p.objMonoDisplay, &p.bgMonoDisplay, &p.objDisplay));
}
