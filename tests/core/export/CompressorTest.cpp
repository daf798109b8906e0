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

TEST_F(CompressorTest, PackedCopyEndsInRncBesideTheTileData)
{
    installPacker(PACKER);
    const ExportReport report = run();
    const Bytes bin = readBytes(outDir() + "/BG0.bin");
    EXPECT_EQ(bin, Bytes(16, 0xFF));
    const Bytes packed = readBytes(outDir() + "/BG0.rnc");
    EXPECT_EQ(std::string(packed.begin(), packed.end()), "RNC" + std::string(bin.begin(), bin.end()));
    EXPECT_FALSE(fs::exists(packerDir() + "/temp.bin"));
    std::ifstream argsFile(packerDir() + "/args.txt");
    std::string args((std::istreambuf_iterator<char>(argsFile)), std::istreambuf_iterator<char>());
    EXPECT_EQ(args, "p\n-m2\n" + packerDir() + "/temp.bin\n");
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_TRUE(report.allWritten());
    EXPECT_EQ(report.files[1].path, outDir() + "/BG0.rnc");
    EXPECT_TRUE(prompter.informed.empty());
}

TEST_F(CompressorTest, ReadOnlyPackedFileIsReplaced)
{
    installPacker(PACKER);
    writeBytes(outDir() + "/BG0.rnc", {1});
    fs::permissions(outDir() + "/BG0.rnc", fs::perms::owner_read);
    run();
    EXPECT_EQ(readBytes(outDir() + "/BG0.rnc").size(), 19u);
}

TEST_F(CompressorTest, MissingExeWritesNothingForThatFile)
{
    installPacker(PACKER, true, false, true);
    s.tilesetFlags |= TILES_BG_MAIN_ATTR;
    const ExportReport report = run();
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "Can not find PPIbm.exe compression program. Make you have copied ppibm.exe & "
                                    "ppibm.pif into you Windows directory.");
    EXPECT_FALSE(fs::exists(outDir() + "/BG0.bin"));
    // The run goes on with the next option.
    EXPECT_TRUE(fs::exists(outDir() + "/BG0A.bin"));
    EXPECT_FALSE(report.allWritten());
}

TEST_F(CompressorTest, MissingPifWritesNothingForThatFile)
{
    installPacker(PACKER, true, true, false);
    run();
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "Can not find PPIbm.pif file to execute compress. Make you have this file in the "
                                    "directory same as Pixelwright.exe");
    EXPECT_FALSE(fs::exists(outDir() + "/BG0.bin"));
}

TEST_F(CompressorTest, PackerThatCannotStartLeavesTheUncompressedFile)
{
    installPacker(PACKER, false);
    const ExportReport report = run();
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "Unable to create Ppibm(compression) process");
    EXPECT_EQ(readBytes(outDir() + "/BG0.bin").size(), 16u);
    EXPECT_FALSE(fs::exists(outDir() + "/BG0.rnc"));
    EXPECT_FALSE(fs::exists(packerDir() + "/temp.bin"));
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_TRUE(report.files[0].written);
    EXPECT_FALSE(report.files[1].written);
}

TEST_F(CompressorTest, PackerThatFailsMakesNoPackedFile)
{
    installPacker("#!/bin/sh\necho broken > \"$3\"\nexit 3\n");
    const ExportReport report = run();
    EXPECT_FALSE(fs::exists(outDir() + "/BG0.rnc"));
    EXPECT_FALSE(fs::exists(packerDir() + "/temp.bin"));
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0],
              "Ppibm(compression) process failed, " + outDir() + "/BG0.rnc was not made.");
    EXPECT_FALSE(report.allWritten());
}

TEST_F(CompressorTest, EveryTileDataFileIsPackedButNoAttributeTable)
{
    installPacker(PACKER);
    s.tilesetFlags = TILES_BG_MAIN | TILES_BG_MAIN_ATTR | TILES_OBJ_ALT | TILES_COMPRESS;
    const ExportReport report = run();
    EXPECT_TRUE(fs::exists(outDir() + "/BG0.rnc"));
    EXPECT_TRUE(fs::exists(outDir() + "/OBJ1.rnc"));
    EXPECT_FALSE(fs::exists(outDir() + "/BG0A.rnc"));
    EXPECT_EQ(report.files.size(), 5u);
    EXPECT_TRUE(report.allWritten());
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

TEST(CompressorDirectory, PackedNameReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(packedPathFor("/out/BG0.bin"), "/out/BG0.rnc");
    EXPECT_EQ(packedPathFor("ab"), "rnc");
}

} // namespace
} // namespace qm
