#include "cli/CliRun.h"
#include "core/base/FileIO.h"
#include "core/base/PngWriter.h"
#include "core/project/ProjectFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::readBytes;
using test::runCliCommand;
using test::TempDir;

// A picture of blocks across, block b in colours 4b+1 .. 4b+4 of its own
// table entries (more than 8 blocks need more than 8 palettes).
std::string writePicture(const TempDir& dir, const std::string& name, int blocks)
{
    std::vector<PngColour> table;
    for (int c = 0; c < 4 * blocks; ++c)
        table.push_back(PngColour{static_cast<std::uint8_t>(c % 32 * 8), 0, static_cast<std::uint8_t>(c / 32 * 8)});
    std::vector<std::uint8_t> pixels(static_cast<size_t>(blocks) * 64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < blocks * 8; ++x)
            pixels[static_cast<size_t>(y * blocks * 8 + x)] = static_cast<std::uint8_t>(x / 8 * 4 + (x + y) % 4);
    test::writeBytes(dir.file(name), encodeIndexedPng(blocks * 8, 8, pixels.data(), size_t(blocks) * 8, table));
    return dir.file(name);
}

TEST(ImportCommand, CreatesAProjectAndRefusesWhatDoesNotFitLeavingEveryFile)
{
    TempDir dir;
    const std::string project = dir.file("level.qmm");
    const std::string good = writePicture(dir, "good.png", 3);
    EXPECT_EQ(runCliCommand({"import", project, good}).status, 1); // no --create
    EXPECT_FALSE(fileExists(project));
    EXPECT_EQ(runCliCommand({"import", project, good, "--dedup", "sideways"}).status, 2);

    const test::CliRun made = runCliCommand({"import", project, good, "--create", "--dedup", "flips"});
    ASSERT_EQ(made.status, 0) << made.err;
    // One tile: the blocks differ only in their colours.
    EXPECT_EQ(made.out, "imported 3 x 1 blocks: 1 tile (bank 1: 0), 3 palettes\n");
    Workspace ws;
    test::ScriptedPrompter prompter;
    NullProgress quiet;
    ASSERT_TRUE(readProject(project, ws, prompter, quiet));
    const MapCell& last = *ws.project.map.cellAt(2, 0);
    EXPECT_EQ(std::tuple(ws.project.map.width, last.palette(TILE_BG), last.bgTile, ws.project.bgTileSetPath),
              std::tuple(3, 2, 0, dir.file("level.qmb")));

    // Four colours keyed by the first four pixels go DMG by default; more need --mode gbc.
    EXPECT_EQ(runCliCommand({"import", project, writePicture(dir, "four.png", 1)}).out,
              "imported 1 x 1 blocks: 1 tile (bank 1: 0), 1 palette\n");
    EXPECT_EQ(runCliCommand({"import", project, good, "--mode", "dmg"}).err,
              "quiltmark-cli: import: the picture has 12 colours; DMG mode takes 4 (--mode gbc takes more)\n");

    const auto snapshot = [&] { return std::vector{readBytes(project), readBytes(dir.file("level.qmb")), readBytes(dir.file("level.qmo"))}; };
    const auto before = snapshot();
    const test::CliRun refused = runCliCommand({"import", project, writePicture(dir, "nine.png", 9)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("quiltmark-cli: import: the picture needs 9 palettes; 8 are available\n", 0), 0u);
    // A save that fails half-way puts back what it had written.
    simulateWriteFailure({1, WriteStage::Rename, 0});
    EXPECT_EQ(runCliCommand({"import", project, writePicture(dir, "two.png", 2)}).status, 1);
    clearSimulatedWriteFailure();
    EXPECT_EQ(snapshot(), before);
}

} // namespace
} // namespace qm
