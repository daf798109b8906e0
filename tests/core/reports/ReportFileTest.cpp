#include "core/project/ProjectFile.h"
#include "core/reports/ReportFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qm;
using namespace qm::test;

// The file name of each report and its contents through the command line are pinned by the cli's
// ReportCommandTest, an unwritable file by the ui's ReportCommandsTest.
TEST(ReportFile, NamesCutOnlyARealExtensionAndEveryReportHasItsMessageAndCrLf)
{
    const struct {
        const char* project;
        const char* report;
        const char* backup; // of an old version that is converted
    } names[] = {
        {"/maps/short/ab", "/maps/short/abPaletteRpt.txt", "/maps/short/ab.001"},
        {"/maps/a.q", "/maps/aPaletteRpt.txt", "/maps/a.001"},
        {"/my.maps/x", "/my.maps/xPaletteRpt.txt", "/my.maps/x.001"},
        {"/maps/.qmm", "/maps/.qmmPaletteRpt.txt", "/maps/.qmm.001"},
    };
    for (const auto& c : names) {
        EXPECT_EQ(reportFilePath(c.project, "PaletteRpt.txt"), c.report);
        EXPECT_EQ(backupPathFor(c.project), c.backup);
    }
    TempDir dir;
    const InDirectory here(dir.path()); // an untitled project: "noname" in the current directory
    auto ws = std::make_unique<Workspace>();
    ws->project.map.create(3, 2);
    ws->tiles.tag.tiles[3].setComment("tag");
    const std::pair<ReportKind, std::string> messages[] = {
        {ReportKind::Duplicates, "'%s' report has been created."},
        {ReportKind::Comments, "Comment file '%s' has been created."},
        {ReportKind::Palette, "Palette report '%s' has been created."},
        {ReportKind::UnusedBg, "Unused BG tile report '%s' has been created."},
        {ReportKind::UnusedObj, "Unused OBJ tile report '%s' has been created."},
    };
    for (auto [kind, message] : messages) {
        ReportWritten written;
        CountingProgress progress;
        ASSERT_TRUE(writeReport(kind, *ws, TILE_TAG, progress, written)) << message;
        EXPECT_EQ(written.path, (std::filesystem::current_path() / ("noname" + reportName(kind, TILE_TAG))).string());
        EXPECT_EQ(written.message, message.replace(message.find("%s"), 2, written.path));
        EXPECT_EQ(progress.open, 0);
        const Bytes bytes = readBytes(written.path);
        const std::string text(bytes.begin(), bytes.end());
        for (size_t i = 0; i < text.size(); ++i) // every line end is CR LF
            ASSERT_TRUE(text[i] != '\n' || (i > 0 && text[i - 1] == '\r')) << message << " at " << i;
        if (kind == ReportKind::Comments) { // the tag set shown: the comments of the tag tiles
            EXPECT_NE(text.find("Tile   3: Pal: 0 Comment: tag"), std::string::npos);
        }
    }
}
