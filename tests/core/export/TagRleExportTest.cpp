#include "core/export/MapExport.h"
#include "core/export/TagRleExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qm {
namespace {

using test::CountingProgress;
using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

MapGrid tagMap(int w, int h, const std::vector<std::uint8_t>& tags)
{
    MapGrid m;
    EXPECT_TRUE(m.create(w, h));
    for (size_t i = 0; i < tags.size() && i < m.cells.size(); ++i)
        m.cells[i].tag = tags[i];
    return m;
}

TEST(TagRleExport, RunsStopAtRowEndsAndTheHeaderPointsAtEachRow)
{
    TempDir dir;
    const MapGrid map = tagMap(4, 2, {1, 1, 2, 2, 3, 3, 3, 3});
    ExportSettings s;
    s.mapLocation = dir.path().string();
    s.mapPrefix = "lv";
    s.mapSuffix = "_unused";
    s.mapFlags = MAP_EXPORT_TAG | MAP_RLE_TAG | MAP_ONE_FILE;
    ScriptedPrompter prompter;
    CountingProgress progress;
    const ExportReport report = exportMapPage(map, s, prompter, progress);
    EXPECT_EQ(readBytes(dir.file("lvTagRLE.bin")), (Bytes{0x02, 0x00, 0x01, 0x02, 0x00, 0x02, 0x04, 0x00, 0x03}));
    EXPECT_EQ(readBytes(dir.file("lvTagRLE.hdr")), (Bytes{0x00, 0x00, 0x06, 0x00}));
    EXPECT_TRUE(report.allWritten());
    EXPECT_EQ(report.files.size(), 3u);
    EXPECT_EQ(progress.captions.back(), "Exporting RLE compressed tag maps");
    EXPECT_EQ(progress.totals.back(), 2);
}

TEST(TagRleExport, RunsOfEveryLengthAndFullTagValues)
{
    // One row of all different tags above 15: width runs of length 1, tags in full.
    TagRle rle = encodeTagRle(tagMap(3, 2, {0x10, 0xFF, 0x42, 7, 7, 7}));
    EXPECT_EQ(rle.runs, (Bytes{1, 0, 0x10, 1, 0, 0xFF, 1, 0, 0x42, 3, 0, 7}));
    EXPECT_EQ(rle.header, (Bytes{0, 0, 9, 0}));
    // The same tag across a row end gives two runs.
    EXPECT_EQ(encodeTagRle(tagMap(2, 2, {5, 5, 5, 5})).runs, (Bytes{2, 0, 5, 2, 0, 5}));
}

TEST(TagRleExport, HeaderOffsetsWrapToSixteenBits)
{
    // 200 runs a row: row r starts at 600 r, which passes 65535 at row 110.
    MapGrid map;
    ASSERT_TRUE(map.create(200, 120));
    for (size_t i = 0; i < map.cells.size(); ++i)
        map.cells[i].tag = static_cast<std::uint8_t>(i & 1);
    const TagRle rle = encodeTagRle(map);
    ASSERT_EQ(rle.header.size(), 240u);
    EXPECT_EQ(rle.runs.size(), 200u * 120u * 3u);
    for (int r = 0; r < 120; ++r) {
        const unsigned expected = (600u * static_cast<unsigned>(r)) & 0xFFFF;
        EXPECT_EQ(rle.header[static_cast<size_t>(r) * 2] | rle.header[static_cast<size_t>(r) * 2 + 1] << 8,
                  static_cast<int>(expected))
            << r;
    }
}

TEST(TagRleExport, HeaderThatCannotBeCreatedLeavesTheDataFileAlone)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("TagRLE.hdr"));
    test::writeBytes(dir.file("TagRLE.bin"), {9});
    ScriptedPrompter prompter;
    CountingProgress progress;
    ExportReport report;
    writeTagRle(tagMap(2, 1, {1, 2}), dir.path().string(), "", prompter, progress, report);
    EXPECT_EQ(readBytes(dir.file("TagRLE.bin")), Bytes{9});
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_FALSE(report.files[0].written);
    EXPECT_FALSE(report.files[1].written);
    EXPECT_TRUE(progress.captions.empty());
}

} // namespace
} // namespace qm
