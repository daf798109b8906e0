#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileLibrary.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

// A tile's pixels as text, a row at a time: "..3..1..|...".
std::string rowsOf(const CTile& t)
{
    std::string s;
    for (size_t i = 0; i < 64; ++i)
        s += std::string(1, ".123"[t.pixels[i] & 3]) + (i % 8 == 7 ? "|" : "");
    return s;
}

} // namespace

TEST(CTile, ScrollsMoveEveryPixelOnePlaceAndWrapAndCommentsStopAt32)
{
    const struct {
        void (CTile::*scroll)();
        int x3, y3, x2, y2; // where the pixels at (0,0) and (7,7) go
    } cases[] = {{&CTile::scrollUp, 0, 7, 7, 6}, {&CTile::scrollDown, 0, 1, 7, 0},
                 {&CTile::scrollLeft, 7, 0, 6, 7}, {&CTile::scrollRight, 1, 0, 0, 7}};
    for (const auto& c : cases) {
        CTile t, want;
        t.setPixel(0, 0, 3);
        t.setPixel(7, 7, 2);
        (t.*c.scroll)();
        want.setPixel(c.x3, c.y3, 3);
        want.setPixel(c.x2, c.y2, 2);
        EXPECT_EQ(rowsOf(t), rowsOf(want));
    }
    CTile t;
    t.setComment(std::string(40, 'x'));
    EXPECT_EQ(t.commentText(), std::string(32, 'x'));
    EXPECT_EQ(t.comment[32], '\0');
    t.setComment("grass");
    EXPECT_EQ(t.commentText(), "grass");
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
    EXPECT_EQ(rowsOf(tags.tiles[12]), "........|33...33.|.3..3..3|.3.....3|.3....3.|.3...3..|333.3333|........|");
    EXPECT_EQ(rowsOf(tags.tiles[15]), "........|33..3333|.3..3...|.3..333.|.3.....3|.3..3..3|333..33.|........|");
    EXPECT_EQ(std::tuple(tags.tiles[16].pixels, tags.tiles[100].pixels, int(tags.attr)),
              std::tuple(CTile{}.pixels, CTile{}.pixels, TILE_TAG));
}

TEST(TileLibrary, LookupByKindAndResettingTheTagSetKeepsTheBgPalettes)
{
    TileLibrary lib;
    EXPECT_EQ(std::tuple(lib.tileSet(TILE_TAG), lib.tileSet(0x10), lib.tile(TILE_OBJ, 511), lib.tile(TILE_OBJ, 512)),
              std::tuple(&lib.tag, nullptr, &lib.obj.tiles[511], nullptr));
    lib.palettes.bgPalettes[2][2] = GbcColor{9, 9, 9};
    lib.tag.tiles[3].pixels[0] = 3;
    lib.resetTileSet(TILE_TAG);
    EXPECT_EQ(lib.tag.tiles[3].pixels[0], 0);
    EXPECT_EQ(lib.palettes.bgPalettes[2][2], (GbcColor{9, 9, 9}));
    lib.resetTileSet(TILE_BG);
    EXPECT_EQ(lib.palettes.bgPalettes[2][2], (GbcColor{12, 12, 12}));
}

TEST(GbcColor, BothDisplayConversionsGiveTheKnownColours)
{
    const struct {
        GbcColor in;
        DisplayColour gbc, full;
    } cases[] = {{{0, 0, 0}, {32, 32, 32}, {0, 0, 0}},          {{31, 31, 31}, {230, 239, 239}, {248, 248, 248}},
                 {{31, 0, 0}, {190, 70, 70}, {248, 0, 0}},      {{0, 31, 0}, {110, 190, 110}, {0, 248, 0}},
                 {{0, 0, 31}, {32, 110, 190}, {0, 0, 248}},     {{6, 6, 6}, {105, 108, 108}, {48, 48, 48}},
                 {{12, 12, 12}, {167, 174, 174}, {96, 96, 96}}};
    for (const auto& c : cases) {
        EXPECT_EQ(gbcColourOf(c.in), c.gbc) << int(c.in.red) << " " << int(c.in.green) << " " << int(c.in.blue);
        EXPECT_EQ(trueColourOf(c.in), c.full) << int(c.in.red) << " " << int(c.in.green) << " " << int(c.in.blue);
    }
}

TEST(PaletteStore, ResetGivesEveryPaletteOfTheKindTheFourShades)
{
    PaletteStore p;
    p.bgPalettes[3][0] = GbcColor{1, 2, 3};
    p.bgMonoPalettes[5][1] = GbcColor{1, 2, 3};
    p.objPalettes[3][0] = GbcColor{4, 5, 6};
    p.resetPalettes(TILE_TAG); // the tag kind resets the BG groups
    const GbcPalette shades{GbcColor{0, 0, 0}, GbcColor{6, 6, 6}, GbcColor{12, 12, 12}, GbcColor{31, 31, 31}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(p.bgPalettes[i], shades);
        EXPECT_EQ(p.bgMonoPalettes[i], shades);
        EXPECT_EQ(p.bgDisplay[i][2], (DisplayColour{167, 174, 174}));
        EXPECT_EQ(p.bgMonoDisplay[i][3], (DisplayColour{230, 239, 239}));
    }
    EXPECT_EQ(p.objPalettes[3][0], (GbcColor{4, 5, 6}));
}

TEST(PaletteStore, DisplayModeRecomputesEveryTableOnlyOnAChange)
{
    PaletteStore p;
    p.bgPalettes[0][1] = GbcColor{31, 0, 0}; // not recomputed yet
    EXPECT_FALSE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{105, 108, 108}));
    EXPECT_TRUE(p.setTrueColour(true));
    EXPECT_EQ(std::tuple(p.bgDisplay[0][1], p.objMonoDisplay[7][3]), std::tuple(DisplayColour{248, 0, 0}, DisplayColour{248, 248, 248}));
    EXPECT_TRUE(p.setTrueColour(false));
    EXPECT_EQ(p.bgDisplay[0][1], (DisplayColour{190, 70, 70}));
}
