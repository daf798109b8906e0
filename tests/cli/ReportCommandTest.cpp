#include "cli/CliRun.h"
#include "core/project/ProjectFile.h"
#include "core/reports/PriorityReport.h"
#include "core/reports/ReportFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

using namespace qm;
using namespace qm::test;
namespace fs = std::filesystem;

// Each report is the menu's, beside the project; the priority map goes to the output.
TEST(ReportCommand, WritesTheMenuReportBesideTheProject)
{
    TempDir dir;
    const std::string project = copySample(dir, "v5_6");
    auto ws = std::make_unique<Workspace>();
    FixedPrompter no(Answer::No);
    NullProgress quiet;
    ASSERT_TRUE(readProject(project, *ws, no, quiet));
    const struct {
        std::vector<std::string> extra;
        ReportKind kind;
        TileKind set;
        const char* file;
    } cases[] = {
        {{"duplicates"}, ReportKind::Duplicates, TILE_BG, "v5_6RepeatBG.txt"},
        {{"duplicates", "--set", "obj"}, ReportKind::Duplicates, TILE_OBJ, "v5_6RepeatOBJ.txt"},
        {{"--set", "obj", "comments"}, ReportKind::Comments, TILE_OBJ, "v5_6CommentOBJ.txt"},
        {{"comments"}, ReportKind::Comments, TILE_BG, "v5_6CommentBG.txt"},
        {{"palette"}, ReportKind::Palette, TILE_BG, "v5_6PaletteRpt.txt"},
        {{"unused-bg"}, ReportKind::UnusedBg, TILE_BG, "v5_6UnusedBG.txt"},
        {{"unused-obj"}, ReportKind::UnusedObj, TILE_BG, "v5_6UnusedOBJ.txt"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"report", project};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const CliRun r = runCliCommand(args);
        ASSERT_EQ(r.status, 0) << c.file << r.err;
        EXPECT_EQ(r.out, dir.file(c.file) + "\n");
        EXPECT_EQ(readText(dir.file(c.file)), reportText(c.kind, *ws, c.set, quiet)) << c.file;
    }
    const CliRun priority = runCliCommand({"report", project, "priority"});
    ASSERT_EQ(priority.status, 0);
    EXPECT_EQ(priority.out, priorityReportText(ws->project.map));
    EXPECT_TRUE(priority.out.starts_with("     0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 \r\n"));

    // A report that cannot be written (the directory is read-only) fails.
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    const CliRun denied = runCliCommand({"report", project, "palette"});
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
    if (::geteuid() != 0) {
        EXPECT_EQ(std::tuple(denied.status, denied.err),
                  std::tuple(1, "Unable to create file " + dir.file("v5_6PaletteRpt.txt") + ": Permission denied\n"));
    }
}
