#include "cli/CliRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qm::test;

TEST(InfoCommand, PrintsOneNameValueLineEach)
{
    const std::string dir = samplesDir() + "/v5_2";
    const CliRun r = runCliCommand({"info", dir + "/v5_2.qmm"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> expected = {"version: 5.2\n", "width: 6\nheight: 9\n", "bgTileSet: " + dir + "/v5_2_bg.qmb\n",
                                               "tagCountMode: 0 (16 Tags)\n", "mapLocation: " + dir + "\n",
                                               "tilesetLocation: " + samplesDir() + "/shared\n", "mapFlags: 0x1257\n"};
    for (const std::string& lines : expected)
        EXPECT_NE(r.out.find(lines), std::string::npos) << lines;
    for (size_t at = 0, next; (next = r.out.find('\n', at)) != std::string::npos; at = next + 1)
        EXPECT_NE(r.out.substr(at, next - at).find(": "), std::string::npos);
}
