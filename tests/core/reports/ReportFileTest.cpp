#include "core/project/ProjectFile.h"
#include "core/reports/ReportFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qm;
using namespace qm::test;

TEST(ReportFile, NamesBesideTheProjectCuttingOnlyARealExtensionOrNonameInTheCurrentDirectory)
{
    const std::pair<ReportKind, std::string> names[] = {
        {ReportKind::Duplicates, "RepeatOBJ.txt"}, {ReportKind::Comments, "CommentOBJ.txt"},
        {ReportKind::Palette, "PaletteRpt.txt"},   {ReportKind::UnusedBg, "UnusedBG.txt"},
        {ReportKind::UnusedObj, "UnusedOBJ.txt"}};
    for (const auto& [kind, name] : names)
        EXPECT_EQ(reportName(kind, TILE_TAG), name);
    EXPECT_EQ(reportName(ReportKind::Duplicates, TILE_BG), "RepeatBG.txt");
    EXPECT_EQ(reportName(ReportKind::Comments, TILE_BG), "CommentBG.txt");
    const struct {
        const char* project;
        const char* report;
        const char* backup; // of an old version that is converted
    } cases[] = {
        {"/maps/short/ab", "/maps/short/abPaletteRpt.txt", "/maps/short/ab.001"},
        {"/maps/a.q", "/maps/aPaletteRpt.txt", "/maps/a.001"},
        {"/maps/level.qmm", "/maps/levelPaletteRpt.txt", "/maps/level.001"},
        {"/my.maps/x", "/my.maps/xPaletteRpt.txt", "/my.maps/x.001"},
        {"/maps/.qmm", "/maps/.qmmPaletteRpt.txt", "/maps/.qmm.001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reportFilePath(c.project, "PaletteRpt.txt"), c.report);
        EXPECT_EQ(backupPathFor(c.project), c.backup);
    }

    TempDir dir;
    const InDirectory here(dir.path());
    auto ws = std::make_unique<Workspace>();
    ws->project.map.create(2, 2);
    ReportWritten written;
    CountingProgress progress;
    ASSERT_TRUE(writeReport(ReportKind::Duplicates, *ws, TILE_BG, progress, written));
    EXPECT_EQ(written.path, (std::filesystem::current_path() / "nonameRepeatBG.txt").string());
    EXPECT_TRUE(std::filesystem::exists(dir.file("nonameRepeatBG.txt")));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"analyzing tile..."});
    EXPECT_EQ(progress.open, 0);
}

TEST(ReportFile, WritesEveryReportOfTheShownSetWithCrLfAndItsMessage)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("level1.qmm");
    ws->project.map.create(3, 2);
    ws->tiles.tag.tiles[3].setComment("tag");
    ws->tiles.obj.tiles[4].setComment("obj");
    NullProgress quiet;
    const struct {
        ReportKind kind;
        const char* file;
        const char* message;
    } cases[] = {
        {ReportKind::Duplicates, "level1RepeatOBJ.txt", "'%s' report has been created."},
        {ReportKind::Comments, "level1CommentOBJ.txt", "Comment file '%s' has been created."},
        {ReportKind::Palette, "level1PaletteRpt.txt", "Palette report '%s' has been created."},
        {ReportKind::UnusedBg, "level1UnusedBG.txt", "Unused BG tile report '%s' has been created."},
        {ReportKind::UnusedObj, "level1UnusedOBJ.txt", "Unused OBJ tile report '%s' has been created."},
    };
    for (const auto& c : cases) {
        ReportWritten written;
        ASSERT_TRUE(writeReport(c.kind, *ws, TILE_TAG, quiet, written)) << c.file;
        EXPECT_EQ(written.path, dir.file(c.file));
        std::string message = c.message;
        EXPECT_EQ(written.message, message.replace(message.find("%s"), 2, written.path));
        const Bytes bytes = readBytes(written.path);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text, reportText(c.kind, *ws, TILE_TAG, quiet));
        for (size_t i = 0; i < text.size(); ++i) // every line end is CR LF
            ASSERT_TRUE(text[i] != '\n' || (i > 0 && text[i - 1] == '\r')) << c.file << " at " << i;
    }
    // The tag set shown: the comments are those of the tag tiles.
    const std::string comments = reportText(ReportKind::Comments, *ws, TILE_TAG, quiet);
    EXPECT_NE(comments.find("Tile   3: Pal: 0 Comment: tag"), std::string::npos);

    ws->project.projectPath = dir.file("missing/level1.qmm");
    ReportWritten written;
    EXPECT_EQ(writeReport(ReportKind::Palette, *ws, TILE_BG, quiet, written).text(),
              "Unable to create file " + dir.file("missing/level1PaletteRpt.txt") + ": No such file or directory");
    EXPECT_TRUE(written.path.empty());
}
