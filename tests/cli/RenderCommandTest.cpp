#include "cli/CliRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qm::cli {
namespace {

int run(const std::vector<std::string>& args, std::string* err = nullptr)
{
    const test::CliRun r = test::runCliCommand(args);
    if (err)
        *err = r.err;
    return r.status;
}

std::string sample(const std::string& name) { return test::samplesDir() + "/" + name + "/" + name + ".qmm"; }

TEST(RenderCommandTest, SampleMatchesReferenceImages)
{
    test::TempDir dir;
    ASSERT_EQ(run({"render", sample("v5_6"), dir.file("map.png")}), 0);
    EXPECT_EQ(test::readBytes(dir.file("map.png")), test::readBytes(test::dataDir() + "/render/v5_6.png"));
    ASSERT_EQ(run({"render", sample("v5_6"), dir.file("tags.png"), "--tags", "--transparent-obj"}), 0);
    EXPECT_EQ(test::readBytes(dir.file("tags.png")), test::readBytes(test::dataDir() + "/render/v5_6_tags.png"));
}

TEST(RenderCommandTest, EverySampleRendersWithEverySwitch)
{
    test::TempDir dir;
    for (const char* v : {"v1_0", "v2_0", "v4_0", "v5_2", "v5_5", "v5_6"}) {
        ASSERT_EQ(run({"render", sample(v), dir.file("a.png")}), 0) << v;
        ASSERT_EQ(run({"render", sample(v), dir.file("b.png"), "--hide-obj", "--dmg", "--true-color"}), 0) << v;
        EXPECT_NE(test::readBytes(dir.file("a.png")), test::readBytes(dir.file("b.png"))) << v;
    }
}

} // namespace
} // namespace qm::cli
