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
    const auto bytes = encodeTile2bpp(tile);
    EXPECT_EQ(bytes[0], 0x55);
    EXPECT_EQ(bytes[1], 0x33);
    EXPECT_EQ(bytes[14], 0x80);
    EXPECT_EQ(bytes[15], 0x80);
    for (int i = 2; i < 14; ++i)
        EXPECT_EQ(bytes[static_cast<size_t>(i)], 0);

    CTile blank, full;
    full.pixels.fill(3);
    for (std::uint8_t b : encodeTile2bpp(blank))
        EXPECT_EQ(b, 0x00);
    for (std::uint8_t b : encodeTile2bpp(full))
        EXPECT_EQ(b, 0xFF);
}

TEST(TileAttributes, PaletteAndBankInUnsignedAndSignedOrder)
{
    TileSet set(TILE_BG);
    set.tiles[256 + 5].setPalette(6);
    set.tiles[0].setPalette(1);
    set.tiles[128].setPalette(2);
    set.tiles[0].attr |= 0x38; // bits 3-5 carried by the tile stay out of the table
    const Bytes alt = tileAttributeTable(set, true, false);
    ASSERT_EQ(alt.size(), 256u);
    EXPECT_EQ(alt[5], 0x0E);
    EXPECT_EQ(alt[0], 0x08);
    const Bytes plain = tileAttributeTable(set, false, false);
    EXPECT_EQ(plain[0], 0x01);
    EXPECT_EQ(plain[128], 0x02);
    const Bytes signedOrder = tileAttributeTable(set, false, true);
    EXPECT_EQ(signedOrder[0], 0x02);   // tile 128
    EXPECT_EQ(signedOrder[128], 0x01); // tile 0
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
    std::vector<std::string> names;
    for (const ExportOutcome& f : report.files)
        names.push_back(fs::path(f.path).filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"BG0.bin", "BG0A.bin", "BG1.bin", "BG1A.bin", "OBJ0.bin",
                                               "OBJ0A.bin", "OBJ1.bin", "OBJ1A.bin"}));
    EXPECT_EQ(file("BG1A.bin")[128], 0x0E);
    EXPECT_EQ(file("OBJ0A.bin")[0], 0x03);
    EXPECT_EQ(file("BG0A.bin").size(), 256u);
    EXPECT_EQ(progress.captions[1], "Exporting tile set attributes data");
    EXPECT_EQ(progress.totals[1], 256);
    EXPECT_EQ(progress.open, 0);
}

TEST_F(TilesetExportTest, MissingDirectoryAnsweredNoSkipsEachFile)
{
    s.tilesetLocation = dir.file("missing");
    s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR;
    ScriptedPrompter no({Answer::No, Answer::No});
    const ExportReport report = exportTilesetPage(tiles, s, no, progress);
    EXPECT_EQ(no.questions.size(), 2u);
    EXPECT_EQ(report.writtenCount(), 0);
    EXPECT_EQ(report.files.size(), 2u);
}

} // namespace
} // namespace qm
