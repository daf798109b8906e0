// What a project from a stranger, odd files and odd arguments do to the
// command line: a message and a status a build can trust, never a hang, an
// abort or a write where the user did not ask for one.

#include "cli/CliRun.h"
#include "cli/TerminalText.h"
#include "core/project/ProjectFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace qm {
namespace {

using test::CliRun;
using test::runCliCommand;
using test::TempDir;
namespace fs = std::filesystem;

// Every command, run in a working directory that was deleted: a usage error
// exits 2, a file that cannot be read (or is not a regular file, or a damaged
// tile set unless allowed) 1, each with its message on the error stream and
// nothing on the output.
TEST(HostileInput, OddArgumentsAndUnreadableFilesOfEveryCommand)
{
    TempDir dir;
    const std::string project = test::copySample(dir, "v5_6"), none = dir.file("none.qmm"), bad = dir.file("bad.qmm");
    test::writeBytes(bad, {'Q', 'u', 'i'});
    const std::string unopened = "Error! Unable to open the project file";
    // A FIFO as project or tile set, with a writer at the other end: a reader that opened it would get bytes, not hang.
    TempDir other;
    const std::string fifoTiles = test::copySample(other, "v5_6"), notRegular = " is not a regular file";
    fs::remove(other.file("v5_6_bg.qmb"));
    test::FifoPeer fifoProject(dir.file("fifo.qmm"), test::FifoPeer::Role::Writer, {'Q'});
    test::FifoPeer fifoTileSet(other.file("v5_6_bg.qmb"), test::FifoPeer::Role::Writer, {1, 2});
    TempDir third;
    const std::string damaged = test::copySample(third, "v5_6");
    test::Bytes obj = test::readBytes(third.file("v5_6_obj.qmo"));
    test::writeBytes(third.file("v5_6_obj.qmo"), test::Bytes(obj.begin(), obj.begin() + long(obj.size() / 2)));
    const std::vector<std::vector<std::string>> usesTiles = {
        {"render", damaged, dir.file("x.png")}, {"report", damaged, "duplicates"}, {"report", damaged, "priority"},
        {"palette", damaged, dir.file("p.pal")}, {"tiles", damaged, dir.file("t.png")}};
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    std::vector<Case> cases = {
        // Relative names where there is no working directory.
        {{"info", "v5_6.qmm"}, 1, "No such file or directory"},
        {{"export", "v5_6.qmm"}, 1, "No such file or directory"},
        {{"report", "v5_6.qmm", "palette"}, 1, "No such file or directory"},
        {{"render", project, "x.png"}, 1, "No such file or directory"},
        {{"nonsense"}, 2, "unknown command 'nonsense'"},
        // An unset shell variable gives an empty argument: never a file name or an option.
        {{"info", ""}, 2, "an argument is empty"},
        {{"export", project, "--out", ""}, 2, "an argument is empty"},
        {{"tiles", "", "t.png"}, 2, "an argument is empty"},
        {{"info"}, 2, "usage: quiltmark-cli"},
        {{"info", none}, 1, unopened},
        {{"info", dir.file("fifo.qmm")}, 1, dir.file("fifo.qmm") + notRegular},
        {{"render", fifoTiles, dir.file("x.png")}, 1, other.file("v5_6_bg.qmb") + notRegular},
        {{"report", fifoTiles, "palette"}, 1, other.file("v5_6_bg.qmb") + notRegular},
        {{"render", project}, 2, "usage: quiltmark-cli render"},
        {{"render", project, dir.file("x.png"), "--sepia"}, 2, "unknown option '--sepia'"},
        {{"render", bad, dir.file("x.png")}, 1, "Invalid Quiltmark file."},
        {{"report"}, 2, "usage: quiltmark-cli report"},
        {{"report", project, "colours"}, 2, "unknown report 'colours'"},
        {{"report", project, "palette", "--set", "tag"}, 2, "--set takes bg or obj"},
        {{"report", none, "palette"}, 1, unopened},
        {{"export"}, 2, "usage: quiltmark-cli export"},
        {{"export", project, "--bogus"}, 2, "usage"},
        {{"export", project, "b.qmm"}, 2, "usage"},
        {{"export", project, "--format", "hex"}, 2, "--format takes bin, c or asm"},
        {{"export", none}, 1, unopened},
        {{"palette", project}, 2, "usage: quiltmark-cli palette"},
        {{"palette", project, dir.file("p.pal"), "--set", "tag"}, 2, "--set takes bg or obj"},
        {{"palette", project, dir.file("p.pal"), "--set"}, 2, "unknown option '--set'"},
        {{"palette", none, dir.file("p.pal")}, 1, unopened},
        {{"palette", project, dir.file("no/p.pal")}, 1, "Unable to write file " + dir.file("no/p.pal") + ": No such"},
        {{"tiles", project}, 2, "usage: quiltmark-cli tiles"},
        {{"tiles", project, dir.file("t.png"), "--set", "all"}, 2, "--set takes bg, obj or tag"},
        {{"tiles", project, dir.file("t.png"), "--columns", "0"}, 2, "--columns takes 1 to 512"},
        {{"tiles", project, dir.file("t.png"), "--columns", "513"}, 2, "--columns takes 1 to 512"},
        {{"tiles", project, dir.file("t.png"), "--columns", "8x"}, 2, "--columns takes 1 to 512"},
        {{"tiles", project, dir.file("t.png"), "--palette", "8"}, 2, "--palette takes 0 to 7"},
        {{"tiles", bad, dir.file("t.png")}, 1, "Invalid Quiltmark file."},
        {{"tiles", project, dir.file("no/t.png")}, 1, "Unable to write file " + dir.file("no/t.png") + ": No such"},
    };
    for (const auto& args : usesTiles)
        cases.push_back({args, 1, "File may be damaged"});
    const fs::path home = fs::current_path();
    fs::create_directory(dir.file("gone"));
    fs::current_path(dir.file("gone"));
    fs::remove(dir.file("gone"));
    for (const auto& c : cases) {
        const CliRun r = runCliCommand(c.args);
        EXPECT_EQ(r.status, c.status) << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.err;
    }
    fs::current_path(home);
    EXPECT_FALSE(fs::exists(dir.file("x.png")) || fs::exists(dir.file("p.pal")) || fs::exists(dir.file("t.png")));
    for (std::vector<std::string> args : usesTiles) {
        args.push_back("--allow-missing-tiles");
        EXPECT_EQ(runCliCommand(args).status, 0) << args[0];
    }
    EXPECT_TRUE(fs::exists(dir.file("x.png")) && fs::exists(dir.file("p.pal")) && fs::exists(dir.file("t.png")));
    const CliRun version = runCliCommand({"--version"});
    EXPECT_TRUE(version.status == 0 && version.out.starts_with("quiltmark-cli 0.")) << version.out;
}

TEST(HostileInput, RenderWritesThroughALinkAndIntoAFifoOrDeviceWithoutReplacingThem)
{
    TempDir dir;
    const std::string project = test::copySample(dir, "v5_6");
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
    EXPECT_EQ(test::entriesIn(dir.path()), null == "/dev/null" ? 7 : 8); // no temporaries left
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
    test::writeProjectFile(dir, "p.qmm", 1, 1, [&](Workspace& ws) {
        ws.project.bgTileSetPath = dir.file("\x1b]0;owned\x07.qmb");
        ws.project.exportSettings.mapPrefix = "\x1b[2J";
        ws.project.exportSettings.mapFlags = MAP_EXPORT_BG | MAP_ONE_FILE;
    });
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
