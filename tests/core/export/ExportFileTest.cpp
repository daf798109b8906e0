#include "core/export/ExportFile.h"
#include "core/export/ExportFileName.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <unistd.h>
#include <gtest/gtest.h>

namespace qm {
namespace {

using test::readBytes;
using test::ScriptedPrompter;
using test::TempDir;
using test::writeBytes;
namespace fs = std::filesystem;

TEST(ExportFileName, EveryCodeGivesItsStem)
{
    const std::pair<int, const char*> table[] = {
        {0, "pTagRLEs.hdr"},   {1, "pMAPBGs.bin"},    {2, "pMAPABGs.bin"},  {4, "pBCPDs.bin"},
        {8, "pOCPDs.bin"},     {16, "pBG0s.bin"},     {32, "pBG1s.bin"},    {64, "pBG0As.bin"},
        {128, "pBG1As.bin"},   {256, "pOBJ0s.bin"},   {512, "pOBJ1s.bin"},  {1024, "pOBJ0As.bin"},
        {2048, "pOBJ1As.bin"}, {4096, "pMAPOBJs.bin"}, {8192, "pMAPAOBJs.bin"}, {16384, "pTags.bin"},
        {32768, "pTagRLEs.bin"},
    };
    for (const auto& [code, name] : table)
        EXPECT_EQ(exportFileName(code, "p", "s"), name) << code;
    EXPECT_EQ(exportFileName(1, "lv", "_a", true), "lvMAPBG_a.bin");
    EXPECT_EQ(exportFileName(0, "", ""), "TagRLE.hdr");
    EXPECT_EQ(exportFileName(3, "p", "s"), "");
}

TEST(ExportFileName, SplitPreviewShowsTheFirstTwoNames)
{
    EXPECT_EQ(exportFileName(1, "lv", "_a", false), "lvMAPBG_a01.bin,lvMAP_a02.bin,");
    EXPECT_EQ(exportFileName(4096, "", "", false), "MAPOBJ01.bin,MAP02.bin,");
    // Only the map data codes have a preview.
    EXPECT_EQ(exportFileName(2, "", "", false), "MAPABG.bin");
}

TEST(ExportFileName, PathJoinsWithTheNativeSeparatorAsTyped)
{
    EXPECT_EQ(exportPath("/games/out", "MAPBG.bin"), "/games/out/MAPBG.bin");
    EXPECT_EQ(exportPath("out/", "x.bin"), "out//x.bin");
    EXPECT_EQ(exportDirectoryOf("/games/out/MAPBG.bin"), "/games/out");
    EXPECT_EQ(exportDirectoryOf("MAPBG.bin"), "");
}

TEST(CreateExportFile, ExistingDirectoryAsksNothingAndWritesOnlyOnCommit)
{
    TempDir dir;
    const std::string path = dir.file("MAPBG.bin");
    writeBytes(path, {9, 9, 9});
    ScriptedPrompter prompter;
    CreatedExportFile created = createExportFile(path, prompter);
    ASSERT_TRUE(created.file);
    EXPECT_TRUE(prompter.questions.empty());
    created.file->put(1);
    created.file->putU16(0x0302);
    // Until the file is complete the old one stays as it was.
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{9, 9, 9}));
    ASSERT_TRUE(created.file->commit());
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    // No probe files are left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(CreateExportFile, ReadOnlyFileIsReplaced)
{
    TempDir dir;
    const std::string path = dir.file("BCPD.bin");
    writeBytes(path, {1});
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    ScriptedPrompter prompter;
    CreatedExportFile created = createExportFile(path, prompter);
    ASSERT_TRUE(created.file);
    created.file->put(7);
    ASSERT_TRUE(created.file->commit());
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{7}));
}

TEST(CreateExportFile, MissingDirectoryAnsweredYesIsCreated)
{
    TempDir dir;
    const std::string path = dir.file("out") + "/MAPBG.bin";
    ScriptedPrompter prompter({Answer::Yes});
    CreatedExportFile created = createExportFile(path, prompter);
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0], path + ".\nThis directory does not exist, create it?");
    EXPECT_EQ(prompter.questionButtons[0], Buttons::YesNoCancel);
    ASSERT_TRUE(created.file);
    EXPECT_TRUE(fs::is_directory(dir.file("out")));
    EXPECT_TRUE(prompter.informed.empty());
}

TEST(CreateExportFile, MissingDirectoryAnsweredNoOrCancelGivesNothingSilently)
{
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        TempDir dir;
        const std::string path = dir.file("out") + "/MAPBG.bin";
        ScriptedPrompter prompter({answer});
        CreatedExportFile created = createExportFile(path, prompter);
        EXPECT_FALSE(created.file);
        EXPECT_EQ(prompter.questions.size(), 1u);
        EXPECT_TRUE(prompter.informed.empty());
        EXPECT_FALSE(created.reason.empty());
        EXPECT_FALSE(fs::exists(dir.file("out")));
    }
}

TEST(CreateExportFile, OnlyOneLevelOfDirectoryIsCreated)
{
    TempDir dir;
    const std::string path = dir.file("a") + "/b/MAPBG.bin";
    ScriptedPrompter prompter({Answer::Yes});
    CreatedExportFile created = createExportFile(path, prompter);
    EXPECT_FALSE(created.file);
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0],
              "Directory can not be created. Make sure the directory is in correct format. No such file or directory.");
    EXPECT_FALSE(fs::exists(dir.file("a")));
}

TEST(CreateExportFile, PathThatIsADirectoryCannotBeOpened)
{
    TempDir dir;
    fs::create_directory(dir.file("MAPBG.bin"));
    ScriptedPrompter prompter;
    CreatedExportFile created = createExportFile(dir.file("MAPBG.bin"), prompter);
    EXPECT_FALSE(created.file);
    EXPECT_TRUE(prompter.questions.empty());
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "Unable to open file " + dir.file("MAPBG.bin") + ": Is a directory");
}

TEST(CreateExportFile, DirectoryPartThatIsAFileCannotBeOpened)
{
    TempDir dir;
    writeBytes(dir.file("plain"), {1});
    ScriptedPrompter prompter({Answer::Yes});
    const std::string path = dir.file("plain") + "/MAPBG.bin";
    CreatedExportFile created = createExportFile(path, prompter);
    EXPECT_FALSE(created.file);
    // Not a missing directory: no question, the general message.
    EXPECT_TRUE(prompter.questions.empty());
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0], "Unable to open file " + path + ": Not a directory");
}

TEST(CreateExportFile, AccessDeniedGivesNoMessage)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    TempDir dir;
    fs::create_directory(dir.file("locked"));
    fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    ScriptedPrompter prompter;
    CreatedExportFile created = createExportFile(dir.file("locked") + "/x.bin", prompter);
    EXPECT_FALSE(created.file);
    EXPECT_TRUE(prompter.informed.empty());
    EXPECT_TRUE(prompter.questions.empty());
}

TEST(CommitExportFile, OutcomeGoesIntoTheReport)
{
    TempDir dir;
    ScriptedPrompter prompter;
    ExportReport report;
    ExportFile good(dir.file("a.bin"));
    EXPECT_TRUE(commitExportFile(good, prompter, report));
    ExportFile bad(dir.file("missing") + "/b.bin");
    EXPECT_FALSE(commitExportFile(bad, prompter, report));
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_TRUE(report.files[0].written);
    EXPECT_FALSE(report.files[1].written);
    EXPECT_EQ(report.files[1].reason, "Unable to write file " + bad.path() + ": No such file or directory");
    EXPECT_EQ(prompter.informed, std::vector<std::string>{report.files[1].reason});
    EXPECT_FALSE(report.allWritten());
}

} // namespace
} // namespace qm
