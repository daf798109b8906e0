#include "core/import/PaletteFileImport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(PaletteFileImport, ColoursComeBackAsTheExportWritesThem)
{
    std::vector<std::uint8_t> bytes(64, 0);
    bytes[0] = 0x1F; // palette 0 colour 0: pure red
    bytes[1] = 0x00;
    // palette 7 colour 3: R 1, G 30, B 17 -> 1 | 30 << 5 | 17 << 10, with bit 15 set
    const unsigned v = 1 | (30 << 5) | (17 << 10) | 0x8000;
    bytes[62] = static_cast<std::uint8_t>(v);
    bytes[63] = static_cast<std::uint8_t>(v >> 8);
    auto ws = std::make_unique<Workspace>();
    CountingProgress progress;
    ASSERT_TRUE(importPaletteBytes(bytes, *ws, TILE_OBJ, progress));
    EXPECT_EQ(ws->tiles.palettes.objPalettes[0][0], (GbcColor{31, 0, 0}));
    EXPECT_EQ(ws->tiles.palettes.objPalettes[7][3], (GbcColor{1, 30, 17}));
    EXPECT_EQ(ws->tiles.palettes.objDisplay[7][3], gbcColourOf(GbcColor{1, 30, 17}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][0], (GbcColor{0, 0, 0}));
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_PROJECT);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Exporting palette..."});
    EXPECT_EQ(progress.steps, 8);
}

TEST(PaletteFileImport, ShortFileChangesOnlyTheColoursItHoldsCompletely)
{
    auto ws = std::make_unique<Workspace>();
    NullProgress quiet;
    // Two whole colours and one byte of a third.
    ASSERT_TRUE(importPaletteBytes(std::vector<std::uint8_t>{0x1F, 0x00, 0xE0, 0x03, 0xFF}, *ws, TILE_BG, quiet));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][0], (GbcColor{31, 0, 0}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][1], (GbcColor{0, 31, 0}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][2], (GbcColor{12, 12, 12}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[5][3], (GbcColor{31, 31, 31}));

    TempDir dir;
    EXPECT_EQ(importPaletteFile(dir.file("none.bin"), *ws, TILE_BG, quiet).text(),
              "Unable to open file " + dir.file("none.bin") +
                  ".\nFile may be damaged, operation abort. No such file or directory.");
    writeBytes(dir.file("p.bin"), std::vector<std::uint8_t>(100, 0));
    ASSERT_TRUE(importPaletteFile(dir.file("p.bin"), *ws, TILE_BG, quiet));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[5][3], (GbcColor{0, 0, 0}));
}
