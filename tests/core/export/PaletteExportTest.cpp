#include "core/export/PaletteExport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::CountingProgress;
using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

TEST(PaletteExport, ColourWordsAreRedGreenBlueLittleEndian)
{
    GbcPaletteGroup group{};
    group[0][0] = {31, 0, 0};
    group[0][1] = {31, 31, 31};
    group[0][2] = {0, 31, 0};
    group[7][3] = {1, 2, 3};
    const auto bytes = encodePaletteGroup(group);
    EXPECT_EQ(bytes[0], 0x1F);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x7F);
    EXPECT_EQ(bytes[4], 0xE0);
    EXPECT_EQ(bytes[5], 0x03);
    // 1 | 2 << 5 | 3 << 10 = 0x0C41
    EXPECT_EQ(bytes[62], 0x41);
    EXPECT_EQ(bytes[63], 0x0C);
}

TEST(PaletteExport, WritesBcpdAndOcpdOfSixtyFourBytes)
{
    TempDir dir;
    PaletteStore palettes;
    palettes.bgPalettes[0][0] = {31, 0, 0};
    palettes.objPalettes[0][0] = {31, 31, 31};
    ExportSettings s;
    s.paletteLocation = dir.path().string();
    s.palettePrefix = "lv";
    s.paletteSuffix = "_x";
    s.paletteFlags = PALETTE_BG | PALETTE_OBJ;
    ScriptedPrompter prompter;
    CountingProgress progress;
    const ExportReport report = exportPalettePage(palettes, s, prompter, progress);
    const Bytes bg = readBytes(dir.file("lvBCPD_x.bin"));
    const Bytes obj = readBytes(dir.file("lvOCPD_x.bin"));
    ASSERT_EQ(bg.size(), 64u);
    ASSERT_EQ(obj.size(), 64u);
    EXPECT_EQ(Bytes(bg.begin(), bg.begin() + 2), (Bytes{0x1F, 0x00}));
    EXPECT_EQ(Bytes(obj.begin(), obj.begin() + 2), (Bytes{0xFF, 0x7F}));
    const auto expected = encodePaletteGroup(palettes.bgPalettes);
    EXPECT_EQ(bg, Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(report.writtenCount(), 2);
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"Exporting palette...", "Exporting palette..."}));
    EXPECT_EQ(progress.steps, 16);
}

TEST(PaletteExport, OnlyTheChosenGroup)
{
    TempDir dir;
    ExportSettings s;
    s.paletteLocation = dir.path().string();
    s.paletteFlags = PALETTE_OBJ;
    ScriptedPrompter prompter;
    CountingProgress progress;
    const ExportReport report = exportPalettePage(PaletteStore{}, s, prompter, progress);
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].path, dir.file("OCPD.bin"));
}

} // namespace
} // namespace qm
