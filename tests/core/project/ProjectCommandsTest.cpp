#include "core/base/FileIO.h"
#include "core/project/ProjectCommands.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include "core/base/Format.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace qm;
using namespace qm::test;

// One "pixel" per character makes the elision easy to follow.
static int charWidth(const std::string& s) { return static_cast<int>(s.size()); }

TEST(SaveQuestion, IsChosenByTheWholeFlagValue)
{
    EXPECT_EQ(saveQuestionFor(0x04), "Map has been changed, save?");
    EXPECT_EQ(saveQuestionFor(0x10), "Palette has been changed, save?");
    EXPECT_EQ(saveQuestionFor(0x40), "BG tile set has been changed, save?");
    EXPECT_EQ(saveQuestionFor(0x44), "Map & BG tileset have been changed, save?");
    EXPECT_EQ(saveQuestionFor(0x80), "OBJ tile set has been changed, save?");
    EXPECT_EQ(saveQuestionFor(0x84), "Map & OBJ tileset have been changed, save?");
    EXPECT_EQ(saveQuestionFor(0xC0), "Tile sets have been changed, save?");
    EXPECT_EQ(saveQuestionFor(0xC4), "Map & Tag tileset have been changed, save?");
    for (ChangeFlags other : {0x08, 0x20, 0x14, 0x0C, 0x50, 0xFC})
        EXPECT_EQ(saveQuestionFor(other), "Project has been changed, save?") << int(other);
}

TEST(SaveQuestion, FollowsTheViewAndAsksNothingWithoutChanges)
{
    ProjectState st;
    ScriptedPrompter prompter({Answer::Cancel});
    EXPECT_EQ(askSaveChanges(st, false, prompter), Answer::No);
    EXPECT_TRUE(prompter.questions.empty());

    // The view's flag is copied in, set or clear.
    EXPECT_EQ(askSaveChanges(st, true, prompter), Answer::Cancel);
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0], "Map has been changed, save?");
    EXPECT_EQ(prompter.questionButtons[0], Buttons::YesNoCancel);

    st.changeFlags = CHANGED_MAP | CHANGED_BG_TILES;
    EXPECT_EQ(askSaveChanges(st, false, prompter), Answer::No); // the fallback answer
    EXPECT_EQ(prompter.questions.back(), "BG tile set has been changed, save?");
    EXPECT_EQ(st.changeFlags, CHANGED_BG_TILES);

    // Without a view the flag stays as the map edits left it.
    st.changeFlags = CHANGED_MAP;
    askSaveChanges(st, std::nullopt, prompter);
    EXPECT_EQ(prompter.questions.back(), "Map has been changed, save?");
}

TEST(FileNames, ProjectExtensionIsAppendedOrCutAfterItsFirstOccurrence)
{
    EXPECT_EQ(withExtension("level", ".qmm"), "level.qmm");
    EXPECT_EQ(withExtension("level.qmm.bak", ".qmm"), "level.qmm");
    EXPECT_EQ(withExtension("LEVEL.QMM", ".qmm"), "LEVEL.QMM.qmm");
    EXPECT_EQ(withExtension("/maps/a.qmm/b.qmm", ".qmm"), "/maps/a.qmm");
    EXPECT_EQ(withExtension("", ".qmm"), "");
    EXPECT_EQ(withExtension("bg", ".qmb"), "bg.qmb");
}

TEST(FileNames, HandedOverFileIsOpenedByTheFirstMatchingExtension)
{
    EXPECT_EQ(openFileKind("C:\\x.qmb.qmm"), OpenFileKind::BgTileSet);
    EXPECT_EQ(openFileKind("/a/x.qmm.qmo"), OpenFileKind::ObjTileSet);
    EXPECT_EQ(openFileKind("/a/x.ots"), OpenFileKind::ObjTileSet);
    EXPECT_EQ(openFileKind("/a/x.bts"), OpenFileKind::BgTileSet);
    EXPECT_EQ(openFileKind("/a/x.qmd"), OpenFileKind::Project);
    EXPECT_EQ(openFileKind("/a/x.qmm"), OpenFileKind::Project);
    EXPECT_EQ(openFileKind("/a/x.QMM"), OpenFileKind::None); // exact letter case
    EXPECT_EQ(openFileKind("/a/x.png"), OpenFileKind::None);
}

TEST(WindowTitle, ShowsUntitledChangeMarkAndZoom)
{
    EXPECT_EQ(buildWindowTitle(titleProjectPart("", charWidth, 100), "100%", false), "Quilt Mark-[Untitled-100%]");
    EXPECT_EQ(buildWindowTitle("C:\\maps\\level.qmm", "200%", true), "Quilt Mark-[C:\\maps\\level.qmm-*200%]");
}

TEST(WindowTitle, LongPathKeepsRootAndFileNameAndDropsTheMiddle)
{
    const std::string path = "C:\\games\\worlds\\forest\\level.qmm"; // 32 characters
    const int lead = 12;                                            // "Quilt Mark-["
    // Fits exactly (text + 80 == width): shown whole.
    EXPECT_EQ(titleProjectPart(path, charWidth, lead + 32 + 80), path);
    // games and worlds fit beside the file name, forest does not; the last
    // directory taken gives way to the "...".
    EXPECT_EQ(titleProjectPart(path, charWidth, lead + 31 + 80), "C:\\games\\...\\level.qmm");
    EXPECT_EQ(titleProjectPart(path, charWidth, lead + 25 + 80), "C:\\...\\level.qmm");
    EXPECT_EQ(titleProjectPart(path, charWidth, 10), "C:\\...\\level.qmm");
    // A native path keeps its root.
    EXPECT_EQ(titleProjectPart("/home/ann/maps/deep/level.qmm", charWidth, 10), "/.../level.qmm");
    EXPECT_EQ(titleProjectPart("/home/ann/maps/deep/level.qmm", charWidth, lead + 25 + 80), "/home/ann/.../level.qmm");
    // Nothing to drop between root and file name.
    EXPECT_EQ(titleProjectPart("/level.qmm", charWidth, 10), "/level.qmm");
}

TEST(NewProject, TakesPathsCreatesTheMapAndClearsFlags)
{
    TempDir dir;
    Workspace ws;
    ws.project.changeFlags = 0xFF;
    ws.project.exportSettings.mapPrefix = "old";
    ws.tiles.tag.tiles[3].pixels[0] = 2;
    ScriptedPrompter prompter;
    NullProgress progress;
    NewProjectRequest req;
    req.projectPath = dir.file("level.qmm.bak");
    req.width = 32;
    req.height = 0; // raised to 1
    TileSetsLoaded loaded;
    ASSERT_TRUE(newProject(ws, req, prompter, progress, &loaded));
    EXPECT_EQ(ws.project.projectPath, dir.file("level.qmm"));
    EXPECT_EQ(ws.project.map.width, 32);
    EXPECT_EQ(ws.project.map.height, 1);
    EXPECT_EQ(ws.project.changeFlags, 0);
    EXPECT_EQ(ws.project.exportSettings.mapPrefix, "");
    EXPECT_EQ(ws.tiles.tag.tiles[3].pixels[0], 0);
    EXPECT_FALSE(loaded.bg);
    EXPECT_TRUE(prompter.questions.empty());
}

TEST(NewProject, MissingTileSetIsLocatedAndItsPathReplaced)
{
    TempDir dir;
    Workspace source;
    source.tiles.bg.tiles[1].pixels[5] = 3;
    NullProgress progress;
    ASSERT_TRUE(saveTileSetFile(dir.file("moved.qmb"), TILE_BG, source.tiles, progress));

    Workspace ws;
    ScriptedPrompter prompter;
    prompter.locations.push_back(dir.file("moved.qmb"));
    NewProjectRequest req;
    req.bgTileSetPath = dir.file("gone.qmb");
    TileSetsLoaded loaded;
    ASSERT_TRUE(newProject(ws, req, prompter, progress, &loaded));
    EXPECT_TRUE(loaded.bg);
    EXPECT_EQ(ws.project.bgTileSetPath, dir.file("moved.qmb"));
    EXPECT_EQ(ws.tiles.bg.tiles[1].pixels[5], 3);
    EXPECT_EQ(ws.project.projectPath, "");
    EXPECT_EQ(ws.project.map.width, 20);
    EXPECT_EQ(ws.project.map.height, 18);
}

TEST(SaveProject, WritesProjectAndBothTileSetsThenClearsFlags)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(4, 3);
    ws.project.projectPath = dir.file("p.qmm");
    ws.project.bgTileSetPath = dir.file("p.qmb");
    ws.project.objTileSetPath = "";
    EXPECT_FALSE(canSaveDirectly(ws.project)); // an empty tile set path means Save As
    ws.project.objTileSetPath = dir.file("p.qmo");
    ASSERT_TRUE(canSaveDirectly(ws.project));
    ws.project.changeFlags = 0xDC;
    ws.tiles.obj.tiles[7].pixels[1] = 1;
    NullProgress progress;
    ASSERT_TRUE(saveProject(ws, progress));
    EXPECT_EQ(ws.project.changeFlags, 0);

    Workspace back;
    ScriptedPrompter prompter;
    ASSERT_TRUE(readProject(dir.file("p.qmm"), back, prompter, progress));
    EXPECT_EQ(back.project.map.width, 4);
    EXPECT_EQ(back.tiles.obj.tiles[7].pixels[1], 1);
    EXPECT_TRUE(prompter.informed.empty());
}

TEST(SaveProject, FailedProjectFileWritesNoTileSetsAndKeepsFlags)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(2, 2);
    ws.project.projectPath = dir.file("missing-dir/p.qmm");
    ws.project.bgTileSetPath = dir.file("p.qmb");
    ws.project.objTileSetPath = dir.file("p.qmo");
    ws.project.changeFlags = CHANGED_BG_TILES | CHANGED_MAP;
    NullProgress progress;
    const Result r = saveProject(ws, progress);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), "Unable to create new map file: No such file or directory");
    EXPECT_FALSE(fileExists(dir.file("p.qmb")));
    EXPECT_EQ(ws.project.changeFlags, CHANGED_BG_TILES | CHANGED_MAP);
}

namespace {

using Bytes = std::vector<std::uint8_t>;
using Files = std::map<std::string, Bytes>;

// Every file in the directory, temporary ones included.
Files filesIn(const TempDir& dir)
{
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files[entry.path().filename().string()] = readBytes(entry.path().string());
    return files;
}

void fillFirstVersion(Workspace& ws, const TempDir& dir)
{
    ws.project.projectPath = dir.file("level.qmm");
    ws.project.bgTileSetPath = dir.file("level.qmb");
    ws.project.objTileSetPath = dir.file("level.qmo");
    ws.project.map.create(30, 20);
    for (size_t i = 0; i < ws.project.map.cells.size(); ++i)
        ws.project.map.cells[i].set(TILE_BG, static_cast<std::uint16_t>(i % 512), 0, 0, static_cast<std::uint8_t>(i));
    for (int t = 0; t < 512; ++t) {
        ws.tiles.bg.tiles[static_cast<size_t>(t)].pixels.fill(static_cast<std::uint8_t>(t % 4));
        ws.tiles.obj.tiles[static_cast<size_t>(t)].setComment(std::string(static_cast<size_t>(t % 33), 'o'));
    }
}

// Everything a save writes changes: the map's size, tiles, comments, palettes.
void editEverything(Workspace& ws)
{
    ws.project.map.insertColumns(0, 3);
    ws.project.map.cellAt(0, 0)->set(TILE_OBJ, 77, 2, 0, 9);
    ws.tiles.bg.tiles[3].pixels.fill(1);
    ws.tiles.bg.tiles[4].setComment("new");
    ws.tiles.obj.tiles[500].pixels.fill(2);
    ws.tiles.palettes.objPalettes[1][2] = GbcColor{1, 2, 3};
    ws.project.changeFlags = CHANGED_MAP | CHANGED_PROJECT | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
}

// Interrupts the save at the start, inside and at the end of the bytes of
// each of its files, and at creating, flushing and renaming each file. After
// every interruption: the save reports the file it could not write, no file
// is torn (each is wholly as before or wholly as saved, the interrupted one
// and those after it as before), no temporary file is left, the project
// opens with both tile sets, and what was not saved still counts as changed.
void interruptEverywhere(const std::function<Result(Workspace&)>& save, const std::vector<std::string>& order)
{
    TempDir dir;
    auto ws = std::make_unique<Workspace>();
    fillFirstVersion(*ws, dir);
    NullProgress quiet;
    ASSERT_TRUE(saveProject(*ws, quiet));
    const Files previous = filesIn(dir);
    ASSERT_EQ(previous.size(), 3u);

    editEverything(*ws);
    const ChangeFlags edited = ws->project.changeFlags;
    Files saved = {{"level.qmm", encodeProject(*ws, quiet)},
                   {"level.qmb", encodeTileSetFile(ws->tiles, TILE_BG)},
                   {"level.qmo", encodeTileSetFile(ws->tiles, TILE_OBJ)}};
    for (const auto& [name, bytes] : saved)
        ASSERT_NE(bytes, previous.at(name)) << name;

    int interruptions = 0;
    for (size_t f = 0; f < order.size(); ++f) {
        const std::string& name = order[f];
        const std::string expected = name == "level.qmm"
                                         ? std::string("Unable to create new map file")
                                         : formatText("Unable to open file %s for writing.", dir.file(name).c_str());
        std::vector<SimulatedWriteFailure> failures;
        for (WriteStage stage : {WriteStage::Create, WriteStage::Sync, WriteStage::Rename})
            failures.push_back({static_cast<int>(f), stage, 0});
        const size_t size = saved.at(name).size();
        for (size_t at = 0; at < size; at += 4093)
            failures.push_back({static_cast<int>(f), WriteStage::Data, at});
        failures.push_back({static_cast<int>(f), WriteStage::Data, 1});
        failures.push_back({static_cast<int>(f), WriteStage::Data, size - 1});

        for (const SimulatedWriteFailure& failure : failures) {
            SCOPED_TRACE(name + " stage " + std::to_string(int(failure.stage)) + " after " +
                         std::to_string(failure.afterBytes));
            // A full disk while writing, a failing disk at the other stages.
            const bool full = failure.stage == WriteStage::Data;
            const bool sentence = expected.back() == '.';
            const std::string reason = full ? "No space left on device" : "Input/output error";
            ++interruptions;
            for (const auto& [file, bytes] : previous)
                writeBytes(dir.file(file), bytes);
            ws->project.changeFlags = edited;

            simulateWriteFailure(failure);
            const Result r = save(*ws);
            clearSimulatedWriteFailure();
            EXPECT_FALSE(r);
            EXPECT_EQ(r.text(), sentence ? expected + " " + reason + "." : expected + ": " + reason);

            const Files now = filesIn(dir);
            EXPECT_EQ(now.size(), 3u);
            for (size_t g = 0; g < order.size(); ++g) {
                const Bytes& bytes = now.count(order[g]) ? now.at(order[g]) : Bytes{};
                EXPECT_EQ(bytes, g < f ? saved.at(order[g]) : previous.at(order[g])) << order[g];
            }
            EXPECT_NE(ws->project.changeFlags, 0);

            auto back = std::make_unique<Workspace>();
            ScriptedPrompter prompter;
            const Result opened = readProject(dir.file("level.qmm"), *back, prompter, quiet);
            EXPECT_TRUE(opened) << opened.text();
            EXPECT_TRUE(prompter.informed.empty());
            EXPECT_TRUE(prompter.locateRequests.empty());
        }
    }
    EXPECT_GT(interruptions, 30);

    // Uninterrupted, and with the disk taking a few bytes at a time, the save is whole.
    for (const auto& [file, bytes] : previous)
        writeBytes(dir.file(file), bytes);
    simulateShortWrites(1000);
    const Result r = save(*ws);
    simulateShortWrites(0);
    ASSERT_TRUE(r) << r.text();
    EXPECT_EQ(filesIn(dir), saved);
    EXPECT_EQ(ws->project.changeFlags, 0);
}

} // namespace

TEST(SaveProject, AnInterruptedSaveNeverTearsAFileAndTheProjectStillOpens)
{
    NullProgress quiet;
    interruptEverywhere([&quiet](Workspace& ws) { return saveProject(ws, quiet); },
                        {"level.qmm", "level.qmb", "level.qmo"});
}

TEST(SaveProjectAs, AnInterruptedSaveAsNeverTearsAFileAndTheProjectStillOpens)
{
    NullProgress quiet;
    interruptEverywhere(
        [&quiet](Workspace& ws) {
            const SavePaths paths{ws.project.projectPath, ws.project.bgTileSetPath, ws.project.objTileSetPath};
            return saveProjectAs(ws, paths, quiet);
        },
        {"level.qmb", "level.qmo", "level.qmm"});
}

TEST(SaveProjectAs, WritesTileSetsFirstWithTheirExtensions)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(2, 2);
    ws.project.changeFlags = CHANGED_MAP | CHANGED_OBJ_TILES;
    NullProgress progress;
    SavePaths paths{dir.file("level"), dir.file("bg"), dir.file("obj.qmo.old")};
    ASSERT_TRUE(saveProjectAs(ws, paths, progress));
    EXPECT_EQ(ws.project.projectPath, dir.file("level.qmm"));
    EXPECT_EQ(ws.project.bgTileSetPath, dir.file("bg.qmb"));
    EXPECT_EQ(ws.project.objTileSetPath, dir.file("obj.qmo"));
    EXPECT_TRUE(fileExists(dir.file("level.qmm")));
    EXPECT_EQ(readBytes(dir.file("bg.qmb")).size(), TILESET_EMPTY_FILE_SIZE);
    EXPECT_TRUE(fileExists(dir.file("obj.qmo")));
    EXPECT_EQ(ws.project.changeFlags, 0);
}

TEST(SaveProjectAs, FailedProjectFileKeepsTheTileSetsWrittenAndTheOtherFlags)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(2, 2);
    ws.project.changeFlags = CHANGED_MAP | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
    NullProgress progress;
    SavePaths paths{dir.file("no/such/level.qmm"), dir.file("bg.qmb"), ""};
    const Result r = saveProjectAs(ws, paths, progress);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), "Unable to create new map file: No such file or directory");
    EXPECT_TRUE(fileExists(dir.file("bg.qmb")));
    EXPECT_EQ(ws.project.changeFlags, CHANGED_MAP | CHANGED_OBJ_TILES);
}

TEST(SaveProjectAs, WithoutProjectPathTheMapStillCountsAsUnsaved)
{
    TempDir dir;
    Workspace ws;
    ws.project.map.create(2, 2);
    ws.project.changeFlags = CHANGED_MAP | CHANGED_PALETTE | CHANGED_BG_TILES | CHANGED_OBJ_TILES;
    NullProgress progress;
    ASSERT_TRUE(saveProjectAs(ws, SavePaths{"", dir.file("b.qmb"), dir.file("o.qmo")}, progress));
    EXPECT_EQ(ws.project.changeFlags, CHANGED_MAP);
    EXPECT_EQ(ws.project.projectPath, "");
}

TEST(MapProperties, ShrinkQuestionAnsweredYesNoCancel)
{
    ProjectState st;
    st.map.create(20, 18);
    st.map.cellAt(19, 17)->bgTile = 9;
    NullProgress progress;

    {
        ScriptedPrompter prompter({Answer::Cancel});
        EXPECT_EQ(applyMapProperties(st, 20, 10, prompter), MapPropertiesOutcome::Cancelled);
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0],
                  "Changing map's height will result in losing some part of the map, continue ?");
        EXPECT_EQ(prompter.questionButtons[0], Buttons::YesNoCancel);
        EXPECT_EQ(st.map.height, 18);
        EXPECT_EQ(st.changeFlags, 0);
    }
    {
        // No keeps the shrinking dimension, grows the other, and still marks the project.
        ScriptedPrompter prompter({Answer::No});
        EXPECT_EQ(applyMapProperties(st, 25, 10, prompter), MapPropertiesOutcome::Resized);
        EXPECT_EQ(st.map.width, 25);
        EXPECT_EQ(st.map.height, 18);
        EXPECT_EQ(st.changeFlags, CHANGED_PROJECT);
    }
    {
        ScriptedPrompter prompter({Answer::Yes});
        EXPECT_EQ(applyMapProperties(st, 10, 30, prompter), MapPropertiesOutcome::Resized);
        EXPECT_EQ(prompter.questions[0], "Changing map's width will result in losing some part of the map, continue ?");
        EXPECT_EQ(st.map.width, 10);
        EXPECT_EQ(st.map.height, 30);
    }
    {
        ScriptedPrompter prompter({Answer::Cancel});
        EXPECT_EQ(applyMapProperties(st, 12, 31, prompter), MapPropertiesOutcome::Resized);
        EXPECT_TRUE(prompter.questions.empty()); // nothing shrinks: no question
        EXPECT_EQ(st.map.width, 12);
    }
    {
        ScriptedPrompter prompter;
        std::string failure;
        EXPECT_EQ(applyMapProperties(st, 100000, 100000, prompter, &failure), MapPropertiesOutcome::Failed);
        EXPECT_EQ(failure, "Not enough memory to extend the map");
        EXPECT_EQ(st.map.width * st.map.height, static_cast<int>(st.map.cells.size()));
    }
}

TEST(OpenTileSetAsProject, GivesABlankMapAndKeepsTheProjectPath)
{
    TempDir dir;
    Workspace source;
    source.tiles.obj.tiles[2].pixels[0] = 2;
    NullProgress progress;
    ASSERT_TRUE(saveTileSetFile(dir.file("s.ots"), TILE_OBJ, source.tiles, progress));

    Workspace ws;
    ws.project.projectPath = "/keep/me.qmm";
    ws.project.bgTileSetPath = "/keep/bg.qmb";
    ws.project.map.create(3, 3);
    ws.project.changeFlags = CHANGED_MAP;
    ScriptedPrompter prompter;
    bool loaded = false;
    ASSERT_TRUE(openTileSetAsProject(ws, dir.file("s.ots"), TILE_OBJ, prompter, progress, &loaded));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(ws.project.map.width, 20);
    EXPECT_EQ(ws.project.map.height, 18);
    EXPECT_EQ(ws.project.objTileSetPath, dir.file("s.qmo")); // normalised for the next save
    EXPECT_EQ(ws.project.projectPath, "/keep/me.qmm");
    EXPECT_EQ(ws.project.bgTileSetPath, "/keep/bg.qmb");
    EXPECT_EQ(ws.tiles.obj.tiles[2].pixels[0], 2);
    EXPECT_EQ(ws.project.changeFlags, 0);
    EXPECT_EQ(mapSizeText(ws.project.map), "Map size:(20,18)");
}
