#include "core/export/Compressor.h"
#include "core/export/TileExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qm {
namespace {

using test::CountingProgress;
using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using test::writeBytes;
using Bytes = std::vector<std::uint8_t>;
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
        fs::create_directory(packerDir());
        fs::create_directory(outDir());
        s.tilesetLocation = outDir();
        s.tilesetFlags = TILES_BG_MAIN | TILES_COMPRESS;
        s.bgMainFrom = 0;
        s.bgMainTo = 0;
        tiles.bg.tiles[0].pixels.fill(3);
    }
    std::string packerDir() const { return dir.file("packer"); }
    std::string outDir() const { return dir.file("out"); }
    void installPacker(const std::string& script, bool executable = true, bool withExe = true, bool withPif = true)
    {
        if (withExe)
            writeBytes(packerDir() + "/ppibm.exe", {'M', 'Z'});
        if (withPif) {
            std::ofstream(packerDir() + "/ppibm.pif") << script;
            fs::permissions(packerDir() + "/ppibm.pif",
                            executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    ExportReport run() { return exportTilesetPage(tiles, s, prompter, progress, packerDir()); }

    TempDir dir;
    TileLibrary tiles;
    ExportSettings s;
    ScriptedPrompter prompter;
    CountingProgress progress;
};

// Every tile data file is packed, no attribute table.
TEST_F(CompressorTest, PackedCopyEndsInRncBesideTheTileData)
{
    installPacker(PACKER);
    s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR | TILES_OBJ_ALT | TILES_COMPRESS;
    const ExportReport report = run();
    const Bytes bin = readBytes(outDir() + "/BG0.bin");
    EXPECT_EQ(bin, Bytes(16, 0xFF));
    const Bytes packed = readBytes(outDir() + "/BG0.rnc");
    EXPECT_EQ(std::string(packed.begin(), packed.end()), "RNC" + std::string(bin.begin(), bin.end()));
    EXPECT_FALSE(fs::exists(packerDir() + "/temp.bin"));
    EXPECT_EQ(test::readText(packerDir() + "/args.txt"), "p\n-m2\n" + packerDir() + "/temp.bin\n");
    EXPECT_EQ(test::fileNamesOf(report.files),
              (std::vector<std::string>{"BG0.bin", "BG0.rnc", "BG0A.bin", "OBJ1.bin", "OBJ1.rnc"}));
    EXPECT_TRUE(report.allWritten());
    EXPECT_TRUE(prompter.informed.empty());
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
         "Ppibm(compression) process failed, " + outDir() + "/BG0.rnc was not made.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove_all(packerDir());
        fs::remove_all(outDir());
        fs::create_directory(packerDir());
        fs::create_directory(outDir());
        installPacker(c.script, c.executable, c.exe, c.pif);
        prompter.informed.clear();
        s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR | TILES_COMPRESS;
        const ExportReport report = run();
        EXPECT_EQ(prompter.informed, std::vector<std::string>{c.message});
        EXPECT_EQ(fs::exists(outDir() + "/BG0.bin"), c.binWritten);
        EXPECT_FALSE(fs::exists(outDir() + "/BG0.rnc"));
        EXPECT_FALSE(fs::exists(packerDir() + "/temp.bin"));
        // The run goes on with the next option.
        EXPECT_TRUE(fs::exists(outDir() + "/BG0A.bin"));
        EXPECT_FALSE(report.allWritten());
        EXPECT_EQ(report.writtenCount(), c.binWritten ? 2 : 1);
    }
}

TEST_F(CompressorTest, InASourceFormatThePackedCopyIsSourceToo)
{
    installPacker(PACKER);
    const ExportReport report = exportTilesetPage(tiles, s, prompter, progress, packerDir(), ExportFormat::Asm);
    EXPECT_EQ(test::fileNamesOf(report.files),
              (std::vector<std::string>{"BG0.asm", "BG0.inc", "BG0_rnc.asm", "BG0_rnc.inc"}));
    const Bytes packed = readBytes(outDir() + "/BG0_rnc.asm");
    EXPECT_TRUE(std::string(packed.begin(), packed.end()).starts_with("BG0_rnc::\n    db $52, $4E, $43, $FF,"));
}

TEST(CompressorDirectory, EnvironmentThenSettingThenProgramDirectory)
{
    ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
    EXPECT_EQ(compressorDirectory("/opt/packer"), "/opt/packer");
    EXPECT_EQ(compressorDirectory(""), fs::read_symlink("/proc/self/exe").parent_path().string());
    ::setenv("QUILTMARK_COMPRESSOR_DIR", "/env/packer", 1);
    EXPECT_EQ(compressorDirectory("/opt/packer"), "/env/packer");
    ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
}


} // namespace
} // namespace qm
