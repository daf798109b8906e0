#include "core/export/MapExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace qm {
namespace {

using namespace test;
namespace fs = std::filesystem;

// A map whose BG tile, OBJ tile and tag of cell i are tileBase + i, 100 + i and i + 1.
MapGrid numberedMap(int w, int h, int tileBase = 0)
{
    MapGrid m;
    EXPECT_TRUE(m.create(w, h));
    for (size_t i = 0; i < m.cells.size(); ++i) {
        m.cells[i].bgTile = static_cast<std::uint16_t>(tileBase + static_cast<int>(i));
        m.cells[i].objTile = static_cast<std::uint16_t>(100 + i);
        m.cells[i].tag = static_cast<std::uint8_t>(i + 1);
    }
    return m;
}

class MapExportTest : public ::testing::Test {
protected:
    ExportReport run(const MapGrid& map, std::uint16_t flags, int split = 0, std::uint32_t tagMode = TAGS_16)
    {
        settings.mapLocation = dir.path().string();
        settings.mapFlags = flags;
        settings.mapSplitCount = split;
        settings.tagCountMode = tagMode;
        return exportMapPage(map, settings, prompter, progress);
    }

    TempDir dir;
    ExportSettings settings;
    ScriptedPrompter prompter;
    CountingProgress progress;
};

// The files of each data organisation, named as they are written. Split
// files leave the suffix out of their names, are cut every split bytes, and a
// run that ends on a cut makes no empty file.
TEST_F(MapExportTest, FilesOfEachOrganisation)
{
    MapGrid high = numberedMap(2, 1);
    high.cells[0].bgTile = 300; // 44 in the map data, the bank bit 0x08 in the attributes
    // Palette 5, both flips, priority on bgAttr; OBJ palette 3, its priority from bgAttr.
    high.cells[0].bgAttr = TILE_BG | (5 << 2) | ATTR_FLIP_H | ATTR_FLIP_V | ATTR_PRIORITY;
    high.cells[0].objAttr = TILE_OBJ | (3 << 2) | ATTR_FLIP_H | ATTR_PRIORITY;
    high.cells[1].objAttr = TILE_OBJ | ATTR_FLIP_V | ATTR_PRIORITY;
    high.cells[1].objTile = 511;
    MapGrid unmasked = numberedMap(2, 1);
    unmasked.cells[0].tag = 0x21; // its high nibble falls off
    unmasked.cells[1].tag = 0x35; // spills into the first tag's nibble
    MapGrid banded = numberedMap(4, 2);
    for (size_t i = 0; i < banded.cells.size(); ++i)
        banded.cells[i].bgAttr = static_cast<std::uint8_t>(TILE_BG | (i % 8) << 2);
    const int BG = MAP_EXPORT_BG | MAP_ONE_FILE, TAG = MAP_EXPORT_TAG | MAP_ONE_FILE, S = 0, L = TAGS_256;
    const int ATTRS = MAP_EXPORT_BG_ATTR | MAP_EXPORT_OBJ_ATTR, DIAG = MAP_REMOVE_LEADING, R90 = MAP_ROTATE_90;
    const struct {
        MapGrid map;
        int flags, tags, split;
        std::vector<std::pair<const char*, Bytes>> files;
    } cases[] = {
        {numberedMap(4, 2), BG | MAP_8BIT, S, 0, {{"MAPBG.bin", {0, 1, 2, 3, 4, 5, 6, 7}}}},
        {numberedMap(4, 2), BG | MAP_8BIT | MAP_SIGNED, S, 0,
         {{"MAPBG.bin", {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87}}}},
        // 4-bit entries lose the signed offset.
        {numberedMap(4, 2), BG | MAP_SIGNED, S, 0, {{"MAPBG.bin", {0x01, 0x23, 0x45, 0x67}}}},
        // Pairs (0,1), (2,3), (3,4); cell 5 is not written.
        {numberedMap(3, 2), BG, S, 0, {{"MAPBG.bin", {0x01, 0x23, 0x34}}}},
        {numberedMap(1, 1, 7), BG | TAG, S, 0, {{"MAPBG.bin", {0x70}}, {"Tag.bin", {0x10}}}},
        {high, BG | ATTRS | MAP_8BIT, S, 0,
         {{"MAPBG.bin", {0x2C, 1}}, {"MAPABG.bin", {0xED, 0x00}}, {"MAPAOBJ.bin", {0xA3, 0x48}}}},
        {numberedMap(5, 2), BG | TAG | MAP_8BIT | R90, L, 0,
         {{"MAPBG.bin", {0, 1, 5, 6, 2, 3, 7, 8, 4, 9}}, {"Tag.bin", {1, 2, 6, 7, 3, 4, 8, 9, 5, 10}}}},
        // d = 3: row 0 columns 1..3, row 1 columns 0..2.
        {banded, BG | MAP_EXPORT_BG_ATTR | MAP_8BIT | DIAG, S, 0,
         {{"MAPBG.bin", {1, 2, 3, 4, 5, 6}}, {"MAPABG.bin", {1, 2, 3, 4, 5, 6}}}},
        // Row 0: (1,2), (3,4); row 1: (4,5), (6,7). The tag map is never diagonal.
        {numberedMap(4, 2), BG | TAG | DIAG, L, 0,
         {{"MAPBG.bin", {0x12, 0x34, 0x45, 0x67}}, {"Tag.bin", {1, 3, 5, 7}}}},
        {numberedMap(3, 1, 1), BG | DIAG, S, 0, {{"MAPBG.bin", {0x12, 0x30}}}},
        // An odd width gives one continuous stream of pairs (0,1), (2,3), (4,5).
        {numberedMap(3, 2), TAG | MAP_8BIT, S, 0, {{"Tag.bin", {0x12, 0x34, 0x56}}}},
        {numberedMap(5, 3), TAG, S, 0, {{"Tag.bin", {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE}}}},
        {unmasked, TAG, S, 0, {{"Tag.bin", {0x35}}}},
        {numberedMap(2, 1), TAG | MAP_RLE_TAG, S, 0, {{"Tag.bin", {0x12}}, {"TagRLE.bin", {1, 0, 1, 1, 0, 2}}, {"TagRLE.hdr", {0, 0}}}},
        {numberedMap(4, 2), TAG | MAP_8BIT, L, 0, {{"Tag.bin", {1, 2, 3, 4, 5, 6, 7, 8}}}},
        // 4-bit structure: the tag of the first cell of each pair.
        {numberedMap(4, 2), TAG, L, 0, {{"Tag.bin", {1, 3, 5, 7}}}},
        {numberedMap(4, 2), MAP_EXPORT_BG | MAP_8BIT, S, 3,
         {{"lvMapBG01.bin", {0, 1, 2}}, {"lvMapBG02.bin", {3, 4, 5}}, {"lvMapBG03.bin", {6, 7}}}},
        {numberedMap(4, 2), MAP_EXPORT_BG | MAP_8BIT, S, 4,
         {{"lvMapBG01.bin", {0, 1, 2, 3}}, {"lvMapBG02.bin", {4, 5, 6, 7}}}},
        {numberedMap(2, 1), MAP_EXPORT_OBJ | MAP_8BIT, S, 1, {{"lvMapOBJ01.bin", {100}}, {"lvMapOBJ02.bin", {101}}}},
        {numberedMap(2, 1), MAP_EXPORT_OBJ | MAP_ONE_FILE | MAP_8BIT, S, 1, {{"lvMAPOBJ_s.bin", {100, 101}}}},
        // Not cut at half the map: the last pair (5, -) has no second cell.
        {numberedMap(3, 2, 1), MAP_EXPORT_BG, S, 10, {{"lvMapBG01.bin", {0x12, 0x34, 0x45, 0x60}}}},
        {numberedMap(3, 2), MAP_EXPORT_BG | MAP_8BIT | R90, S, 4, {{"lvMapBG01.bin", {0, 1, 3, 4}}, {"lvMapBG02.bin", {2, 5}}}},
        {numberedMap(2, 2), MAP_EXPORT_TAG | MAP_8BIT, L, 2, {{"lvTag01.bin", {1, 2}}, {"lvTag02.bin", {3, 4}}}},
        {numberedMap(2, 2), ATTRS, S, 2,
         {{"lvMAPABG01.bin", {0, 0}}, {"lvMAPABG02.bin", {0, 0}}, {"lvMAPAOBJ01.bin", {0, 0}},
          {"lvMAPAOBJ02.bin", {0, 0}}}},
        {banded, MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_8BIT | DIAG, S, 4,
         {{"lvMapBG01.bin", {1, 2, 3, 4}}, {"lvMapBG02.bin", {5, 6}}, {"lvMAPABG01.bin", {1, 2, 3, 4}},
          {"lvMAPABG02.bin", {5, 6}}}},
    };
    for (const auto& c : cases) {
        TempDir out;
        settings.mapLocation = out.path().string();
        settings.mapPrefix = c.split ? "lv" : "";
        settings.mapSuffix = c.split ? "_s" : "";
        settings.mapFlags = static_cast<std::uint16_t>(c.flags);
        settings.tagCountMode = static_cast<std::uint32_t>(c.tags);
        settings.mapSplitCount = c.split;
        EXPECT_TRUE(exportMapPage(c.map, settings, prompter, progress).allWritten()) << c.files[0].first;
        for (const auto& [name, bytes] : c.files)
            EXPECT_EQ(readBytes(out.file(name)), bytes) << name << " " << c.flags;
        EXPECT_EQ(test::entriesIn(out.path()), static_cast<long>(c.files.size())) << c.files[0].first;
    }
    EXPECT_EQ(std::set<std::string>(progress.captions.begin(), progress.captions.end()),
              (std::set<std::string>{"Exporting map data", "Exporting map attributes data", // diagonal
                                     "Exporting RLE compressed tag maps"}));
    EXPECT_EQ(progress.open, 0);
}

// Options a map cannot take refuse their file, and the run goes on with the
// next: the split attributes do not rotate, the tag map is never diagonal and
// the run-length tag map is not split.
TEST_F(MapExportTest, OptionsTheMapCannotTakeRefuseOnlyTheirFiles)
{
    const std::string tall = "needs a map at least as wide as high: " + dir.file("MAPBG.bin") + " was not written.";
    const struct {
        MapGrid map;
        int flags, split;
        std::string message;
        int messages, written;
    } cases[] = {
        {numberedMap(2, 5), MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_SPLIT_BG_ATTR | MAP_ONE_FILE | MAP_ROTATE_90, 0,
         "\"Rotate 90°\" " + tall, 1, 5},
        {numberedMap(2, 3), MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_REMOVE_LEADING, 0,
         "\"Remove leading placeholder tiles\" " + tall, 1, 1},
        {numberedMap(4, 2), MAP_EXPORT_BG | MAP_EXPORT_OBJ | MAP_EXPORT_TAG | MAP_RLE_TAG, 0,
         "\"Split into\" needs at least 1 byte per file: " + dir.file("MapBG01.bin") + " was not written.", 3, 2},
    };
    for (const auto& c : cases) {
        prompter.informed.clear();
        fs::remove_all(dir.path());
        fs::create_directory(dir.path());
        const ExportReport report = run(c.map, static_cast<std::uint16_t>(c.flags), c.split);
        ASSERT_EQ(prompter.informed.size(), static_cast<size_t>(c.messages)) << c.message;
        EXPECT_EQ(prompter.informed[0], c.message);
        EXPECT_FALSE(report.allWritten());
        EXPECT_EQ(report.writtenCount(), c.written) << c.message;
        EXPECT_EQ(entriesIn(dir.path()), c.written);
    }
}

TEST_F(MapExportTest, SplitAttributesWriteFiveBitPlaneFiles)
{
    MapGrid map = numberedMap(3, 3);
    for (size_t i = 0; i < 9; ++i)
        map.cells[i].objAttr = static_cast<std::uint8_t>(TILE_OBJ | (i % 8) << 2);
    map.cells[0].objAttr |= ATTR_FLIP_V;
    map.cells[1].objAttr |= ATTR_FLIP_H;
    map.cells[2].objTile = 256;
    map.cells[7].objAttr |= ATTR_PRIORITY | ATTR_FLIP_V;
    map.cells[8].objAttr |= ATTR_FLIP_V | ATTR_FLIP_H | ATTR_PRIORITY; // the ninth cell is not written
    map.cells[8].objTile = 400;
    map.cells[3].bgAttr = ATTR_PRIORITY; // "dp" comes from the layer's own byte
    settings.mapPrefix = "p_";
    settings.mapSuffix = "_s";
    const ExportReport report = run(map, MAP_EXPORT_OBJ_ATTR | MAP_SPLIT_OBJ_ATTR | MAP_ROTATE_90);
    const std::pair<const char*, Bytes> planes[] = {
        {"pal", {0x01, 0x23, 0x45, 0x67}}, {"flipV", {0x81}}, {"flipH", {0x40}}, {"bank", {0x20}}, {"dp", {0x01}}};
    std::vector<std::string> names;
    for (const auto& [plane, bytes] : planes) {
        names.push_back("p_MAPAOBJ" + std::string(plane) + "_s.bin");
        EXPECT_EQ(readBytes(dir.file(names.back())), bytes) << plane;
    }
    EXPECT_EQ(test::fileNamesOf(report.files), names);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Exporting map attribute"});
    EXPECT_EQ(progress.steps, 3);
}

// Nothing chosen writes nothing; no location is refused; a missing directory
// is asked for once a file: No skips only that file, and a run of split
// files ends at the first that cannot be created (Cancel).
TEST_F(MapExportTest, NothingChosenNoLocationAndAMissingDirectory)
{
    EXPECT_TRUE(run(numberedMap(4, 2), MAP_ONE_FILE | MAP_8BIT | MAP_RLE_TAG).files.empty());
    EXPECT_EQ(entriesIn(dir.path()), 0);
    EXPECT_TRUE(prompter.questions.empty() && prompter.informed.empty() && progress.captions.empty());
    settings.mapLocation.clear();
    settings.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE;
    EXPECT_FALSE(exportMapPage(numberedMap(2, 2), settings, prompter, progress).allWritten());
    EXPECT_EQ(prompter.informed, std::vector<std::string>{"Please specify the location to export the file."});

    settings.mapLocation = dir.file("out");
    settings.mapFlags = MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT;
    ScriptedPrompter noThenYes({Answer::No, Answer::Yes});
    ExportReport report = exportMapPage(numberedMap(4, 2), settings, noThenYes, progress);
    EXPECT_EQ(std::tuple(noThenYes.questions.size(), test::fileNamesOf(report.files), report.files[0].written,
                         test::entriesIn(dir.file("out"))),
              std::tuple(2u, std::vector<std::string>{"MAPBG.bin", "Tag.bin"}, false, 1L));
    fs::remove_all(dir.file("out"));
    settings.mapFlags = MAP_EXPORT_BG | MAP_8BIT;
    settings.mapSplitCount = 2;
    ScriptedPrompter cancel({Answer::Cancel});
    report = exportMapPage(numberedMap(4, 2), settings, cancel, progress);
    EXPECT_EQ(std::tuple(cancel.questions.size(), report.files.size(), report.writtenCount()), std::tuple(1u, 1u, 0));
}

} // namespace
} // namespace qm
