// Export files stay inside their location whatever the project says.

#include "core/export/ExportFile.h"
#include "core/export/MapExport.h"
#include "core/export/PaletteExport.h"
#include "core/export/TileExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;
namespace fs = std::filesystem;

// Runs every page with text as the field (0 prefix, 1 suffix) of each; the
// map page twice, the second time for the RLE tag map and its header.
std::vector<std::pair<std::string, ExportReport>> exportEveryPage(int field, const std::string& text,
                                                                  const std::string& location, ScriptedPrompter& p)
{
    ExportSettings s;
    std::string* const fields[2][3] = {{&s.mapPrefix, &s.tilesetPrefix, &s.palettePrefix},
                                       {&s.mapSuffix, &s.tilesetSuffix, &s.paletteSuffix}};
    for (std::string* f : fields[field])
        *f = text;
    s.mapLocation = s.tilesetLocation = s.paletteLocation = location;
    s.tilesetFlags = TILES_BG_MAIN | TILES_OBJ_ALT_ATTR;
    s.paletteFlags = PALETTE_BG | PALETTE_OBJ;
    MapGrid map;
    map.create(4, 2);
    const TileLibrary tiles;
    NullProgress quiet;
    std::vector<std::pair<std::string, ExportReport>> runs;
    for (std::uint16_t flags : {MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR, MAP_EXPORT_TAG | MAP_RLE_TAG}) {
        s.mapFlags = flags | MAP_ONE_FILE;
        runs.emplace_back("map", exportMapPage(map, s, p, quiet));
    }
    runs.emplace_back("tile set", exportTilesetPage(tiles, s, p, quiet));
    runs.emplace_back("palette", exportPalettePage(tiles.palettes, s, p, quiet));
    return runs;
}

TEST(ExportLocation, EscapingPrefixesAndSuffixesAreRefusedOnEveryPageWithNothingWritten)
{
    TempDir root;
    const std::string location = root.file("out/in");
    fs::create_directories(location);
    for (const std::string& text : {std::string("../escape_"), std::string("../../escape_"), root.file("abs_"),
                                    std::string("..\\..\\win_"), std::string("sub/x"), std::string("C:drive_")}) {
        for (int field : {0, 1}) {
            SCOPED_TRACE(text + (field ? " as suffix" : " as prefix"));
            ScriptedPrompter prompter;
            for (const auto& [page, report] : exportEveryPage(field, text, location, prompter)) {
                const std::string message = "The " + page + (field ? " suffix '" : " prefix '") + text +
                                            "' would write outside the export location.";
                ASSERT_EQ(report.files.size(), 1u);
                EXPECT_EQ(report.files[0].reason, message);
                EXPECT_FALSE(report.files[0].written);
            }
            EXPECT_EQ(prompter.informed.size(), 4u);
            EXPECT_EQ(std::tuple(test::entriesIn(root.path()), test::entriesIn(root.file("out")), test::entriesIn(location)),
                      std::tuple(1, 1, 0));
        }
    }
    ScriptedPrompter prompter;
    for (const auto& [page, report] : exportEveryPage(0, "lv1.a_", location, prompter))
        EXPECT_TRUE(report.allWritten()) << page;
}

TEST(ExportLocation, EveryFinalPathIsCheckedWhereItLeads)
{
    TempDir root;
    const std::string loc = root.file("out");
    fs::create_directory(loc);
    test::writeBytes(root.file("outside.bin"), {1});
    test::writeBytes(root.file("out/target.bin"), {2});
    fs::create_symlink(root.file("outside.bin"), root.file("out/MAPBG.bin"));
    fs::create_symlink("target.bin", root.file("out/inside.bin"));
    test::FifoPeer fifo(root.file("out/fifo.bin"), test::FifoPeer::Role::Reader);
    const std::string outside = " would be written outside the export location " + loc + ".";
    const std::pair<std::string, std::string> cases[] = {
        {loc + "/x.bin", ""},
        {loc + "//x.bin", ""},
        {loc + "/inside.bin", ""},
        {loc + "/MAPBG.bin", loc + "/MAPBG.bin" + outside},
        {loc + "/../x.bin", loc + "/../x.bin" + outside},
        {loc + "/sub/x.bin", loc + "/sub/x.bin" + outside},
        {loc + "/fifo.bin", loc + "/fifo.bin is not a regular file"},
    };
    for (const auto& [path, refusal] : cases)
        EXPECT_EQ(exportPathRefusal(loc, path), refusal) << path;

    // A link to a file elsewhere is not written through: in a source format
    // neither the source nor its header is written.
    fs::create_symlink(root.file("outside.bin"), root.file("out/MAPBG.h"));
    ExportSettings s;
    s.mapLocation = loc;
    s.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE;
    MapGrid map;
    map.create(2, 2);
    ScriptedPrompter prompter;
    NullProgress quiet;
    const ExportReport report = exportMapPage(map, s, prompter, quiet, ExportFormat::C);
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].reason, loc + "/MAPBG.h" + outside);
    EXPECT_FALSE(fs::exists(loc + "/MAPBG.c"));
    EXPECT_EQ(test::readBytes(root.file("outside.bin")), std::vector<std::uint8_t>{1});
}

} // namespace
} // namespace qm
