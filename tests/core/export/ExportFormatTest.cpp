// Export files as C and RGBDS assembly source.

#include "core/base/FileIO.h"
#include "core/export/ExportFile.h"
#include "core/export/MapExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string sourceOf(ExportFormat format, const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    EXPECT_TRUE(writeSourceText(format, "X", bytes, [&](std::span<const std::uint8_t> piece) {
        out.append(piece.begin(), piece.end());
        return true;
    }));
    return out;
}

TEST(SourceExport, ThreeByteFileAsCAndAssemblyByteForByte)
{
    MapGrid map;
    ASSERT_TRUE(map.create(3, 1));
    map.cells[1].bgTile = 0x7F;
    map.cells[2].bgTile = 0x1FF; // the bank bit is not in the map data
    ExportSettings s;
    s.mapPrefix = "1-";
    s.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT;
    const struct {
        ExportFormat format;
        const char* source;
        const char* header;
        std::string sourceText, headerText;
    } cases[] = {
        {ExportFormat::C, "_1_MAPBG.c", "_1_MAPBG.h",
         "#include \"_1_MAPBG.h\"\n\nconst unsigned char _1_MAPBG[] = {\n    0x00, 0x7F, 0xFF,\n};\n",
         "#ifndef QUILTMARK__1_MAPBG_H\n#define QUILTMARK__1_MAPBG_H\n\n#define _1_MAPBG_SIZE 3\n\n"
         "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\nextern const unsigned char _1_MAPBG[];\n\n"
         "#ifdef __cplusplus\n}\n#endif\n\n#endif\n"},
        {ExportFormat::Asm, "_1_MAPBG.asm", "_1_MAPBG.inc", "_1_MAPBG::\n    db $00, $7F, $FF\n_1_MAPBG_End::\n",
         "IF !DEF(QUILTMARK__1_MAPBG_INC)\nDEF QUILTMARK__1_MAPBG_INC EQU 1\n\nDEF _1_MAPBG_SIZE EQU 3\n\nENDC\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        s.mapLocation = dir.path().string();
        ScriptedPrompter prompter;
        NullProgress quiet;
        const ExportReport report = exportMapPage(map, s, prompter, quiet, c.format);
        EXPECT_EQ(test::readText(dir.file(c.source)), c.sourceText);
        EXPECT_EQ(test::readText(dir.file(c.header)), c.headerText);
        EXPECT_EQ(test::fileNamesOf(report.files), (std::vector<std::string>{c.source, c.header}));
        EXPECT_TRUE(report.allWritten());
        EXPECT_EQ(test::entriesIn(dir.path()), 2);
    }
}

TEST(SourceExport, SixteenBytesALineAndAnEmptyFile)
{
    std::string c = "#include \"X.h\"\n\nconst unsigned char X[] = {\n   ", db = "X::\n    db $AB";
    for (int i = 0; i < 16; ++i)
        c += " 0xAB,", db += i ? ", $AB" : "";
    EXPECT_EQ(sourceOf(ExportFormat::C, std::vector<std::uint8_t>(17, 0xAB)), c + "\n    0xAB,\n};\n");
    EXPECT_EQ(sourceOf(ExportFormat::Asm, std::vector<std::uint8_t>(17, 0xAB)), db + "\n    db $AB\nX_End::\n");
    // C has no empty array: one byte stands in and the size says 0.
    EXPECT_EQ(sourceOf(ExportFormat::C, {}), "#include \"X.h\"\n\nconst unsigned char X[1] = { 0 };\n");
    EXPECT_EQ(sourceOf(ExportFormat::Asm, {}), "X::\nX_End::\n");
    EXPECT_NE(sourceHeaderText(ExportFormat::C, "X", 0).find("#define X_SIZE 0\n"), std::string::npos);
}

TEST(SourceExport, NamesAreIdentifiersThatKeepFilesApart)
{
    const std::pair<std::string, std::string> names[] = {
        {"/out/MAPBG.bin", "MAPBG"},   {"/out/TagRLE.hdr", "TagRLE_hdr"}, {"BG0.rnc", "BG0_rnc"},
        {"lv 1.x-Tag.bin", "lv_1_x_Tag"}, {"9MAP.bin", "_9MAP"},          {"caf\xc3\xa9.bin", "caf__"},
        {".bin", "_bin"},
    };
    for (const auto& [file, symbol] : names)
        EXPECT_EQ(sourceSymbolOf(file), symbol) << file;
    EXPECT_EQ(exportFormatPaths("/o/TagRLE.hdr", ExportFormat::Asm),
              (std::vector<std::string>{"/o/TagRLE_hdr.asm", "/o/TagRLE_hdr.inc"}));
    EXPECT_EQ(exportFormatPaths("/o/x.bin", ExportFormat::Binary), std::vector<std::string>{"/o/x.bin"});
    for (const char* bad : {"C", "binary", "s", ""})
        EXPECT_FALSE(exportFormatNamed(bad)) << bad;
}

TEST(SourceExport, AHeaderThatCannotBeWrittenIsReportedAndNotTheSource)
{
    TempDir dir;
    ExportReport report;
    ScriptedPrompter prompter;
    ExportFile file(dir.file("A.bin"), ExportFormat::C);
    file.put(1);
    simulateWriteFailure({1, WriteStage::Data, 0});
    EXPECT_FALSE(commitExportFile(file, prompter, report));
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_TRUE(report.files[0].written);
    EXPECT_EQ(report.files[1].reason, "Unable to write file " + dir.file("A.h") + ": No space left on device");
    EXPECT_EQ(prompter.informed, std::vector<std::string>{report.files[1].reason});
    EXPECT_FALSE(fs::exists(dir.file("A.h")));
}

} // namespace
} // namespace qm
