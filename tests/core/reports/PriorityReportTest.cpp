#include "core/reports/PriorityReport.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(PriorityReport, GridOfBgPriorityBits)
{
    MapGrid map;
    map.create(3, 2);
    map.cellAt(1, 0)->bgAttr = TILE_BG | ATTR_PRIORITY;
    map.cellAt(2, 1)->objAttr = TILE_OBJ | ATTR_PRIORITY; // only the BG bit counts
    EXPECT_EQ(priorityReportText(map), "     0 1 2 \r\n0    0 1 0 \r\n1    0 0 0 \r\n");

    MapGrid wide;
    wide.create(12, 100001);
    const std::string text = priorityReportText(wide);
    EXPECT_TRUE(text.starts_with("     0 1 2 3 4 5 6 7 8 9 0 1 \r\n"));
    EXPECT_NE(text.find("\r\n99999"), std::string::npos);
    EXPECT_NE(text.find("\r\n100000" "0 "), std::string::npos); // a longer number is not cut
}
