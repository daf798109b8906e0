#include "core/export/MapExport.h"
#include "core/export/TagRleExport.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;

MapGrid tagMap(int w, int h, const std::vector<std::uint8_t>& tags)
{
    MapGrid m;
    EXPECT_TRUE(m.create(w, h));
    for (size_t i = 0; i < m.cells.size(); ++i)
        m.cells[i].tag = i < tags.size() ? tags[i] : static_cast<std::uint8_t>(i & 1);
    return m;
}

// Runs (length word, tag) stop at row ends; the header holds where each row starts.
TEST(TagRleExport, RunsStopAtRowEndsAndKeepTheWholeTag)
{
    const struct {
        MapGrid map;
        Bytes runs, header;
    } cases[] = {
        {tagMap(4, 2, {1, 1, 2, 2, 3, 3, 3, 3}), {2, 0, 1, 2, 0, 2, 4, 0, 3}, {0, 0, 6, 0}},
        {tagMap(3, 2, {0x10, 0xFF, 0x42, 7, 7, 7}), {1, 0, 0x10, 1, 0, 0xFF, 1, 0, 0x42, 3, 0, 7}, {0, 0, 9, 0}},
        {tagMap(2, 2, {5, 5, 5, 5}), {2, 0, 5, 2, 0, 5}, {0, 0, 3, 0}},
    };
    for (const auto& c : cases) {
        const TagRle rle = encodeTagRle(c.map);
        EXPECT_EQ(rle.runs, c.runs);
        EXPECT_EQ(rle.header, c.header);
    }
    // 200 runs a row: row r starts at 600 r, which passes 65535 at row 110 and wraps.
    const TagRle big = encodeTagRle(tagMap(200, 120, {}));
    ASSERT_EQ(big.header.size(), 240u);
    EXPECT_EQ(big.runs.size(), 200u * 120u * 3u);
    for (unsigned r = 0; r < 120; ++r)
        EXPECT_EQ(big.header[r * 2] | big.header[r * 2 + 1] << 8, int(600u * r & 0xFFFF)) << r;
}

// The files' bytes through the page are pinned in MapExportTest.
TEST(TagRleExport, ThePageNamesTheFilesByThePrefixAloneAndAFailedHeaderLeavesTheDataFile)
{
    test::TempDir dir;
    ExportSettings s;
    s.mapLocation = dir.path().string();
    s.mapPrefix = "lv";
    s.mapSuffix = "_x";
    s.mapFlags = MAP_EXPORT_TAG | MAP_RLE_TAG | MAP_ONE_FILE;
    test::ScriptedPrompter prompter;
    test::CountingProgress progress;
    EXPECT_EQ(test::fileNamesOf(exportMapPage(tagMap(4, 2, {}), s, prompter, progress).files),
              (std::vector<std::string>{"lvTag_x.bin", "lvTagRLE.bin", "lvTagRLE.hdr"}));
    EXPECT_EQ(progress.totals.back(), 2); // a step a row

    std::filesystem::create_directory(dir.file("TagRLE.hdr"));
    test::writeBytes(dir.file("TagRLE.bin"), {9});
    ExportReport failed;
    CountingProgress quiet;
    writeTagRle(tagMap(2, 1, {1, 2}), dir.path().string(), "", prompter, quiet, failed);
    EXPECT_EQ(readBytes(dir.file("TagRLE.bin")), Bytes{9});
    EXPECT_EQ(std::tuple(failed.files.size(), failed.writtenCount(), quiet.captions.size()), std::tuple(2u, 0, 0u));
}

} // namespace
} // namespace qm
