#include "core/export/TileExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qm {
namespace {

using test::CountingProgress;
using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

TEST(TileEncoding, RowsHoldBitZeroThenBitOne)
{
    CTile tile;
    const std::uint8_t row[8] = {0, 1, 2, 3, 0, 1, 2, 3};
    for (int x = 0; x < 8; ++x)
        tile.setPixel(x, 0, row[x]);
    tile.setPixel(0, 7, 3);
    tile.setPixel(7, 7, 9); // not a colour index: no bit
    EXPECT_EQ(encodeTile2bpp(tile),
              (std::array<std::uint8_t, 16>{0x55, 0x33, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x80}));
    CTile full;
    full.pixels.fill(3);
    std::array<std::uint8_t, 16> ones;
    ones.fill(0xFF);
    EXPECT_EQ(encodeTile2bpp(full), ones);
    EXPECT_EQ(encodeTile2bpp(CTile{}), (std::array<std::uint8_t, 16>{}));
}

TEST(TileAttributes, PaletteAndBankInUnsignedAndSignedOrder)
{
    TileSet set(TILE_BG);
    set.tiles[256 + 5].setPalette(6);
    set.tiles[0].setPalette(1);
    set.tiles[128].setPalette(2);
    set.tiles[0].attr |= 0x38; // bits 3-5 carried by the tile stay out of the table
    const Bytes alt = tileAttributeTable(set, true, false), plain = tileAttributeTable(set, false, false);
    const Bytes signedOrder = tileAttributeTable(set, false, true); // byte 0 is tile 128's, byte 128 tile 0's
    ASSERT_EQ(alt.size(), 256u);
    EXPECT_EQ((Bytes{alt[5], alt[0], plain[0], plain[128], signedOrder[0], signedOrder[128]}),
              (Bytes{0x0E, 0x08, 0x01, 0x02, 0x02, 0x01}));
}

class TilesetExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
        s.tilesetLocation = dir.path().string();
        for (int i = 0; i < 512; ++i) {
            tiles.bg.tiles[static_cast<size_t>(i)].pixels.fill(static_cast<std::uint8_t>(i % 4));
            tiles.obj.tiles[static_cast<size_t>(i)].pixels.fill(static_cast<std::uint8_t>((i + 1) % 4));
        }
    }
    ExportReport run(std::uint16_t flags)
    {
        s.tilesetFlags = flags;
        return exportTilesetPage(tiles, s, prompter, progress);
    }
    Bytes file(const std::string& name) const { return readBytes(dir.file(name)); }

    TempDir dir;
    TileLibrary tiles;
    ExportSettings s;
    ScriptedPrompter prompter;
    CountingProgress progress;
};

TEST_F(TilesetExportTest, RangesGiveTheirTiles)
{
    run(TILES_BG_MAIN);
    EXPECT_EQ(file("BG0.bin").size(), 4096u);
    s.bgMainFrom = 5;
    s.bgMainTo = 5;
    run(TILES_BG_MAIN);
    const Bytes one = file("BG0.bin");
    ASSERT_EQ(one.size(), 16u);
    EXPECT_EQ(one[0], 0xFF); // tile 5: colour 1 everywhere
    EXPECT_EQ(one[1], 0x00);
    s.bgMainFrom = 6;
    const ExportReport report = run(TILES_BG_MAIN);
    EXPECT_TRUE(fs::exists(dir.file("BG0.bin")));
    EXPECT_TRUE(file("BG0.bin").empty());
    EXPECT_TRUE(report.allWritten());
    EXPECT_EQ(progress.totals, (std::vector<int>{255, 0, 0}));
}

TEST_F(TilesetExportTest, AlternateBankIsTilesFrom256)
{
    s.objAltFrom = 2;
    s.objAltTo = 3;
    s.tilesetPrefix = "lv";
    s.tilesetSuffix = "_x";
    run(TILES_OBJ_ALT);
    const Bytes bytes = file("lvOBJ1_x.bin");
    ASSERT_EQ(bytes.size(), 32u);
    // OBJ tile 258 has colour 3 everywhere, 259 colour 0.
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(bytes[16], 0x00);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Export OBJ Tile Set"});
    EXPECT_EQ(progress.totals, std::vector<int>{1});
}

TEST_F(TilesetExportTest, FilesInOrderWithTheirNamesAndAttributeTables)
{
    tiles.bg.tiles[256].setPalette(6);
    tiles.obj.tiles[128].setPalette(3);
    const ExportReport report = run(0x00FF | TILES_SIGNED);
    const std::vector<std::string> order = {"BG0.bin",  "BG0A.bin",  "BG1.bin",  "BG1A.bin",
                                            "OBJ0.bin", "OBJ0A.bin", "OBJ1.bin", "OBJ1A.bin"};
    EXPECT_EQ(test::fileNamesOf(report.files), order);
    EXPECT_EQ(file("BG1A.bin")[128], 0x0E);
    EXPECT_EQ(file("OBJ0A.bin")[0], 0x03);
    EXPECT_EQ(file("BG0A.bin").size(), 256u);
    EXPECT_EQ(progress.captions[1], "Exporting tile set attributes data");
    EXPECT_EQ(progress.totals[1], 256);
    EXPECT_EQ(progress.open, 0);
}

} // namespace
} // namespace qm
