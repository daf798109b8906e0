// What a project from a stranger, odd files and odd arguments do to the
// command line: a message and a status a build can trust, never a hang, an
// abort or a write where the user did not ask for one.

#include "cli/CliRun.h"
#include "cli/TerminalText.h"
#include "core/project/ProjectFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace qm {
namespace {

using test::CliRun;
using test::runCliCommand;
using test::TempDir;
namespace fs = std::filesystem;

std::string copySample(const TempDir& dir)
{
    for (const auto& entry : fs::directory_iterator(test::samplesDir() + "/v5_6"))
        fs::copy_file(entry.path(), dir.path() / entry.path().filename());
    return dir.file("v5_6.qmm");
}

TEST(HostileInput, EmptyArgumentsAndADeletedWorkingDirectoryGiveAMessageAndAStatus)
{
    TempDir dir;
    const std::string project = copySample(dir);
    const std::vector<std::vector<std::string>> empty = {
        {"info", ""}, {"render", "", "x.png"}, {"render", project, ""}, {"export", ""}, {"report", "", "palette"},
        {"export", project, "--out", ""},
    };
    for (const auto& args : empty) {
        const CliRun r = runCliCommand(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find("an argument is empty"), std::string::npos) << r.err;
    }

    const fs::path home = fs::current_path();
    fs::create_directory(dir.file("gone"));
    fs::current_path(dir.file("gone"));
    fs::remove(dir.file("gone"));
    const std::vector<std::vector<std::string>> relative = {
        {"info", "v5_6.qmm"},    {"render", "v5_6.qmm", "x.png"}, {"export", "v5_6.qmm"},
        {"report", "v5_6.qmm", "palette"}, {"render", project, "x.png"},
    };
    std::vector<CliRun> runs;
    for (const auto& args : relative)
        runs.push_back(runCliCommand(args));
    fs::current_path(home);
    for (const CliRun& r : runs) {
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    }
}

TEST(HostileInput, AFifoAsProjectOrTileSetIsRefusedWithoutWaiting)
{
    TempDir dir;
    const std::string project = copySample(dir);
    // Writers at the other end: a reader that opened them would get bytes, not hang.
    test::FifoPeer fifoProject(dir.file("fifo.qmm"), test::FifoPeer::Role::Writer, {'Q'});
    fs::rename(dir.file("v5_6_bg.qmb"), dir.file("saved.qmb"));
    test::FifoPeer fifoTiles(dir.file("v5_6_bg.qmb"), test::FifoPeer::Role::Writer, {1, 2});
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"info", dir.file("fifo.qmm")}, dir.file("fifo.qmm")},
        {{"render", dir.file("fifo.qmm"), dir.file("x.png")}, dir.file("fifo.qmm")},
        {{"render", project, dir.file("x.png")}, dir.file("v5_6_bg.qmb")},
        {{"report", project, "palette"}, dir.file("v5_6_bg.qmb")},
    };
    for (const auto& c : cases) {
        const CliRun r = runCliCommand(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0];
        EXPECT_NE(r.err.find(c.named + " is not a regular file"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.file("x.png")));
}

TEST(HostileInput, ADamagedTileSetFailsRenderAndEveryReportUnlessAllowed)
{
    TempDir dir;
    const std::string project = copySample(dir);
    std::vector<std::uint8_t> bytes = test::readBytes(dir.file("v5_6_obj.qmo"));
    bytes.resize(bytes.size() / 2);
    test::writeBytes(dir.file("v5_6_obj.qmo"), bytes);
    const std::vector<std::vector<std::string>> commands = {
        {"render", project, dir.file("x.png")},  {"report", project, "duplicates"}, {"report", project, "comments"},
        {"report", project, "palette"},          {"report", project, "unused-bg"},  {"report", project, "unused-obj"},
        {"report", project, "priority"},
    };
    for (std::vector<std::string> args : commands) {
        const CliRun refused = runCliCommand(args);
        EXPECT_EQ(refused.status, 1) << args[2];
        EXPECT_NE(refused.err.find("File may be damaged"), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty());
        args.push_back("--allow-missing-tiles");
        EXPECT_EQ(runCliCommand(args).status, 0) << args[2];
    }
    EXPECT_TRUE(fs::exists(dir.file("x.png")));
}

TEST(HostileInput, RenderWritesThroughALinkAndIntoAFifoOrDeviceWithoutReplacingThem)
{
    TempDir dir;
    const std::string project = copySample(dir);
    ASSERT_EQ(runCliCommand({"render", project, dir.file("plain.png")}).status, 0);
    const std::vector<std::uint8_t> png = test::readBytes(dir.file("plain.png"));

    fs::create_directory(dir.file("real"));
    test::writeBytes(dir.file("real/map.png"), {1});
    fs::create_symlink("real/map.png", dir.file("link.png"));
    ASSERT_EQ(runCliCommand({"render", project, dir.file("link.png")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.png")));
    EXPECT_EQ(test::readBytes(dir.file("real/map.png")), png);

    test::FifoPeer fifo(dir.file("pipe.png"), test::FifoPeer::Role::Reader);
    ASSERT_EQ(runCliCommand({"render", project, dir.file("pipe.png")}).status, 0);
    EXPECT_EQ(fifo.finish(), png);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe.png")));

    // The super-user gets a /dev/null of the test's own, which a fault could replace harmlessly.
    const std::string null = ::mknod(dir.file("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0
                                 ? dir.file("null")
                                 : std::string("/dev/null");
    ASSERT_EQ(runCliCommand({"render", project, null}).status, 0);
    EXPECT_TRUE(fs::is_character_file(null));
    const long files = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    EXPECT_EQ(files, null == "/dev/null" ? 7 : 8); // no temporaries left
}

TEST(HostileInput, TextFromTheFileCannotSteerTheTerminal)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain ~text", "plain ~text"},
        {"\x1b[2J\x07", "\\x1b[2J\\x07"},
        {"line\nbreak\ttab\x7f", "line\\x0abreak\\x09tab\\x7f"},
        {"caf\xc3\xa9 \xe2\x9c\x93", "caf\xc3\xa9 \xe2\x9c\x93"},       // UTF-8 stays
        {"\xc2\x9b" "31m \x9b \xff \xc3", "\\xc2\\x9b31m \\x9b \\xff \\xc3"}, // C1 controls and stray bytes
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(cli::terminalText(text), shown);
    EXPECT_EQ(cli::terminalText("a\nb", true), "a\nb");

    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file("p.qmm");
    ws->project.bgTileSetPath = dir.file("\x1b]0;owned\x07.qmb");
    ws->project.map.create(1, 1);
    ws->project.exportSettings.mapPrefix = "\x1b[2J";
    ws->project.exportSettings.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE;
    NullProgress quiet;
    ASSERT_TRUE(writeProject(*ws, quiet));
    const CliRun info = runCliCommand({"info", dir.file("p.qmm")});
    const CliRun render = runCliCommand({"render", dir.file("p.qmm"), dir.file("x.png")});
    const CliRun exported = runCliCommand({"export", dir.file("p.qmm")});
    EXPECT_NE(info.out.find("mapPrefix: \\x1b[2J\n"), std::string::npos) << info.out;
    for (const std::string& printed : {info.out, info.err, render.err, exported.out, exported.err})
        EXPECT_EQ(printed.find('\x1b'), std::string::npos) << printed;
    EXPECT_NE(render.err.find("\\x1b]0;owned\\x07.qmb"), std::string::npos) << render.err;
}

} // namespace
} // namespace qm
