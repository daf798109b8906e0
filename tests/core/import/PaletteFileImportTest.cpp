#include "core/export/PaletteExport.h"
#include "core/import/PaletteFileImport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(PaletteFileImport, ColourWordsAsTheExportWritesThemAndAShortFileChangesOnlyWholeColours)
{
    // Palette 0: red, green and one byte of a third; palette 7 colour 3:
    // R 1, G 30, B 17 -> 1 | 30 << 5 | 17 << 10, with bit 15 set.
    const unsigned v = 1 | (30 << 5) | (17 << 10) | 0x8000;
    std::vector<std::uint8_t> bytes(64, 0);
    bytes[62] = static_cast<std::uint8_t>(v);
    bytes[63] = static_cast<std::uint8_t>(v >> 8);
    const std::vector<std::uint8_t> start = {0x1F, 0x00, 0xE0, 0x03, 0xFF};
    std::copy(start.begin(), start.end(), bytes.begin());
    auto ws = std::make_unique<Workspace>();
    CountingProgress progress;
    ASSERT_TRUE(importPaletteBytes(bytes, *ws, TILE_OBJ, progress));
    const GbcPaletteGroup& obj = ws->tiles.palettes.objPalettes;
    EXPECT_EQ(obj[0][0], (GbcColor{31, 0, 0}));
    EXPECT_EQ(obj[0][1], (GbcColor{0, 31, 0}));
    EXPECT_EQ(obj[7][3], (GbcColor{1, 30, 17}));
    EXPECT_EQ(ws->tiles.palettes.objDisplay[7][3], gbcColourOf(GbcColor{1, 30, 17}));
    EXPECT_EQ(ws->tiles.palettes.bgPalettes[0][0], (GbcColor{0, 0, 0}));
    EXPECT_TRUE(ws->project.changeFlags & CHANGED_PROJECT);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Exporting palette..."});
    EXPECT_EQ(progress.steps, 8);

    auto cut = std::make_unique<Workspace>();
    ASSERT_TRUE(importPaletteBytes(start, *cut, TILE_BG, progress));
    EXPECT_EQ(cut->tiles.palettes.bgPalettes[0][1], (GbcColor{0, 31, 0}));
    EXPECT_EQ(cut->tiles.palettes.bgPalettes[0][2], (GbcColor{12, 12, 12}));
    EXPECT_EQ(cut->tiles.palettes.bgPalettes[5][3], (GbcColor{31, 31, 31}));
    TempDir dir;
    EXPECT_EQ(importPaletteFile(dir.file("none.bin"), *ws, TILE_BG, progress).text(),
              "Unable to open file " + dir.file("none.bin") +
                  ".\nFile may be damaged, operation abort. No such file or directory.");
}

namespace {

std::vector<std::uint8_t> textBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(PaletteFiles, EveryFormatWritesAndReadsBackEveryColour)
{
    auto from = std::make_unique<Workspace>();
    GbcPaletteGroup& group = from->tiles.palettes.objPalettes;
    for (int i = 0; i < 32; ++i) // every component value in each place
        group[i / 4][i % 4] = GbcColor{std::uint8_t(i), std::uint8_t(31 - i), std::uint8_t(i * 7 % 32)};
    TempDir dir;
    NullProgress quiet;
    for (const char* name : {"p.pal", "p.gpl", "p.act", "p.bin", "P.PAL"}) {
        ASSERT_TRUE(writePaletteFile(dir.file(name), from->tiles.palettes, TILE_OBJ)) << name;
        auto to = std::make_unique<Workspace>();
        ASSERT_TRUE(importPaletteFile(dir.file(name), *to, TILE_BG, quiet)) << name;
        EXPECT_EQ(to->tiles.palettes.bgPalettes, group) << name;
    }
    // Components go to 8 bits as c x 255 / 31 rounded.
    group[0][0] = GbcColor{31, 16, 1};
    ASSERT_TRUE(writePaletteFile(dir.file("p.pal"), from->tiles.palettes, TILE_OBJ));
    EXPECT_TRUE(readText(dir.file("p.pal")).starts_with("JASC-PAL\r\n0100\r\n32\r\n255 132 8\r\n8 247 58\r\n"));
    ASSERT_TRUE(writePaletteFile(dir.file("p.gpl"), from->tiles.palettes, TILE_OBJ));
    EXPECT_TRUE(readText(dir.file("p.gpl"))
                    .starts_with("GIMP Palette\nName: OBJ palettes\nColumns: 4\n#\n255 132   8\tOBP0 colour 0\n"));
    const std::vector<std::uint8_t> act = readBytes(dir.file("p.act"));
    ASSERT_EQ(act.size(), 772u);
    EXPECT_EQ(std::vector<std::uint8_t>(act.end() - 4, act.end()), (std::vector<std::uint8_t>{0, 32, 0xFF, 0xFF}));
}

TEST(PaletteFiles, OtherProgramsFilesFillTheColoursTheyHoldInOrder)
{
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        GbcColor first, second;
    } cases[] = {
        {"a.pal", textBytes("\xEF\xBB\xBFJASC-PAL\n0100\n2\n132 4 5\n255 255 255\n\n"), {16, 0, 1}, {31, 31, 31}},
        {"a.txt", textBytes("JASC-PAL\r\n0100\r\n 2\r\n0 0 0\r\n8\t16 24\r\n"), {0, 0, 0}, {1, 2, 3}},
        {"a.gpl", textBytes("GIMP Palette\nName: x\nColumns: 2\n# note\n\n 10  20 30 first one\n0 0 255\n"),
         {1, 2, 4}, {0, 0, 31}},
        {"a.act", {255, 0, 0, 0, 255, 0}, {31, 0, 0}, {0, 31, 0}},
    };
    TempDir dir;
    NullProgress quiet;
    for (const auto& c : cases) {
        writeBytes(dir.file(c.name), c.bytes);
        auto ws = std::make_unique<Workspace>();
        ASSERT_TRUE(importPaletteFile(dir.file(c.name), *ws, TILE_BG, quiet)) << c.name;
        const GbcPaletteGroup& g = ws->tiles.palettes.bgPalettes;
        EXPECT_EQ(g[0][0], c.first) << c.name;
        EXPECT_EQ(g[0][1], c.second) << c.name;
        EXPECT_EQ(g[0][2], (GbcColor{12, 12, 12})) << c.name; // beyond the file: as it was
        EXPECT_EQ(ws->tiles.palettes.bgDisplay[0][0], gbcColourOf(c.first));
    }
    // 256 colours of Photoshop: the first 32 are taken.
    std::vector<std::uint8_t> act(772, 255);
    act[768] = 1;
    act[769] = 0;
    writeBytes(dir.file("full.act"), act);
    auto ws = std::make_unique<Workspace>();
    ASSERT_TRUE(importPaletteFile(dir.file("full.act"), *ws, TILE_OBJ, quiet));
    EXPECT_EQ(ws->tiles.palettes.objPalettes[7][3], (GbcColor{31, 31, 31}));
}

// Each bad file beside the good one it was made from: the good one is read,
// the bad one refused with what is wrong, and nothing changes.
TEST(PaletteFiles, BadFilesAreRefusedWithWhatIsWrongAndChangeNothing)
{
    const std::string jasc = "JASC-PAL\n0100\n1\n1 2 3\n";
    std::string manyGimp = "GIMP Palette\n", manyJasc = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 256; ++i) {
        manyGimp += "1 2 3\n";
        manyJasc += "1 2 3\n";
    }
    std::vector<std::uint8_t> act772(772, 0);
    act772[769] = 32;
    const auto actCount = [&](int count) {
        std::vector<std::uint8_t> b = act772;
        b[768] = static_cast<std::uint8_t>(count >> 8);
        b[769] = static_cast<std::uint8_t>(count);
        return b;
    };
    const std::string noRgb = " does not hold a red, green and blue value of 0 to 255.";
    const std::string badCount = "The number of colours on line 3 is not 1 to 256.";
    const std::string rawSize = "A raw RGB palette holds 3 bytes a colour, 1 to 256 colours.";
    const std::string actSize = "The number of colours at byte 768 is not 1 to 256.";
    const auto t = textBytes;
    const struct {
        const char* name;
        std::vector<std::uint8_t> good, bad;
        std::string detail;
    } cases[] = {
        {"a.pal", t(jasc), t("JASC-PAL\n0101\n1\n1 2 3\n"), "The JASC-PAL version is not 0100."},
        {"a.pal", t(manyJasc), t("JASC-PAL\n0100\n0\n"), badCount},
        {"a.pal", t(jasc), t("JASC-PAL\n0100\n257\n1 2 3\n"), badCount},
        {"a.pal", t(jasc), t("JASC-PAL\n0100\n2\n1 2 3\n"), "The file ends before its 2 colours."},
        {"a.pal", t(jasc), t("JASC-PAL\n0100\n1\n1 2 256\n"), "Line 4" + noRgb},
        {"a.pal", t(jasc), t("JASC-PAL\n0100\n1\n1 2 3 4\n"), "Line 4" + noRgb},
        {"a.pal", t(jasc), t("JASC-PAL\n0100\n1\n1 -2 3\n"), "Line 4" + noRgb},
        {"a.pal", t(jasc), t(jasc + "4 5 6\n"), "Line 5 follows the last of the 1 colours."},
        {"a.pal", t(jasc), t("RIFF\x10\0\0\0PAL data"), "It does not begin with \"JASC-PAL\"."},
        {"a.pal", t(jasc), t(jasc + std::string(PALETTE_TEXT_LIMIT, '\n')), "The file is larger than any palette file."},
        {"a.gpl", t("GIMP Palette\n1 2 3\n"), t("GIMP Palette\nName: x\n# 1 2 3\n"), "The file holds no colours."},
        {"a.gpl", t("GIMP Palette\n1 2 3 x\n"), t("GIMP Palette\n1 2 x\n"), "Line 2" + noRgb},
        {"a.gpl", t(manyGimp), t(manyGimp + "1 2 3\n"), "The file holds more than 256 colours."},
        {"a.gpl", t("GIMP Palette\n1 2 3\n"), t("GIMP palette\n1 2 3\n"), "It does not begin with \"GIMP Palette\"."},
        {"a.act", {1, 2, 3}, {}, rawSize},
        {"a.act", {1, 2, 3}, {1, 2, 3, 4, 5}, rawSize},
        {"a.act", std::vector<std::uint8_t>(768, 1), std::vector<std::uint8_t>(771, 1), rawSize},
        {"a.act", actCount(256), actCount(0), actSize},
        {"a.act", actCount(1), actCount(257), actSize},
    };
    TempDir dir;
    NullProgress quiet;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        const std::string path = dir.file(c.name);
        writeBytes(path, c.good);
        auto good = std::make_unique<Workspace>();
        EXPECT_TRUE(importPaletteFile(path, *good, TILE_BG, quiet));
        writeBytes(path, c.bad);
        auto ws = std::make_unique<Workspace>();
        const PaletteStore before = ws->tiles.palettes;
        const Result r = importPaletteFile(path, *ws, TILE_BG, quiet);
        EXPECT_EQ(r.text(), "Unable to open file " + path + ".\nFile may be damaged, operation abort.\n" + c.detail);
        EXPECT_EQ(ws->tiles.palettes.bgPalettes, before.bgPalettes);
        EXPECT_EQ(ws->project.changeFlags, 0);
    }
}
