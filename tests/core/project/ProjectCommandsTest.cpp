#include "core/base/FileIO.h"
#include "core/project/ProjectCommands.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace qm;
using namespace qm::test;

TEST(SaveQuestion, IsChosenByTheWholeFlagValueAndFollowsTheView)
{
    const std::map<ChangeFlags, std::string> questions = {
        {0x04, "Map has been changed, save?"},         {0x10, "Palette has been changed, save?"},
        {0x40, "BG tile set has been changed, save?"}, {0x44, "Map & BG tileset have been changed, save?"},
        {0x80, "OBJ tile set has been changed, save?"}, {0x84, "Map & OBJ tileset have been changed, save?"},
        {0xC0, "Tile sets have been changed, save?"},  {0xC4, "Map & Tag tileset have been changed, save?"},
        {0x08, "Project has been changed, save?"},     {0x14, "Project has been changed, save?"},
        {0xFC, "Project has been changed, save?"}};
    for (const auto& [flags, question] : questions)
        EXPECT_EQ(saveQuestionFor(flags), question) << int(flags);
    // Asking through the main frame is pinned by the ui's CMainFrameTest; the view's own flag replaces the map's.
    ProjectState st;
    st.changeFlags = CHANGED_MAP | CHANGED_BG_TILES;
    ScriptedPrompter prompter({Answer::Cancel});
    EXPECT_EQ(askSaveChanges(st, false, prompter), Answer::Cancel);
    EXPECT_EQ(prompter.questions, std::vector<std::string>{"BG tile set has been changed, save?"});
}

// Opening a handed-over file by its first extension and New's ".qmm" go through the ui's
// CMainFrameTest; these are the cases it does not reach.
TEST(FileNames, ExtensionsAreAppendedOrCutAndAHandedOverFileOpensByTheFirstItNames)
{
    EXPECT_EQ(withExtension("LEVEL.QMM", ".qmm"), "LEVEL.QMM.qmm");
    EXPECT_EQ(withExtension("/maps/a.qmm/b.qmm", ".qmm"), "/maps/a.qmm");
    EXPECT_EQ(withExtension("", ".qmm"), "");
    EXPECT_EQ(std::vector({openFileKind("/a/x.bts"), openFileKind("/a/x.qmd"), openFileKind("/a/x.QMM")}),
              std::vector({OpenFileKind::BgTileSet, OpenFileKind::Project, OpenFileKind::None}));
}

// The title's marks and its elision through the main frame are pinned by the ui's CMainFrameTest;
// these are the exact cuts it does not reach.
TEST(WindowTitle, ALongPathKeepsItsRootTheDirectoriesThatFitAndTheFileName)
{
    const TextMeasure chars = [](const std::string& s) { return static_cast<int>(s.size()); };
    const std::string path = "C:\\games\\worlds\\forest\\level.qmm"; // 32 characters
    const int lead = 12;                                            // "Quilt Mark-["
    EXPECT_EQ(titleProjectPart(path, chars, lead + 32 + 80), path); // fits exactly
    // games and worlds fit beside the file name, forest does not: the last taken gives way to "...".
    EXPECT_EQ(titleProjectPart(path, chars, lead + 31 + 80), "C:\\games\\...\\level.qmm");
    EXPECT_EQ(titleProjectPart(path, chars, 10), "C:\\...\\level.qmm");
    EXPECT_EQ(titleProjectPart("/home/ann/maps/deep/level.qmm", chars, lead + 25 + 80), "/home/ann/.../level.qmm");
    EXPECT_EQ(titleProjectPart("/level.qmm", chars, 10), "/level.qmm");
}

// The path and the width through New are pinned by the ui's CMainFrameTest.
TEST(NewProject, TakesThePathsCreatesTheMapLocatesAMissingTileSetAndClearsTheRest)
{
    TempDir dir;
    NullProgress progress;
    auto source = std::make_unique<Workspace>();
    source->tiles.bg.tiles[1].pixels[5] = 3;
    ASSERT_TRUE(saveTileSetFile(dir.file("moved.qmb"), TILE_BG, source->tiles, progress));
    ASSERT_TRUE(saveTileSetFile(dir.file("s.ots"), TILE_OBJ, source->tiles, progress));
    Workspace ws;
    ws.project.changeFlags = 0xFF;
    ws.project.exportSettings.mapPrefix = "old";
    ws.tiles.tag.tiles[3].pixels[0] = ws.tiles.obj.tiles[3].pixels[0] = 2;
    ScriptedPrompter prompter;
    prompter.locations.push_back(dir.file("moved.qmb"));
    TileSetsLoaded loaded;
    ASSERT_TRUE(newProject(ws, {dir.file("level.qmm"), dir.file("gone.qmb"), "", 32, 0}, prompter, progress, &loaded));
    // A height of 0 is raised to 1; the located tile set is loaded, the others are cleared.
    EXPECT_EQ(std::tuple(ws.project.map.height, ws.project.changeFlags, ws.project.bgTileSetPath, loaded.bg, loaded.obj,
                         prompter.questions.size()),
              std::tuple(1, 0, dir.file("moved.qmb"), true, false, 0u));
    EXPECT_EQ(ws.project.exportSettings, ExportSettings{});
    EXPECT_EQ(std::tuple(ws.tiles.bg.tiles[1].pixels[5], ws.tiles.obj.tiles[3].pixels[0], ws.tiles.tag.tiles[3].pixels[0]),
              std::tuple(3, 0, 0));
    // A tile set file opened as a project starts unchanged; the rest goes through the ui's CMainFrameTest.
    ws.project.changeFlags = CHANGED_MAP;
    ASSERT_TRUE(openTileSetAsProject(ws, dir.file("s.ots"), TILE_OBJ, prompter, progress));
    EXPECT_EQ(std::tuple(ws.project.changeFlags, ws.project.objTileSetPath), std::tuple(0, dir.file("s.qmo")));
}

namespace {

using Files = std::map<std::string, Bytes>;

// Every file in the directory, temporary ones included.
Files filesIn(const TempDir& dir)
{
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files[entry.path().filename().string()] = readBytes(entry.path().string());
    return files;
}

} // namespace

// Interrupts Save at the start, inside and at the end of the bytes of
// each of its files, and at creating, flushing and renaming each file. After
// every interruption: the save reports the file it could not write, no file
// is torn (each is wholly as before or wholly as saved, the interrupted one
// and those after it as before), no temporary file is left, the project
// opens with both tile sets, and what was not saved still counts as changed.
// (Save without all three paths is Save As: the ui's CMainFrameTest.)
TEST(SaveProject, AnInterruptedSaveNeverTearsAFileAndTheProjectStillOpens)
{
    const std::vector<std::string> order = {"level.qmm", "level.qmb", "level.qmo"}; // as Save writes them
    const ChangeFlags ALL = CHANGED_MAP | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = dir.file(order[0]);
    ws->project.bgTileSetPath = dir.file(order[1]);
    ws->project.objTileSetPath = dir.file(order[2]);
    ws->project.map.create(30, 20);
    for (size_t t = 0; t < 512; ++t) {
        ws->tiles.bg.tiles[t].pixels.fill(static_cast<std::uint8_t>(t % 4));
        ws->tiles.obj.tiles[t].setComment(std::string(t % 33, 'o'));
    }
    NullProgress quiet;
    ASSERT_TRUE(saveProject(*ws, quiet));
    const Files previous = filesIn(dir);
    // Everything a save writes changes: the map's size, tiles, comments, palettes.
    ws->project.map.insertColumns(0, 3);
    ws->project.map.cellAt(0, 0)->set(TILE_OBJ, 77, 2, 0, 9);
    ws->tiles.bg.tiles[4].setComment("new");
    ws->tiles.obj.tiles[500].pixels.fill(2);
    ws->tiles.palettes.objPalettes[1][2] = GbcColor{1, 2, 3};
    const Files saved = {{"level.qmm", encodeProject(*ws, quiet)},
                         {"level.qmb", encodeTileSetFile(ws->tiles, TILE_BG)},
                         {"level.qmo", encodeTileSetFile(ws->tiles, TILE_OBJ)}};
    for (const auto& [name, bytes] : saved)
        ASSERT_NE(bytes, previous.at(name)) << name;

    for (size_t f = 0; f < order.size(); ++f) {
        const std::string& name = order[f];
        std::vector<SimulatedWriteFailure> failures;
        for (WriteStage stage : {WriteStage::Create, WriteStage::Sync, WriteStage::Rename})
            failures.push_back({static_cast<int>(f), stage, 0});
        const size_t size = saved.at(name).size();
        for (size_t at = 0; at < size; at += at < 2 ? 1 : 4093)
            failures.push_back({static_cast<int>(f), WriteStage::Data, at});
        failures.push_back({static_cast<int>(f), WriteStage::Data, size - 1});
        for (const SimulatedWriteFailure& failure : failures) {
            SCOPED_TRACE(name + " stage " + std::to_string(int(failure.stage)) + " at " + std::to_string(failure.afterBytes));
            for (const auto& [file, bytes] : previous)
                writeBytes(dir.file(file), bytes);
            ws->project.changeFlags = ALL;
            simulateWriteFailure(failure);
            const Result r = saveProject(*ws, quiet);
            clearSimulatedWriteFailure();
            // A full disk while writing, a failing disk at the other stages.
            const std::string reason =
                failure.stage == WriteStage::Data ? "No space left on device" : "Input/output error";
            EXPECT_EQ(r.text(), name == "level.qmm"
                                    ? "Unable to create new map file: " + reason
                                    : "Unable to open file " + dir.file(name) + " for writing. " + reason + ".");
            Files expected = previous;
            for (size_t g = 0; g < f; ++g)
                expected[order[g]] = saved.at(order[g]);
            EXPECT_EQ(filesIn(dir), expected);
            // Each file written clears its own flags: the project file the map's, the BG set its own.
            EXPECT_EQ(ws->project.changeFlags, ALL & ~(f > 0 ? CHANGED_MAP : 0) & ~(f > 1 ? CHANGED_BG_TILES : 0));
            auto back = std::make_unique<Workspace>();
            ScriptedPrompter prompter;
            EXPECT_TRUE(readProject(dir.file("level.qmm"), *back, prompter, quiet));
            EXPECT_TRUE(prompter.informed.empty() && prompter.locateRequests.empty());
        }
    }
    // Uninterrupted, and with the disk taking a few bytes at a time, the save is whole.
    for (const auto& [file, bytes] : previous)
        writeBytes(dir.file(file), bytes);
    simulateShortWrites(1000);
    const Result r = saveProject(*ws, quiet);
    simulateShortWrites(0);
    ASSERT_TRUE(r) << r.text();
    EXPECT_EQ(filesIn(dir), saved);
    EXPECT_EQ(ws->project.changeFlags, 0);
}

// Extensions and a whole Save As go through the ui's CMainFrameTest; these are the flags it does not reach.
TEST(SaveProjectAs, ClearsOnlyTheFlagsOfWhatWasWritten)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(2, 2);
    NullProgress progress;
    // Without a project path the map still counts as unsaved.
    ws.project.changeFlags = CHANGED_MAP | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
    ASSERT_TRUE(saveProjectAs(ws, SavePaths{"", dir.file("b"), dir.file("o.qmo.old")}, progress));
    EXPECT_EQ(std::tuple(ws.project.changeFlags, ws.project.bgTileSetPath, ws.project.objTileSetPath),
              std::tuple(CHANGED_MAP, dir.file("b.qmb"), dir.file("o.qmo")));
    EXPECT_EQ(readBytes(dir.file("b.qmb")).size(), TILESET_EMPTY_FILE_SIZE);
    // A project file that cannot be written keeps the tile set written and the other flags.
    ws.project.changeFlags = CHANGED_MAP | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
    EXPECT_EQ(saveProjectAs(ws, SavePaths{dir.file("no/such/level.qmm"), dir.file("c.qmb"), ""}, progress).text(),
              "Unable to create new map file: No such file or directory");
    EXPECT_TRUE(fileExists(dir.file("c.qmb")));
    EXPECT_EQ(ws.project.changeFlags, CHANGED_MAP | CHANGED_OBJ_TILES);
}

// Cancel, No and Yes for a lower map through the main frame are pinned by the ui's CMainFrameTest.
TEST(MapProperties, AskedOnlyWhenASideShrinksAndNoStillGrowsTheOtherSide)
{
    ProjectState st;
    st.map.create(20, 18);
    ScriptedPrompter no({Answer::No});
    EXPECT_EQ(applyMapProperties(st, 10, 30, no), MapPropertiesOutcome::Resized);
    EXPECT_EQ(std::pair(no.questions, no.questionButtons),
              std::pair(std::vector<std::string>{"Changing map's width will result in losing some part of the map, continue ?"},
                        std::vector<Buttons>{Buttons::YesNoCancel}));
    EXPECT_EQ(std::tuple(st.map.width, st.map.height, st.changeFlags), std::tuple(20, 30, CHANGED_PROJECT));
    ScriptedPrompter none({Answer::Cancel});
    EXPECT_EQ(applyMapProperties(st, 22, 31, none), MapPropertiesOutcome::Resized);
    EXPECT_TRUE(none.questions.empty());
    std::string failure;
    EXPECT_EQ(applyMapProperties(st, 100000, 100000, none, &failure), MapPropertiesOutcome::Failed);
    EXPECT_EQ(failure, "Not enough memory to extend the map");
    EXPECT_EQ(st.map.width * st.map.height, static_cast<int>(st.map.cells.size()));
}
