#include "core/export/TileExport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;

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
}

// Tile i of the BG bank has colour i % 4 everywhere, of the OBJ bank (i + 1) % 4:
// the data file of tiles from..to of a bank, whole.
Bytes solidTiles(int shift, int from, int to)
{
    Bytes out;
    for (int i = from; i <= to; ++i)
        for (int row = 0; row < 8; ++row)
            out.insert(out.end(), {std::uint8_t((i + shift) & 1 ? 0xFF : 0), std::uint8_t((i + shift) & 2 ? 0xFF : 0)});
    return out;
}

// Each option's files, in order, with their names, ranges and whole bytes.
TEST(TilesetExport, FilesInOrderWithTheirRangesNamesAndBytes)
{
    TileLibrary tiles;
    for (int i = 0; i < 512; ++i) {
        tiles.bg.tiles[static_cast<size_t>(i)].pixels.fill(static_cast<std::uint8_t>(i % 4));
        tiles.obj.tiles[static_cast<size_t>(i)].pixels.fill(static_cast<std::uint8_t>((i + 1) % 4));
    }
    tiles.bg.tiles[0].setPalette(1);
    tiles.bg.tiles[0].attr |= 0x38; // bits 3-5 carried by the tile stay out of the table
    tiles.bg.tiles[256].setPalette(6);
    tiles.obj.tiles[128].setPalette(3);
    // An attribute table: the palette, and the bank bit 0x08 in the alternate bank; in
    // signed order byte p is for tile (p + 128) % 256.
    const auto attrs = [](int bank, int at, int value) {
        Bytes table(256, std::uint8_t(bank * 0x08));
        table[size_t(at)] = std::uint8_t(value);
        return table;
    };
    const struct {
        int flags, from, to; // the range of the option asked for
        const char* prefix;
        std::vector<std::pair<const char*, Bytes>> files;
        std::vector<int> totals;
        const char* caption = "Export BG Tile Set"; // the last
    } cases[] = {
        {TILES_BG_MAIN, 0, 255, "", {{"BG0.bin", solidTiles(0, 0, 255)}}, {255}},
        {TILES_BG_MAIN, 6, 5, "", {{"BG0.bin", {}}}, {0}}, // an empty range gives an empty file
        {TILES_BG_MAIN_ATTR, 0, 1, "", {{"BG0A.bin", attrs(0, 0, 0x01)}}, {256}, "Exporting tile set attributes data"},
        {TILES_OBJ_ALT, 2, 3, "lv", {{"lvOBJ1_x.bin", solidTiles(1, 258, 259)}}, {1}, "Export OBJ Tile Set"},
        {0x00FF | TILES_SIGNED, 0, 1, "",
         {{"BG0.bin", solidTiles(0, 0, 1)}, {"BG0A.bin", attrs(0, 128, 0x01)}, {"BG1.bin", solidTiles(0, 256, 511)},
          {"BG1A.bin", attrs(1, 128, 0x0E)}, {"OBJ0.bin", solidTiles(1, 0, 1)}, {"OBJ0A.bin", attrs(0, 0, 0x03)},
          {"OBJ1.bin", solidTiles(1, 256, 257)}, {"OBJ1A.bin", attrs(1, 0, 0x08)}},
         {1, 256, 255, 256, 1, 256, 1, 256}, "Exporting tile set attributes data"},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        ExportSettings s;
        s.tilesetLocation = dir.path().string();
        s.tilesetFlags = static_cast<std::uint16_t>(c.flags);
        s.bgMainFrom = s.objAltFrom = s.objMainFrom = static_cast<std::uint8_t>(c.from);
        s.bgMainTo = s.objAltTo = s.objMainTo = static_cast<std::uint8_t>(c.to);
        s.tilesetPrefix = c.prefix;
        s.tilesetSuffix = *c.prefix ? "_x" : "";
        test::ScriptedPrompter prompter;
        test::CountingProgress progress;
        const ExportReport report = exportTilesetPage(tiles, s, prompter, progress);
        EXPECT_TRUE(report.allWritten());
        std::vector<std::string> names;
        for (const auto& [name, bytes] : c.files) {
            names.push_back(name);
            EXPECT_EQ(readBytes(dir.file(name)), bytes) << name;
        }
        EXPECT_EQ(test::fileNamesOf(report.files), names);
        EXPECT_EQ(progress.totals, c.totals) << c.flags;
        EXPECT_EQ(progress.captions.back(), c.caption);
        EXPECT_EQ(progress.open, 0);
    }
}

} // namespace
} // namespace qm
