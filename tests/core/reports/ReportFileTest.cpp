#include "core/project/ProjectFile.h"
#include "core/reports/ReportFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// Changes the current directory for the life of the object.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

} // namespace

TEST(ReportFile, NamesBesideTheProjectOrNonameInTheCurrentDirectory)
{
    EXPECT_EQ(reportName(ReportKind::Duplicates, TILE_BG), "RepeatBG.txt");
    EXPECT_EQ(reportName(ReportKind::Duplicates, TILE_OBJ), "RepeatOBJ.txt");
    EXPECT_EQ(reportName(ReportKind::Comments, TILE_TAG), "CommentOBJ.txt");
    EXPECT_EQ(reportName(ReportKind::Comments, TILE_BG), "CommentBG.txt");
    EXPECT_EQ(reportName(ReportKind::Palette, TILE_OBJ), "PaletteRpt.txt");
    EXPECT_EQ(reportName(ReportKind::UnusedBg, TILE_OBJ), "UnusedBG.txt");
    EXPECT_EQ(reportName(ReportKind::UnusedObj, TILE_BG), "UnusedOBJ.txt");
    EXPECT_EQ(reportFilePath("/maps/level1.qmm", "RepeatBG.txt"), "/maps/level1RepeatBG.txt");

    TempDir dir;
    InDirectory here(dir.path());
    const std::string expected = (std::filesystem::current_path() / "nonameRepeatBG.txt").string();
    EXPECT_EQ(reportFilePath("", "RepeatBG.txt"), expected);

    auto ws = std::make_unique<Workspace>();
    ws->project.map.create(2, 2);
    ReportWritten written;
    CountingProgress progress;
    ASSERT_TRUE(writeReport(ReportKind::Duplicates, *ws, TILE_BG, progress, written));
    EXPECT_EQ(written.path, expected);
    EXPECT_EQ(written.message, "'" + expected + "' report has been created.");
    EXPECT_TRUE(std::filesystem::exists(dir.file("nonameRepeatBG.txt")));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"analyzing tile..."});
    EXPECT_EQ(progress.open, 0);
}

TEST(ReportFile, OnlyARealExtensionIsCutAndNeverPastTheFolder)
{
    const struct {
        const char* project;
        const char* report;
        const char* backup; // of an old version that is converted
    } cases[] = {
        {"/maps/short/ab", "/maps/short/abPaletteRpt.txt", "/maps/short/ab.001"},
        {"/maps/a.q", "/maps/aPaletteRpt.txt", "/maps/a.001"},
        {"/maps/noext_project", "/maps/noext_projectPaletteRpt.txt", "/maps/noext_project.001"},
        {"/maps/level.qm", "/maps/levelPaletteRpt.txt", "/maps/level.001"},
        {"/maps/level.qmm", "/maps/levelPaletteRpt.txt", "/maps/level.001"},
        {"/my.maps/x", "/my.maps/xPaletteRpt.txt", "/my.maps/x.001"},
        {"/maps/.qmm", "/maps/.qmmPaletteRpt.txt", "/maps/.qmm.001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reportFilePath(c.project, "PaletteRpt.txt"), c.report);
        EXPECT_EQ(backupPathFor(c.project), c.backup);
    }
}

TEST(ReportFile, WritesEveryReportWithCrLfAndItsMessage)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("level1.qmm");
    ws->project.bgTileSetPath = dir.file("level1.qmb");
    ws->project.map.create(3, 2);
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
        ASSERT_TRUE(writeReport(c.kind, *ws, TILE_OBJ, quiet, written)) << c.file;
        EXPECT_EQ(written.path, dir.file(c.file));
        std::string message = c.message;
        message.replace(message.find("%s"), 2, written.path);
        EXPECT_EQ(written.message, message);
        const std::string text = readText(written.path);
        EXPECT_EQ(text, reportText(c.kind, *ws, TILE_OBJ, quiet));
        // Every line end is CR LF.
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << c.file << " at " << i;
            }
    }
}

TEST(ReportFile, UnwritableFileIsReportedAndNothingIsWritten)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("missing/level1.qmm");
    ReportWritten written;
    NullProgress quiet;
    const Result r = writeReport(ReportKind::Palette, *ws, TILE_BG, quiet, written);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(),
              "Unable to create file " + dir.file("missing/level1PaletteRpt.txt") + ": No such file or directory");
    EXPECT_TRUE(written.path.empty());
}
