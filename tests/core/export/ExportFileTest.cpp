#include "core/export/ExportFile.h"
#include "core/export/ExportFileName.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <unistd.h>
#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The name of every file is pinned where its page writes it; these are the
// previews of the export sheet.
TEST(ExportFileName, SplitMapDataShowsItsFirstTwoNames)
{
    EXPECT_EQ(exportFileName(1, "lv", "_a", true), "lvMAPBG_a.bin");
    EXPECT_EQ(exportFileName(1, "lv", "_a", false), "lvMAPBG_a01.bin,lvMAP_a02.bin,");
    EXPECT_EQ(exportFileName(4096, "", "", false), "MAPOBJ01.bin,MAP02.bin,");
    EXPECT_EQ(exportFileName(2, "", "", false), "MAPABG.bin"); // only the map data codes have a preview
    EXPECT_EQ(exportFileName(3, "p", "s"), "");
}

// What each kind of missing or wrong place does: the question, the message,
// and whether a file can then be written.
TEST(CreateExportFile, MissingDirectoriesAndWrongPlaces)
{
    const bool root = ::geteuid() == 0;
    const struct {
        const char* path;
        Answer answer;
        bool asked;
        std::string message; // after the path, or the whole message when it starts with "D"
        bool created;
    } cases[] = {
        {"MAPBG.bin", Answer::Yes, false, "", true}, // an existing directory asks nothing
        {"out/MAPBG.bin", Answer::Yes, true, "", true},
        {"out/MAPBG.bin", Answer::No, true, "", false},
        // Only one level is made.
        {"a/b/MAPBG.bin", Answer::Yes, true,
         "Directory can not be created. Make sure the directory is in correct format. No such file or directory.",
         false},
        {"dir.bin", Answer::Yes, false, ": Is a directory", false},
        // Not a missing directory: no question, the general message.
        {"plain/MAPBG.bin", Answer::Yes, false, ": Not a directory", false},
        // Access denied gives no message.
        {"locked/x.bin", Answer::Yes, false, "", root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TempDir dir;
        fs::create_directory(dir.file("dir.bin"));
        writeBytes(dir.file("plain"), {1});
        fs::create_directory(dir.file("locked"));
        fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        const std::string path = dir.file(c.path);
        ScriptedPrompter prompter({c.answer});
        const CreatedExportFile created = createExportFile(path, prompter);
        EXPECT_EQ(created.file.has_value(), c.created);
        EXPECT_EQ(created.reason.empty(), c.created);
        const std::vector<std::string> none, question = {path + ".\nThis directory does not exist, create it?"};
        EXPECT_EQ(prompter.questions, c.asked ? question : none);
        EXPECT_EQ(prompter.questionButtons, std::vector<Buttons>(c.asked ? 1 : 0, Buttons::YesNoCancel));
        const bool whole = c.message.empty() || c.message[0] == 'D';
        const std::string message = whole ? c.message : "Unable to open file " + path + c.message;
        EXPECT_EQ(prompter.informed, message.empty() ? none : std::vector<std::string>{message});
        const bool made = c.created && c.asked;
        EXPECT_EQ(fs::exists(dir.file("out")), made);
        EXPECT_EQ(test::entriesIn(dir.path()), 3 + made); // and no probe file
    }
}

} // namespace
} // namespace qm
