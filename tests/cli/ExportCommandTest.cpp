#include "cli/CliRun.h"
#include "core/project/ProjectFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

using test::readBytes;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

using test::CliRun;

CliRun runCli(const std::vector<std::string>& args)
{
    return test::runCliCommand(args);
}

// A project file in dir with a 4 x 2 map whose BG tiles are 0..7 and every
// page's files going to location.
std::string makeProject(const TempDir& dir, const std::string& location)
{
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("level.qmm");
    EXPECT_TRUE(ws->project.map.create(4, 2));
    for (size_t i = 0; i < 8; ++i)
        ws->project.map.cells[i].set(TILE_BG, static_cast<std::uint16_t>(i), 0, 0, 0);
    ExportSettings& s = ws->project.exportSettings;
    s.mapLocation = s.tilesetLocation = s.paletteLocation = location;
    s.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT;
    s.tilesetFlags = TILES_BG_MAIN;
    s.bgMainTo = 1;
    s.paletteFlags = PALETTE_BG | PALETTE_OBJ;
    NullProgress quiet;
    EXPECT_TRUE(writeProject(*ws, quiet).ok());
    return ws->project.projectPath;
}

TEST(ExportCommand, EverySampleProjectExportsAllPages)
{
    TempDir out;
    int projects = 0;
    for (const auto& entry : fs::directory_iterator(test::samplesDir())) {
        if (!entry.is_directory())
            continue;
        for (const auto& file : fs::directory_iterator(entry.path())) {
            if (file.path().extension() != ".qmm")
                continue;
            ++projects;
            const std::string target = out.file(entry.path().filename().string());
            const CliRun r = runCli({"export", file.path().string(), "--out", target, "--create-dirs"});
            EXPECT_EQ(r.status, 0) << file.path() << "\n" << r.err;
            EXPECT_EQ(r.err, "") << file.path();
            EXPECT_GT(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 0) << file.path();
        }
    }
    EXPECT_EQ(projects, 6);
}

TEST(ExportCommand, WritesIntoTheProjectsOwnLocations)
{
    TempDir dir;
    fs::create_directory(dir.file("exp"));
    const std::string project = makeProject(dir, dir.file("exp"));
    const CliRun r = runCli({"export", project});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("exp") + "/MAPBG.bin"), (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(readBytes(dir.file("exp") + "/BG0.bin").size(), 32u);
    EXPECT_EQ(readBytes(dir.file("exp") + "/BCPD.bin").size(), 64u);
    EXPECT_EQ(readBytes(dir.file("exp") + "/OCPD.bin").size(), 64u);
    EXPECT_NE(r.out.find("wrote " + dir.file("exp") + "/MAPBG.bin"), std::string::npos);
}

TEST(ExportCommand, MissingDirectoryIsSkippedUnlessCreateDirs)
{
    TempDir dir;
    const std::string project = makeProject(dir, dir.file("missing"));
    const CliRun no = runCli({"export", project});
    EXPECT_EQ(no.status, 1);
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    EXPECT_NE(no.err.find("skipped " + dir.file("missing") + "/MAPBG.bin: The directory " + dir.file("missing") +
                          " does not exist."),
              std::string::npos)
        << no.err;
    EXPECT_NE(no.err.find("skipped " + dir.file("missing") + "/OCPD.bin"), std::string::npos);

    const CliRun yes = runCli({"export", project, "--create-dirs"});
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_TRUE(fs::exists(dir.file("missing") + "/MAPBG.bin"));
}

TEST(ExportCommand, PageFlagsAndOutReplaceTheDefaults)
{
    TempDir dir;
    fs::create_directory(dir.file("exp"));
    fs::create_directory(dir.file("other"));
    const std::string project = makeProject(dir, dir.file("exp"));
    const CliRun r = runCli({"export", project, "--palettes", "--out=" + dir.file("other")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir.file("other") + "/BCPD.bin"));
    EXPECT_FALSE(fs::exists(dir.file("other") + "/MAPBG.bin"));
    EXPECT_FALSE(fs::exists(dir.file("other") + "/BG0.bin"));
    EXPECT_TRUE(fs::is_empty(dir.file("exp")));

    const CliRun two = runCli({"export", project, "--map", "--tiles", "--out", dir.file("other")});
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_TRUE(fs::exists(dir.file("other") + "/MAPBG.bin"));
    EXPECT_TRUE(fs::exists(dir.file("other") + "/BG0.bin"));
}

TEST(ExportCommand, RefusedFileFailsTheRun)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("tall.qmm");
    ASSERT_TRUE(ws->project.map.create(2, 4));
    ws->project.exportSettings.mapFlags = MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_ROTATE_90;
    NullProgress quiet;
    ASSERT_TRUE(writeProject(*ws, quiet).ok());
    const CliRun r = runCli({"export", ws->project.projectPath, "--map"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Rotate 90°"), std::string::npos) << r.err;
}

TEST(ExportCommand, CompressorIsFoundThroughTheEnvironment)
{
    TempDir dir;
    fs::create_directory(dir.file("exp"));
    fs::create_directory(dir.file("packer"));
    test::writeBytes(dir.file("packer") + "/ppibm.exe", {1});
    std::ofstream(dir.file("packer") + "/ppibm.pif") << "#!/bin/sh\nprintf 'X' >> \"$3\"\n";
    fs::permissions(dir.file("packer") + "/ppibm.pif", fs::perms::owner_all);
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("p.qmm");
    ASSERT_TRUE(ws->project.map.create(2, 2));
    ws->project.exportSettings.tilesetLocation = dir.file("exp");
    ws->project.exportSettings.tilesetFlags = TILES_OBJ_MAIN | TILES_COMPRESS;
    NullProgress quiet;
    ASSERT_TRUE(writeProject(*ws, quiet).ok());

    ::setenv("QUILTMARK_COMPRESSOR_DIR", dir.file("packer").c_str(), 1);
    const CliRun r = runCli({"export", ws->project.projectPath, "--tiles"});
    ::unsetenv("QUILTMARK_COMPRESSOR_DIR");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("exp") + "/OBJ0.rnc").size(), 4097u);

    // Without it the program's own directory has no packer.
    const CliRun without = runCli({"export", ws->project.projectPath, "--tiles"});
    EXPECT_EQ(without.status, 1);
    EXPECT_NE(without.err.find("Can not find PPIbm.exe"), std::string::npos) << without.err;
}

TEST(ExportCommand, BadCommandLinesAndFiles)
{
    EXPECT_EQ(runCli({"export"}).status, 2);
    EXPECT_EQ(runCli({"export", "a.qmm", "--bogus"}).status, 2);
    EXPECT_EQ(runCli({"export", "a.qmm", "--out"}).status, 2);
    EXPECT_EQ(runCli({"export", "a.qmm", "b.qmm"}).status, 2);
    TempDir dir;
    const CliRun missing = runCli({"export", dir.file("none.qmm")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Unable to open the project file"), std::string::npos);
    test::writeBytes(dir.file("bad.qmm"), {'x', 'y'});
    const CliRun bad = runCli({"export", dir.file("bad.qmm")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Invalid Quiltmark file."), std::string::npos);
}

} // namespace
} // namespace qm

namespace qm {
namespace {

TEST(ExportCommand, TileSetThatDoesNotOpenFailsTheRun)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("p.qmm");
    ws->project.bgTileSetPath = dir.file("gone.qmb");
    ASSERT_TRUE(ws->project.map.create(2, 2));
    ws->project.exportSettings.paletteFlags = PALETTE_BG;
    NullProgress quiet;
    ASSERT_TRUE(writeProject(*ws, quiet).ok());
    const CliRun r = runCli({"export", ws->project.projectPath});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unable to open file " + dir.file("gone.qmb")), std::string::npos) << r.err;
    // What can be written still is.
    EXPECT_TRUE(fs::exists(dir.file("BCPD.bin")));
}

TEST(ExportCommand, ProgressGoesToATerminalOnly)
{
    TempDir dir;
    const std::string project = makeProject(dir, dir.path().string());
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCli({"export", project, "--palettes"}, out, err, true), 0);
    EXPECT_NE(err.str().find("Exporting palette...  Process completed 100%"), std::string::npos);
    const CliRun quiet = runCli({"export", project, "--palettes"});
    EXPECT_EQ(quiet.err, "");
}

} // namespace
} // namespace qm
