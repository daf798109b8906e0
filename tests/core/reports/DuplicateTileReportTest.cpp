#include "core/reports/DuplicateTileReport.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// Every tile different: tile t has pixel 0 = t % 4, pixel 1 = (t / 4) % 4, ...
std::unique_ptr<TileSet> distinctSet(TileKind kind)
{
    auto set = std::make_unique<TileSet>(kind);
    for (int t = 0; t < 512; ++t)
        for (int d = 0, v = t; d < 5; ++d, v /= 4)
            set->tiles[static_cast<size_t>(t)].pixels[static_cast<size_t>(d)] = static_cast<std::uint8_t>(v % 4);
    return set;
}

} // namespace

TEST(DuplicateTileReport, BlankSetPairsEveryTileWithTileZero)
{
    auto set = std::make_unique<TileSet>(TILE_BG);
    NullProgress quiet;
    const std::vector<std::string> lines = linesOf(duplicateTileReportText(*set, true, quiet));
    ASSERT_EQ(lines.size(), 512u); // 511 lines and the empty rest after the last line end
    EXPECT_EQ(lines[0], "BG0: 0 = BG0: 1");
    EXPECT_EQ(lines[254], "BG0: 0 = BG0: 255");
    EXPECT_EQ(lines[255], "BG0: 0 = BG1: 0");
    EXPECT_EQ(lines[510], "BG0: 0 = BG1: 255");
    EXPECT_EQ(lines[511], "");
}

TEST(DuplicateTileReport, EachDuplicateOnceWithTheLowestEqualTile)
{
    auto set = distinctSet(TILE_OBJ);
    set->tiles[273].pixels = set->tiles[3].pixels;
    set->tiles[400].pixels = set->tiles[3].pixels;
    set->tiles[401].pixels = set->tiles[400].pixels;
    set->tiles[401].setPalette(5); // palettes do not matter
    // Mirror images are not duplicates.
    set->tiles[20].pixels.fill(3);
    set->tiles[20].pixels[0] = 1;
    set->tiles[21].pixels.fill(3);
    set->tiles[21].pixels[7] = 1;
    NullProgress quiet;
    EXPECT_EQ(duplicateTileReportText(*set, true, quiet), "BG0: 3 = BG1: 17\r\nBG0: 3 = BG1: 144\r\nBG0: 3 = BG1: 145\r\n");
    EXPECT_EQ(duplicateTileReportText(*set, false, quiet),
              "OBJ0: 3 = OBJ1: 17\r\nOBJ0: 3 = OBJ1: 144\r\nOBJ0: 3 = OBJ1: 145\r\n");
}
