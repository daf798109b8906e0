#include "core/import/TilerRawImport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

std::vector<std::uint8_t> rawFile()
{
    std::vector<std::uint8_t> raw(TILER_RAW_SIZE, 0);
    raw[0] = 0xFF; // palette 0 colour 0 = 0x7FFF
    raw[1] = 0x7F;
    raw[2] = 0x1F; // palette 0 colour 1 = red
    raw[62] = 0x00; // palette 7 colour 3 = blue
    raw[63] = 0x7C;
    raw[64] = 0x55; // tile 0 row 0
    raw[65] = 0x33;
    raw[64 + 359 * 16 + 14] = 0xFF; // tile 359 row 7: all colour 3
    raw[64 + 359 * 16 + 15] = 0xFF;
    raw[5824 + 0] = 0xFE; // palette 6; the other attribute bits stay
    raw[5824 + 359] = 0x03;
    return raw;
}

} // namespace

TEST(TilerRawImport, PalettesTilesAndTilePalettesGoToTheShownSet)
{
    for (TileKind kind : {TILE_BG, TILE_OBJ, TILE_TAG}) {
        SCOPED_TRACE(int(kind));
        auto lib = std::make_unique<TileLibrary>();
        TileSet& set = *lib->tileSet(kind);
        set.tiles[0].attr = static_cast<std::uint8_t>(kind | 0x18);
        set.tiles[0].setComment("kept");
        set.tiles[360].pixels.fill(2);
        const GbcPaletteGroup other = lib->palettes.colourGroup(kind == TILE_OBJ ? TILE_BG : TILE_OBJ);
        ASSERT_TRUE(importTilerRawBytes(rawFile(), *lib, kind));
        const GbcPaletteGroup& pal = lib->palettes.colourGroup(kind); // the tag set takes the BG palettes
        EXPECT_EQ(pal[0][0], (GbcColor{31, 31, 31}));
        EXPECT_EQ(pal[0][1], (GbcColor{31, 0, 0}));
        EXPECT_EQ(pal[7][3], (GbcColor{0, 0, 31}));
        EXPECT_EQ(lib->palettes.colourGroup(kind == TILE_OBJ ? TILE_BG : TILE_OBJ), other);
        const auto& t0 = set.tiles[0].pixels;
        EXPECT_EQ((std::vector<int>(t0.begin(), t0.begin() + 8)), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3}));
        EXPECT_EQ(set.tiles[359].pixels[63], 3);
        EXPECT_EQ(set.tiles[0].attr, kind | 0x18 | 6);
        EXPECT_EQ(set.tiles[0].commentText(), "kept");
        EXPECT_EQ(set.tiles[359].palette(), 3);
        EXPECT_EQ(set.tiles[360].pixels[0], 2); // beyond the 360 tiles nothing changes
    }
    auto lib = std::make_unique<TileLibrary>();
    ASSERT_TRUE(importTilerRawBytes(rawFile(), *lib, TILE_BG));
    EXPECT_EQ(lib->palettes.bgDisplay[0][1], gbcColourOf(GbcColor{31, 0, 0}));
}

TEST(TilerRawImport, ShortFilesAreRefusedWholeAndLongerOnesReadAsFarAsNeeded)
{
    const std::vector<std::uint8_t> raw = rawFile();
    for (size_t n = 0; n < raw.size(); n += (n < 80 ? 1 : 97)) {
        auto lib = std::make_unique<TileLibrary>();
        EXPECT_EQ(importTilerRawBytes(std::span(raw).first(n), *lib, TILE_BG).text(), "Invalid Tiler raw file.");
        EXPECT_EQ(lib->palettes.bgPalettes[0][0], (GbcColor{0, 0, 0}));
        EXPECT_EQ(lib->bg.tiles[0].pixels[1], 0);
    }
    std::vector<std::uint8_t> longer = raw;
    longer.resize(raw.size() + 100, 0xFF);
    auto lib = std::make_unique<TileLibrary>();
    EXPECT_TRUE(importTilerRawBytes(longer, *lib, TILE_BG));

    TempDir dir;
    writeBytes(dir.file("a.raw"), raw);
    EXPECT_TRUE(importTilerRawFile(dir.file("a.raw"), *lib, TILE_BG));
    writeBytes(dir.file("short.raw"), std::vector<std::uint8_t>(6183, 1));
    EXPECT_EQ(importTilerRawFile(dir.file("short.raw"), *lib, TILE_BG).text(),
              "Invalid Tiler raw file " + dir.file("short.raw") + ": it holds 6183 bytes, a Tiler raw file holds 6184.");
    EXPECT_EQ(importTilerRawFile(dir.file("none.raw"), *lib, TILE_BG).text(),
              "Error! Unable to open file " + dir.file("none.raw") + ": No such file or directory");
}
