#include "cli/CliRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;


TEST(InfoCommand, PrintsOneNameValueLineEach)
{
    const std::string dir = samplesDir() + "/v5_2";
    const CliRun r = runCliCommand({"info", dir + "/v5_2.qmm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("version: 5.2\n"), std::string::npos);
    EXPECT_NE(r.out.find("width: 6\nheight: 9\n"), std::string::npos);
    EXPECT_NE(r.out.find("bgTileSet: " + dir + "/v5_2_bg.qmb\n"), std::string::npos);
    EXPECT_NE(r.out.find("tagCountMode: 0 (16 Tags)\n"), std::string::npos);
    EXPECT_NE(r.out.find("mapLocation: " + dir + "\n"), std::string::npos);
    EXPECT_NE(r.out.find("tilesetLocation: " + samplesDir() + "/shared\n"), std::string::npos);
    EXPECT_NE(r.out.find("mapFlags: 0x1257\n"), std::string::npos);
    for (size_t at = 0, next; (next = r.out.find('\n', at)) != std::string::npos; at = next + 1)
        EXPECT_NE(r.out.substr(at, next - at).find(": "), std::string::npos);
}
