#include "core/export/MapExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace qm {
namespace {

using test::CountingProgress;
using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

std::string formatName(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n) + ".bin";
}

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
    Bytes file(const std::string& name) const { return readBytes(dir.file(name)); }
    bool exists(const std::string& name) const { return fs::exists(dir.file(name)); }
    size_t fileCount() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }

    TempDir dir;
    ExportSettings settings;
    ScriptedPrompter prompter;
    CountingProgress progress;
};

TEST_F(MapExportTest, EightBitDataUnsignedAndSigned)
{
    const MapGrid map = numberedMap(4, 2);
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT | MAP_SIGNED);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87}));
}

TEST_F(MapExportTest, FourBitDataPacksPairsAndLosesTheSignedOffset)
{
    const MapGrid map = numberedMap(4, 2);
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x01, 0x23, 0x45, 0x67}));
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE | MAP_SIGNED);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x01, 0x23, 0x45, 0x67}));
}

TEST_F(MapExportTest, FourBitOddWidthPairsAcrossTheRowEnd)
{
    // Pairs (0,1), (2,3), (3,4); cell 5 is not written.
    const MapGrid map = numberedMap(3, 2);
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x01, 0x23, 0x34}));
}

TEST_F(MapExportTest, NibblePairPastTheLastCellGetsZero)
{
    // Split files are not cut at half the map: the last pair (5, -) has no second cell.
    const MapGrid map = numberedMap(3, 2, 1);
    run(map, MAP_EXPORT_BG, 10);
    EXPECT_EQ(file("MapBG01.bin"), (Bytes{0x12, 0x34, 0x45, 0x60}));
    EXPECT_FALSE(exists("MapBG02.bin"));
}

TEST_F(MapExportTest, OneCellMapInFourBitStillGetsItsByte)
{
    const MapGrid map = numberedMap(1, 1, 7);
    run(map, MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE);
    EXPECT_EQ(file("MAPBG.bin"), Bytes{0x70});
    EXPECT_EQ(file("Tag.bin"), Bytes{0x10});
}

TEST_F(MapExportTest, ObjLayerUsesObjTilesAndItsOwnNames)
{
    const MapGrid map = numberedMap(2, 1);
    settings.mapPrefix = "lv";
    settings.mapSuffix = "_a";
    run(map, MAP_EXPORT_OBJ | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(file("lvMAPOBJ_a.bin"), (Bytes{100, 101}));
    run(map, MAP_EXPORT_OBJ | MAP_8BIT, 1);
    EXPECT_EQ(file("lvMapOBJ01.bin"), (Bytes{100}));
    EXPECT_EQ(file("lvMapOBJ02.bin"), (Bytes{101}));
}

TEST_F(MapExportTest, HighTileGoesToTheBankBit)
{
    MapGrid map = numberedMap(1, 1);
    map.cells[0].bgTile = 300;
    run(map, MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x2C}));
    EXPECT_EQ(file("MAPABG.bin"), (Bytes{0x08}));
}

TEST_F(MapExportTest, AttributeBytes)
{
    MapGrid map = numberedMap(2, 1);
    // Palette 5, both flips, priority on bgAttr.
    map.cells[0].bgAttr = TILE_BG | (5 << 2) | ATTR_FLIP_H | ATTR_FLIP_V | ATTR_PRIORITY;
    // OBJ: palette 3, horizontal flip; its priority comes from bgAttr, not objAttr.
    map.cells[0].objAttr = TILE_OBJ | (3 << 2) | ATTR_FLIP_H | ATTR_PRIORITY;
    map.cells[1].objAttr = TILE_OBJ | ATTR_FLIP_V | ATTR_PRIORITY;
    map.cells[1].objTile = 511;
    run(map, MAP_EXPORT_BG_ATTR | MAP_EXPORT_OBJ_ATTR | MAP_ONE_FILE);
    EXPECT_EQ(file("MAPABG.bin"), (Bytes{0xE5, 0x00}));
    EXPECT_EQ(file("MAPAOBJ.bin"), (Bytes{0xA3, 0x48}));
}

TEST_F(MapExportTest, SplitIntoThreeBytes)
{
    const MapGrid map = numberedMap(4, 2);
    settings.mapSuffix = "_ignored";
    const ExportReport report = run(map, MAP_EXPORT_BG | MAP_8BIT, 3);
    EXPECT_EQ(file("MapBG01.bin"), (Bytes{0, 1, 2}));
    EXPECT_EQ(file("MapBG02.bin"), (Bytes{3, 4, 5}));
    EXPECT_EQ(file("MapBG03.bin"), (Bytes{6, 7}));
    EXPECT_EQ(fileCount(), 3u);
    EXPECT_EQ(report.writtenCount(), 3);
    ASSERT_EQ(progress.captions, std::vector<std::string>{"Exporting map data"});
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(progress.open, 0);
}

TEST_F(MapExportTest, SplitExactlyAtTheEndMakesNoEmptyFile)
{
    const MapGrid map = numberedMap(4, 2);
    run(map, MAP_EXPORT_BG | MAP_8BIT, 4);
    EXPECT_EQ(file("MapBG01.bin"), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(file("MapBG02.bin"), (Bytes{4, 5, 6, 7}));
    EXPECT_EQ(fileCount(), 2u);
}

TEST_F(MapExportTest, SplitAttributeAndTagFilesAreNamedByTheirStems)
{
    const MapGrid map = numberedMap(2, 2);
    run(map, MAP_EXPORT_BG_ATTR | MAP_EXPORT_OBJ_ATTR | MAP_EXPORT_TAG | MAP_8BIT, 2, TAGS_256);
    for (const char* name : {"MAPABG01.bin", "MAPABG02.bin", "MAPAOBJ01.bin", "MAPAOBJ02.bin"})
        EXPECT_EQ(file(name).size(), 2u) << name;
    EXPECT_EQ(file("Tag01.bin"), (Bytes{1, 2}));
    EXPECT_EQ(file("Tag02.bin"), (Bytes{3, 4}));
}

TEST_F(MapExportTest, SplitFilesJoinToTheOneLongStream)
{
    std::mt19937 rng(7);
    MapGrid map = numberedMap(13, 7);
    for (MapCell& c : map.cells) {
        c.bgTile = static_cast<std::uint16_t>(rng() % 512);
        c.bgAttr = static_cast<std::uint8_t>(rng());
        c.tag = static_cast<std::uint8_t>(rng() % 16);
    }
    for (std::uint16_t extra : {0, int(MAP_8BIT), int(MAP_8BIT | MAP_ROTATE_90)}) {
        for (int split : {16, 1000}) {
            TempDir out;
            settings.mapLocation = out.path().string();
            settings.mapFlags = MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_EXPORT_TAG | extra;
            settings.mapSplitCount = split;
            const ExportReport report = exportMapPage(map, settings, prompter, progress);
            EXPECT_TRUE(report.allWritten());
            for (auto [stem, kind] : {std::pair{"MapBG", MapEntryKind::Data}, {"MAPABG", MapEntryKind::Attribute},
                                      {"Tag", MapEntryKind::Tag}}) {
                Bytes joined;
                for (int n = 1; fs::exists(out.file(stem + formatName(n))); ++n) {
                    const Bytes part = readBytes(out.file(stem + formatName(n)));
                    EXPECT_LE(part.size(), static_cast<size_t>(split));
                    joined.insert(joined.end(), part.begin(), part.end());
                }
                EXPECT_EQ(joined, mapStream(map, settings.mapFlags, TILE_BG, kind, false))
                    << stem << " split " << split << " flags " << settings.mapFlags;
            }
        }
    }
}

TEST_F(MapExportTest, Rotate90WritesSquareBlocks)
{
    const MapGrid map = numberedMap(5, 2);
    run(map, MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT | MAP_ROTATE_90, 0, TAGS_256);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0, 1, 5, 6, 2, 3, 7, 8, 4, 9}));
    EXPECT_EQ(file("Tag.bin"), (Bytes{1, 2, 6, 7, 3, 4, 8, 9, 5, 10}));
    // A square map is written in plain order.
    const MapGrid square = numberedMap(2, 2);
    run(square, MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT | MAP_ROTATE_90);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0, 1, 2, 3}));
}

TEST_F(MapExportTest, Rotate90OnATallMapIsRefusedAndTheRunGoesOn)
{
    const MapGrid map = numberedMap(2, 5);
    const ExportReport report =
        run(map, MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_SPLIT_BG_ATTR | MAP_ONE_FILE | MAP_8BIT | MAP_ROTATE_90);
    EXPECT_FALSE(exists("MAPBG.bin"));
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "\"Rotate 90°\" needs a map at least as wide as high: " +
                                        dir.file("MAPBG.bin") + " was not written.");
    // The split attributes do not rotate and are written.
    EXPECT_TRUE(exists("MAPABGpal.bin"));
    EXPECT_FALSE(report.allWritten());
    EXPECT_EQ(report.writtenCount(), 5);
}

TEST_F(MapExportTest, RemoveLeadingPlaceholderTilesWritesTheDiagonalBand)
{
    // d = 3: row 0 columns 1..3, row 1 columns 0..2.
    MapGrid map = numberedMap(4, 2);
    for (size_t i = 0; i < map.cells.size(); ++i)
        map.cells[i].bgAttr = static_cast<std::uint8_t>(TILE_BG | (i % 8) << 2);
    run(map, MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_ONE_FILE | MAP_8BIT | MAP_REMOVE_LEADING);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(file("MAPABG.bin"), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_NE(std::find(progress.captions.begin(), progress.captions.end(), "Exporting map attributes data"),
              progress.captions.end());
}

TEST_F(MapExportTest, DiagonalFourBitPairsAnOddBandWithTheCellToItsRight)
{
    const MapGrid map = numberedMap(4, 2);
    // Attributes stay one byte a cell; the tag map is never diagonal.
    run(map, MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_REMOVE_LEADING, 0, TAGS_256);
    // Row 0: (1,2), (3,4); row 1: (4,5), (6,7).
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x12, 0x34, 0x45, 0x67}));
    EXPECT_EQ(file("Tag.bin"), (Bytes{1, 3, 5, 7}));
}

TEST_F(MapExportTest, DiagonalOneRowLastPairHasNoSecondCell)
{
    const MapGrid map = numberedMap(3, 1, 1);
    run(map, MAP_EXPORT_BG | MAP_ONE_FILE | MAP_REMOVE_LEADING);
    EXPECT_EQ(file("MAPBG.bin"), (Bytes{0x12, 0x30}));
}

TEST_F(MapExportTest, DiagonalSplitFilesContinueAlongTheBand)
{
    const MapGrid map = numberedMap(4, 2);
    run(map, MAP_EXPORT_BG_ATTR | MAP_EXPORT_BG | MAP_8BIT | MAP_REMOVE_LEADING, 4);
    EXPECT_EQ(file("MapBG01.bin"), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(file("MapBG02.bin"), (Bytes{5, 6}));
    EXPECT_EQ(file("MAPABG01.bin").size(), 4u);
    EXPECT_EQ(file("MAPABG02.bin").size(), 2u);
}

TEST_F(MapExportTest, DiagonalOnATallMapIsRefused)
{
    const MapGrid map = numberedMap(2, 3);
    const ExportReport report = run(map, MAP_EXPORT_BG | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_REMOVE_LEADING);
    EXPECT_FALSE(exists("MAPBG.bin"));
    EXPECT_TRUE(exists("Tag.bin"));
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "\"Remove leading placeholder tiles\" needs a map at least as wide as high: " +
                                        dir.file("MAPBG.bin") + " was not written.");
    EXPECT_EQ(report.files.size(), 2u);
}

TEST_F(MapExportTest, SplitCountOfZeroOrLessIsRefusedForEachFile)
{
    const MapGrid map = numberedMap(4, 2);
    for (int split : {0, -3}) {
        prompter.informed.clear();
        const ExportReport report =
            run(map, MAP_EXPORT_BG | MAP_EXPORT_OBJ | MAP_EXPORT_TAG | MAP_RLE_TAG | MAP_8BIT, split);
        ASSERT_EQ(prompter.informed.size(), 3u);
        EXPECT_EQ(prompter.informed[0], "\"Split into\" needs at least 1 byte per file: " +
                                            dir.file("MapBG01.bin") + " was not written.");
        // The run-length tag map is not split and still written.
        EXPECT_EQ(fileCount(), 2u);
        EXPECT_EQ(report.writtenCount(), 2);
    }
}

TEST_F(MapExportTest, SixteenTagsPackTwoTagsABytes)
{
    // Odd width: one continuous stream of pairs (0,1), (2,3), (4,5).
    run(numberedMap(3, 2), MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(file("Tag.bin"), (Bytes{0x12, 0x34, 0x56}));
    run(numberedMap(5, 3), MAP_EXPORT_TAG | MAP_ONE_FILE);
    EXPECT_EQ(file("Tag.bin"), (Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE}));
    run(numberedMap(4, 2), MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(file("Tag.bin"), (Bytes{0x12, 0x34, 0x56, 0x78}));
}

TEST_F(MapExportTest, SixteenTagsAreNotMasked)
{
    MapGrid map = numberedMap(2, 1);
    map.cells[0].tag = 0x21; // its high nibble falls off
    map.cells[1].tag = 0x35; // spills into the first tag's nibble
    run(map, MAP_EXPORT_TAG | MAP_ONE_FILE);
    EXPECT_EQ(file("Tag.bin"), (Bytes{0x35}));
}

TEST_F(MapExportTest, TwoHundredFiftySixTagsFollowTheDataStructure)
{
    const MapGrid map = numberedMap(4, 2);
    run(map, MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT, 0, TAGS_256);
    EXPECT_EQ(file("Tag.bin"), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    // 4-bit structure: the tag of the first cell of each pair.
    run(map, MAP_EXPORT_TAG | MAP_ONE_FILE, 0, TAGS_256);
    EXPECT_EQ(file("Tag.bin"), (Bytes{1, 3, 5, 7}));
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
    EXPECT_EQ(file("p_MAPAOBJpal_s.bin"), (Bytes{0x01, 0x23, 0x45, 0x67}));
    EXPECT_EQ(file("p_MAPAOBJflipV_s.bin"), (Bytes{0x81}));
    EXPECT_EQ(file("p_MAPAOBJflipH_s.bin"), (Bytes{0x40}));
    EXPECT_EQ(file("p_MAPAOBJbank_s.bin"), (Bytes{0x20}));
    EXPECT_EQ(file("p_MAPAOBJdp_s.bin"), (Bytes{0x01}));
    ASSERT_EQ(report.files.size(), 5u);
    EXPECT_EQ(report.files[0].path, dir.file("p_MAPAOBJpal_s.bin"));
    EXPECT_EQ(report.files[4].path, dir.file("p_MAPAOBJdp_s.bin"));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Exporting map attribute"});
    EXPECT_EQ(progress.steps, 3);
}

TEST_F(MapExportTest, NothingChosenWritesNothingAndShowsNothing)
{
    const ExportReport report = run(numberedMap(4, 2), MAP_ONE_FILE | MAP_8BIT | MAP_RLE_TAG);
    EXPECT_TRUE(report.files.empty());
    EXPECT_EQ(fileCount(), 0u);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_TRUE(prompter.informed.empty());
    EXPECT_TRUE(progress.captions.empty());
}

TEST_F(MapExportTest, MissingDirectoryIsAskedOncePerFileAndNoSkipsOnlyThatFile)
{
    const MapGrid map = numberedMap(4, 2);
    settings.mapLocation = dir.file("out");
    settings.mapFlags = MAP_EXPORT_BG | MAP_EXPORT_BG_ATTR | MAP_EXPORT_TAG | MAP_ONE_FILE | MAP_8BIT;
    ScriptedPrompter answers({Answer::No, Answer::Yes});
    const ExportReport report = exportMapPage(map, settings, answers, progress);
    EXPECT_EQ(answers.questions.size(), 2u);
    EXPECT_FALSE(fs::exists(dir.file("out") + "/MAPBG.bin"));
    EXPECT_TRUE(fs::exists(dir.file("out") + "/MAPABG.bin"));
    EXPECT_TRUE(fs::exists(dir.file("out") + "/Tag.bin"));
    ASSERT_EQ(report.files.size(), 3u);
    EXPECT_FALSE(report.files[0].written);
    EXPECT_TRUE(report.files[1].written && report.files[2].written);
}

TEST_F(MapExportTest, SplitRunEndsAtTheFirstFileThatCannotBeCreated)
{
    const MapGrid map = numberedMap(4, 2);
    settings.mapLocation = dir.file("out");
    settings.mapFlags = MAP_EXPORT_BG | MAP_8BIT;
    settings.mapSplitCount = 2;
    ScriptedPrompter answers({Answer::Cancel});
    const ExportReport report = exportMapPage(map, settings, answers, progress);
    EXPECT_EQ(answers.questions.size(), 1u);
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].path, dir.file("out") + "/MapBG01.bin");
}

TEST_F(MapExportTest, OneFileProgressStepsByTenths)
{
    run(numberedMap(20, 10), MAP_EXPORT_BG | MAP_ONE_FILE | MAP_8BIT);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Exporting map data"});
    EXPECT_EQ(progress.totals, std::vector<int>{10});
    EXPECT_EQ(progress.steps, 10);
    EXPECT_EQ(progress.open, 0);
}

TEST_F(MapExportTest, EmptyLocationIsRefused)
{
    settings.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE;
    const ExportReport report = exportMapPage(numberedMap(2, 2), settings, prompter, progress);
    EXPECT_EQ(prompter.informed, std::vector<std::string>{"Please specify the location to export the file."});
    EXPECT_FALSE(report.allWritten());
}

} // namespace
} // namespace qm

namespace qm {
namespace {

// Every organisation on every small map shape: each stream ends, stays within
// one byte a cell, and the diagonal band holds exactly its cells.
TEST(MapStreams, EveryOptionOnSmallMapsEndsInsideTheMap)
{
    for (int w = 1; w <= 7; ++w) {
        for (int h = 1; h <= 7; ++h) {
            MapGrid map;
            ASSERT_TRUE(map.create(w, h));
            for (size_t i = 0; i < map.cells.size(); ++i)
                map.cells[i].set(static_cast<std::uint8_t>(i * 7), static_cast<std::uint16_t>(i * 37),
                                 static_cast<std::uint8_t>(i * 5), static_cast<std::uint16_t>(i * 41),
                                 static_cast<std::uint8_t>(i * 3));
            const size_t cells = map.cells.size();
            for (std::uint16_t flags = 0; flags < 8; ++flags) {
                const std::uint16_t f = static_cast<std::uint16_t>((flags & 1 ? MAP_8BIT : 0) |
                                                                   (flags & 2 ? MAP_SIGNED : 0) |
                                                                   (flags & 4 ? MAP_ROTATE_90 : 0));
                for (auto kind : {MapEntryKind::Data, MapEntryKind::Attribute, MapEntryKind::Tag}) {
                    for (bool tags256 : {false, true}) {
                        const auto stream = mapStream(map, f, TILE_OBJ, kind, tags256);
                        EXPECT_LE(stream.size(), cells) << w << "x" << h << " f" << f << " k" << int(kind) << " t" << tags256;
                        if ((f & MAP_ROTATE_90) && w < h)
                            EXPECT_TRUE(stream.empty());
                        else
                            EXPECT_FALSE(stream.empty());
                    }
                    const auto band = mapDiagonalStream(map, f, TILE_BG, kind);
                    if (w < h) {
                        EXPECT_TRUE(band.empty());
                    } else {
                        const size_t d = static_cast<size_t>(w - h + 1);
                        const bool pairs = kind != MapEntryKind::Attribute && !(f & MAP_8BIT);
                        EXPECT_EQ(band.size(), static_cast<size_t>(h) * (pairs ? (d + 1) / 2 : d)) << w << "x" << h;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace qm

namespace qm {
namespace {

// One-file exports cut pairs at half the map: on the smallest shapes every
// file still comes out with at most one byte a cell.
TEST(MapStreams, OneFileExportsOfTinyMaps)
{
    for (int w = 1; w <= 3; ++w) {
        for (int h = 1; h <= 3; ++h) {
            MapGrid map;
            ASSERT_TRUE(map.create(w, h));
            for (std::uint16_t extra : {std::uint16_t(0), MAP_ROTATE_90}) {
                TempDir dir;
                ExportSettings s;
                s.mapLocation = dir.path().string();
                s.mapFlags = static_cast<std::uint16_t>(MAP_EXPORT_BG | MAP_EXPORT_OBJ | MAP_EXPORT_BG_ATTR |
                                                        MAP_EXPORT_TAG | MAP_ONE_FILE | extra);
                ScriptedPrompter prompter;
                CountingProgress progress;
                const ExportReport report = exportMapPage(map, s, prompter, progress);
                const bool refused = (extra & MAP_ROTATE_90) && w < h;
                EXPECT_EQ(report.writtenCount(), refused ? 0 : 4) << w << "x" << h;
                for (const ExportOutcome& f : report.files)
                    if (f.written) {
                        EXPECT_GE(readBytes(f.path).size(), 1u);
                        EXPECT_LE(readBytes(f.path).size(), map.cells.size());
                    }
                EXPECT_EQ(progress.open, 0);
            }
        }
    }
}

} // namespace
} // namespace qm
