#include "core/export/PaletteExport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;

TEST(PaletteExport, BcpdAndOcpdHoldTheColourWordsLittleEndian)
{
    test::TempDir dir;
    PaletteStore palettes;
    palettes.bgPalettes[0][0] = {31, 0, 0};
    palettes.bgPalettes[0][1] = {31, 31, 31};
    palettes.bgPalettes[0][2] = {0, 31, 0};
    palettes.bgPalettes[7][3] = {1, 2, 3}; // 1 | 2 << 5 | 3 << 10 = 0x0C41
    palettes.objPalettes[0][0] = {31, 31, 31};
    ExportSettings s;
    s.paletteLocation = dir.path().string();
    s.palettePrefix = "lv";
    s.paletteSuffix = "_x";
    s.paletteFlags = PALETTE_OBJ;
    ScriptedPrompter prompter;
    CountingProgress progress;
    EXPECT_EQ(test::fileNamesOf(exportPalettePage(palettes, s, prompter, progress).files),
              std::vector<std::string>{"lvOCPD_x.bin"});
    EXPECT_EQ(test::entriesIn(dir.path()), 1);
    s.paletteFlags = PALETTE_BG | PALETTE_OBJ;
    EXPECT_EQ(exportPalettePage(palettes, s, prompter, progress).writtenCount(), 2);
    const Bytes bg = test::readBytes(dir.file("lvBCPD_x.bin")), obj = test::readBytes(dir.file("lvOCPD_x.bin"));
    ASSERT_EQ(std::pair(bg.size(), obj.size()), std::pair(size_t(64), size_t(64)));
    EXPECT_EQ(Bytes(bg.begin(), bg.begin() + 6), (Bytes{0x1F, 0x00, 0xFF, 0x7F, 0xE0, 0x03}));
    EXPECT_EQ((Bytes{bg[62], bg[63], obj[0], obj[1]}), (Bytes{0x41, 0x0C, 0xFF, 0x7F}));
    EXPECT_EQ(std::pair(progress.captions, progress.steps), std::pair(std::vector<std::string>(3, "Exporting palette..."), 24));
}

} // namespace
} // namespace qm
