#include "core/export/Compressor.h"
#include "core/export/TileExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;
namespace fs = std::filesystem;

// A stand-in packer: notes its arguments and puts "RNC" in front of the file
// it is given, in place.
const char* const PACKER = "#!/bin/sh\n"
                           "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n"
                           "{ printf 'RNC'; cat \"$3\"; } > \"$3.packed\" && mv \"$3.packed\" \"$3\"\n";

class CompressorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
        s.tilesetFlags = TILES_BG_MAIN | TILES_COMPRESS;
        s.bgMainTo = 0;
        tiles.bg.tiles[0].pixels.fill(3);
    }
    // A fresh packer directory and export location.
    void installPacker(const std::string& script, bool executable = true, bool withExe = true, bool withPif = true)
    {
        fs::remove_all(packer);
        fs::remove_all(out);
        fs::create_directory(packer);
        fs::create_directory(out);
        if (withExe)
            test::writeBytes(packer + "/ppibm.exe", {'M', 'Z'});
        if (withPif) {
            std::ofstream(packer + "/ppibm.pif") << script;
            fs::permissions(packer + "/ppibm.pif", executable ? fs::perms::owner_all : fs::perms::owner_read);
        }
    }
    ExportReport run(ExportFormat format = ExportFormat::Binary)
    {
        s.tilesetLocation = out;
        return exportTilesetPage(tiles, s, prompter, progress, packer, format);
    }

    test::TempDir dir;
    const std::string packer = dir.file("packer"), out = dir.file("out");
    TileLibrary tiles;
    ExportSettings s;
    test::ScriptedPrompter prompter;
    test::CountingProgress progress;
};

// Every tile data file is packed, no attribute table; in a source format the packed copy is source too.
TEST_F(CompressorTest, PackedCopyEndsInRncBesideTheTileData)
{
    installPacker(PACKER);
    s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR | TILES_OBJ_ALT | TILES_COMPRESS;
    const ExportReport report = run();
    const std::string bin = readText(out + "/BG0.bin");
    EXPECT_EQ(bin, std::string(16, '\xFF'));
    EXPECT_EQ(readText(out + "/BG0.rnc"), "RNC" + bin);
    EXPECT_FALSE(fs::exists(packer + "/temp.bin"));
    EXPECT_EQ(readText(packer + "/args.txt"), "p\n-m2\n" + packer + "/temp.bin\n");
    EXPECT_EQ(test::fileNamesOf(report.files),
              (std::vector<std::string>{"BG0.bin", "BG0.rnc", "BG0A.bin", "OBJ1.bin", "OBJ1.rnc"}));
    EXPECT_TRUE(report.allWritten() && prompter.informed.empty());

    installPacker(PACKER);
    s.tilesetFlags = TILES_BG_MAIN | TILES_COMPRESS;
    EXPECT_EQ(test::fileNamesOf(run(ExportFormat::Asm).files),
              (std::vector<std::string>{"BG0.asm", "BG0.inc", "BG0_rnc.asm", "BG0_rnc.inc"}));
    EXPECT_TRUE(readText(out + "/BG0_rnc.asm").starts_with("BG0_rnc::\n    db $52, $4E, $43, $FF,"));
}

// A packer that is missing, cannot start or fails: the messages, and what
// stays on disk. A missing file stops that tile data file before it is written.
TEST_F(CompressorTest, PackerThatIsMissingCannotStartOrFails)
{
    const struct {
        const char* script;
        bool executable, exe, pif;
        std::string message;
        bool binWritten;
    } cases[] = {
        {PACKER, true, false, true,
         "Can not find PPIbm.exe compression program. Make you have copied ppibm.exe & ppibm.pif into you Windows "
         "directory.",
         false},
        {PACKER, true, true, false,
         "Can not find PPIbm.pif file to execute compress. Make you have this file in the directory same as "
         "Pixelwright.exe",
         false},
        {PACKER, false, true, true, "Unable to create Ppibm(compression) process", true},
        {"#!/bin/sh\necho broken > \"$3\"\nexit 3\n", true, true, true,
         "Ppibm(compression) process failed, " + out + "/BG0.rnc was not made.", true},
    };
    s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR | TILES_COMPRESS;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        installPacker(c.script, c.executable, c.exe, c.pif);
        prompter.informed.clear();
        const ExportReport report = run();
        EXPECT_EQ(prompter.informed, std::vector<std::string>{c.message});
        EXPECT_EQ(fs::exists(out + "/BG0.bin"), c.binWritten);
        EXPECT_FALSE(fs::exists(out + "/BG0.rnc") || fs::exists(packer + "/temp.bin"));
        EXPECT_TRUE(fs::exists(out + "/BG0A.bin")); // the run goes on with the next option
        EXPECT_FALSE(report.allWritten());
        EXPECT_EQ(report.writtenCount(), c.binWritten ? 2 : 1);
    }
}

TEST(CompressorDirectory, EnvironmentThenSettingThenProgramDirectory)
{
    ::setenv("QUILTMARK_COMPRESSOR_DIR", "/env/packer", 1);
    EXPECT_EQ(compressorDirectory("/opt/packer"), "/env/packer");
    ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
    EXPECT_EQ(compressorDirectory("/opt/packer"), "/opt/packer");
    EXPECT_EQ(compressorDirectory(""), fs::read_symlink("/proc/self/exe").parent_path().string());
}

} // namespace
} // namespace qm
