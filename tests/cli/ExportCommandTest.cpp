#include "cli/CliRun.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/PaletteFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

using test::readBytes;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

using test::CliRun;

// A project file in dir with a 4 x 2 map whose BG tiles are 0..7 and every
// page's files going to location.
std::string makeProject(const TempDir& dir, const std::string& name, const std::string& location)
{
    return test::writeProjectFile(dir, name, 4, 2, [&](Workspace& ws) {
        for (size_t i = 0; i < 8; ++i)
            ws.project.map.cells[i].set(TILE_BG, static_cast<std::uint16_t>(i), 0, 0, 0);
        ExportSettings& s = ws.project.exportSettings;
        s.mapLocation = s.tilesetLocation = s.paletteLocation = location;
        s.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT;
        s.tilesetFlags = TILES_BG_MAIN;
        s.bgMainTo = 1;
        s.paletteFlags = PALETTE_BG | PALETTE_OBJ;
    });
}

// Which pages, where and in which form: without --list each file written is
// told as "wrote PATH", with it the paths alone. A file that cannot be
// written fails the run with its reason, and what can be written still is.
TEST(ExportCommand, PagesLocationsFormatsTheListAndFilesNotWritten)
{
    TempDir dir;
    fs::create_directory(dir.file("exp"));
    fs::create_directory(dir.file("other"));
    const std::string exp = dir.file("exp") + "/", other = dir.file("other") + "/", missing = dir.file("missing");
    const std::string project = makeProject(dir, "level.qmm", dir.file("exp")), lost = makeProject(dir, "lost.qmm", missing);
    const std::string tall = test::writeProjectFile(dir, "tall.qmm", 2, 4, [](Workspace& ws) {
        ws.project.exportSettings.mapFlags = MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_ROTATE_90;
    });
    const std::string noTiles = test::writeProjectFile(dir, "p.qmm", 2, 2, [&](Workspace& ws) {
        ws.project.bgTileSetPath = dir.file("gone.qmb");
        ws.project.exportSettings.paletteFlags = PALETTE_BG;
    });
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::vector<std::string> errors = {}; // none: nothing on the error stream
    } cases[] = {
        {{"export", project}, 0,
         "wrote " + exp + "MAPBG.bin\nwrote " + exp + "BG0.bin\nwrote " + exp + "BCPD.bin\nwrote " + exp + "OCPD.bin\n"},
        {{"export", project, "--palettes", "--out=" + dir.file("other"), "--list"}, 0,
         other + "BCPD.bin\n" + other + "OCPD.bin\n"},
        {{"export", project, "--map", "--tiles", "--out", dir.file("other"), "--format", "c", "--list"}, 0,
         other + "MAPBG.c\n" + other + "MAPBG.h\n" + other + "BG0.c\n" + other + "BG0.h\n"},
        {{"export", project, "--list", "--map", "--format=asm"}, 0, exp + "MAPBG.asm\n" + exp + "MAPBG.inc\n"},
        {{"export", lost, "--palettes"}, 1, "",
         {"skipped " + missing + "/BCPD.bin: The directory " + missing + " does not exist.", "skipped " + missing + "/OCPD.bin"}},
        {{"export", lost, "--map", "--create-dirs"}, 0, "wrote " + missing + "/MAPBG.bin\n"},
        {{"export", tall, "--map"}, 1, "", {"Rotate 90°"}},
        {{"export", noTiles}, 1, "wrote " + dir.file("BCPD.bin") + "\n", {"Unable to open file " + dir.file("gone.qmb")}},
    };
    for (const auto& c : cases) {
        const CliRun r = test::runCliCommand(c.args);
        EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(c.status, c.out)) << c.args[1];
        for (const std::string& error : c.errors)
            EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
        EXPECT_EQ(r.err.empty(), c.errors.empty()) << r.err;
    }
    EXPECT_EQ(readBytes(exp + "MAPBG.bin"), (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(readBytes(exp + "BG0.bin").size(), 32u);
    EXPECT_EQ(readBytes(exp + "OCPD.bin").size(), 64u);
    EXPECT_TRUE(test::readText(exp + "MAPBG.asm").starts_with("MAPBG::\n    db $00, $01, $02"));
    // Progress goes to a terminal only.
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCli({"export", project, "--palettes"}, out, err, true), 0);
    EXPECT_NE(err.str().find("Exporting palette...  Process completed 100%"), std::string::npos);
}

// The palette file of the set and the format the name asks for, and the
// tile sheet's size (its pixels are checked through Qt in ui_tiles).
TEST(PaletteAndTilesCommands, WriteTheSetsPalettesAndTiles)
{
    TempDir dir;
    const std::string project = test::samplesDir() + "/v5_6/v5_6.qmm";
    auto ws = std::make_unique<Workspace>();
    test::ScriptedPrompter prompter;
    NullProgress quiet;
    ASSERT_TRUE(readProject(project, *ws, prompter, quiet));
    for (const auto& [name, set] : {std::pair{"p.pal", "obj"}, {"p.gpl", "obj"}, {"p.act", "obj"}, {"p.bin", "obj"},
                                    {"bg.bin", ""}}) { // bg without --set
        std::vector<std::string> args = {"palette", project, dir.file(name)};
        if (*set)
            args.insert(args.end(), {"--set", set});
        ASSERT_EQ(test::runCliCommand(args).status, 0) << name;
        EXPECT_EQ(readBytes(dir.file(name)), *set ? encodePaletteFile(ws->tiles.palettes.objPalettes, paletteFileFormatOf(name), TILE_OBJ)
                                                  : encodePaletteFile(ws->tiles.palettes.bgPalettes, {}, TILE_BG));
    }
    for (const auto& [options, width, height] : {std::tuple{std::vector<std::string>{}, 128, 256},
                                                 {{"--columns", "32", "--set", "tag", "--palette", "7"}, 256, 128},
                                                 {{"--columns", "512"}, 4096, 8}}) {
        std::vector<std::string> args = {"tiles", project, dir.file("t.png")};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_EQ(test::runCliCommand(args).status, 0);
        const Bytes png = readBytes(dir.file("t.png"));
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(std::pair(png[18] << 8 | png[19], png[22] << 8 | png[23]), std::pair(width, height));
    }
}

} // namespace
} // namespace qm
