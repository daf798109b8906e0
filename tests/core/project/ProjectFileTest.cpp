#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds file images field by field.
struct Builder {
    Bytes b;
    Builder& text(std::string_view s)
    {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Builder& u8(int v)
    {
        b.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Builder& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Builder& u32(std::uint32_t v) { return u16(int(v & 0xFFFF)).u16(int(v >> 16)); }
    Builder& str(std::string_view s) { return u32(static_cast<std::uint32_t>(s.size())).text(s); }
    Builder& bytes(std::initializer_list<int> list)
    {
        for (int v : list)
            u8(v);
        return *this;
    }
    // A 1.1 block with one prefix, the given locations and recognisable numbers.
    Builder& block11(std::string_view loc)
    {
        text("[Export Setting 1.1]").str("pre").str("suf").str(loc).u16(0x1234).u32(6);
        str("tp").str("ts").str(loc).u16(0x0301).bytes({1, 2, 3, 4, 5, 6, 7, 8});
        return str("pp").str("ps").str(loc).u16(0x0003);
    }
    Builder& oldBlock(std::string_view loc)
    {
        text("[Export Setting]").str("OP").str("OS").str(loc).u32(9);
        return bytes({10, 11, 12, 13, 14, 15, 16, 17}).u8(0).u16(0);
    }
};

Workspace& smallWorkspace(Workspace& ws, const std::string& dir)
{
    ws.project.projectPath = dir + "/level.qmm";
    ws.project.bgTileSetPath = dir + "/bg.qmb";
    ws.project.objTileSetPath = "";
    ws.colours = ProjectColours{0x00010203, 0x00040506, 0xFF, 0x80};
    ws.project.map.create(2, 1);
    ws.project.map.cellAt(0, 0)->set(0x44, 0x0123, 0x88, 0x0004, 7);
    ws.project.exportSettings.mapPrefix = "m";
    ws.project.exportSettings.tagCountMode = TAGS_256;
    ws.tiles.tag.reset(TILE_TAG);
    ws.tiles.tag.tiles[0].pixels[0] = 3;
    return ws;
}

Result parse(const Bytes& bytes, ProjectFileData& out)
{
    NullProgress quiet;
    return parseProjectFile(bytes, ExportSettings{}, out, quiet);
}

std::unique_ptr<ProjectFileData> parsed(const Bytes& bytes)
{
    auto data = std::make_unique<ProjectFileData>();
    const Result r = parse(bytes, *data);
    EXPECT_TRUE(r) << r.text();
    return data;
}

} // namespace

TEST(ProjectFile, WritesVersion56ByteForByte)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    ws.project.setChanged(CHANGED_MAP | CHANGED_PROJECT | CHANGED_BG_TILES);
    CountingProgress progress;
    ASSERT_TRUE(writeProject(ws, progress));

    Builder e;
    e.text("Quilt Mark Version 5.6").str("\\bg.qmb").str("");
    e.u32(0x00010203).u32(0x00040506).u32(0xFF).u32(0x80).u32(1).u32(2);
    e.bytes({0x44, 0x23, 0x01, 0x88, 0x04, 0x00, 0x07, 0, 0, 0, 0, 0, 0, 0});
    e.text("[Export Setting 1.1]").str("m").str("").str("\\").u16(0x0009).u32(0);
    e.str("").str("").str("\\").u16(0).bytes({0, 255, 0, 255, 0, 255, 0, 255});
    e.str("").str("").str("\\").u16(0);
    e.u32(1);
    for (int i = 0; i < 256; ++i) {
        e.u8(0xC0);
        for (int k = 0; k < 64; ++k)
            e.u8(i == 0 && k == 0 ? 3 : 0);
    }
    EXPECT_EQ(readBytes(ws.project.projectPath), e.b);

    // Empty locations took the project directory; map and project bits cleared, tile bits kept.
    EXPECT_EQ(ws.project.exportSettings.mapLocation, dir.path().string());
    EXPECT_EQ(ws.project.changeFlags, CHANGED_BG_TILES);
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"Saving map data"}));
    EXPECT_EQ(progress.totals, (std::vector<int>{1 + 256}));
}

TEST(ProjectFile, ZeroByZeroMapWritesNoCellsAndUntitledWritesNothing)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    ws.project.map.create(0, 0);
    NullProgress quiet;
    ASSERT_TRUE(writeProject(ws, quiet));
    const Bytes bytes = readBytes(ws.project.projectPath);
    const size_t widthEnd = 22 + 4 + 7 + 4 + 16 + 8;
    ASSERT_GT(bytes.size(), widthEnd + 20);
    EXPECT_EQ(std::string(bytes.begin() + widthEnd, bytes.begin() + widthEnd + 20), "[Export Setting 1.1]");

    Workspace untitled;
    EXPECT_TRUE(writeProject(untitled, quiet));
}

TEST(ProjectFile, RoundTripThroughReadProject)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    ws.project.exportSettings.tilesetLocation = dir.file("out");
    ws.project.exportSettings.paletteLocation = (dir.path().parent_path() / "shared").string();
    NullProgress quiet;
    ASSERT_TRUE(saveTileSetFile(ws.project.bgTileSetPath, TILE_BG, ws.tiles, quiet));
    ASSERT_TRUE(writeProject(ws, quiet));

    Workspace back;
    ScriptedPrompter prompter;
    ASSERT_TRUE(readProject(ws.project.projectPath, back, prompter, quiet));
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(back.project.projectPath, ws.project.projectPath);
    EXPECT_EQ(back.project.projectDir, dir.path().string());
    EXPECT_EQ(back.project.bgTileSetPath, ws.project.bgTileSetPath);
    EXPECT_EQ(back.project.objTileSetPath, "");
    EXPECT_EQ(back.project.map.cells, ws.project.map.cells);
    EXPECT_EQ(back.project.exportSettings, ws.project.exportSettings);
    EXPECT_EQ(back.project.exportSettings.mapLocation, dir.path().string());
    EXPECT_EQ(back.colours, ws.colours);
    EXPECT_EQ(back.tiles.tag.tiles[0].pixels, ws.tiles.tag.tiles[0].pixels);
    EXPECT_EQ(back.project.changeFlags, 0);
}

TEST(ProjectFile, ReadsEveryOlderLayout)
{
    // 1.0 with a 1.1 block (carrying the view colours) before the map; record A.
    {
        Builder f;
        f.text("Quilt Mark Version 1.0").str("\\x\\bg.qmb").str("");
        f.block11("").u32(0x111111).u32(0x222222).u32(1).u32(3);
        f.u8(0x44).u32(0xABCD0102).u8(0x88).u32(5).u8(0x00).u32(9);
        const auto d = parsed(f.b);
        EXPECT_EQ(d->version, 10);
        EXPECT_TRUE(d->hasViewColours);
        EXPECT_FALSE(d->hasPageColours);
        EXPECT_EQ(d->colours.cursor, 0x111111u);
        EXPECT_EQ(d->exportSettings.mapFlags, 0x1234);
        EXPECT_EQ(d->exportSettings.bgAltTo, 4);
        ASSERT_EQ(d->map.width, 3);
        EXPECT_EQ(d->map.cellAt(0, 0)->bgAttr, 0x44);
        EXPECT_EQ(d->map.cellAt(0, 0)->bgTile, 0x0102);
        EXPECT_EQ(d->map.cellAt(1, 0)->objAttr, 0x88);
        EXPECT_EQ(d->map.cellAt(1, 0)->objTile, 5);
        EXPECT_EQ(d->map.cellAt(2, 0)->layers(), 0);
        EXPECT_EQ(d->map.cellAt(2, 0)->bgTile, 0);
        EXPECT_EQ(d->tags.tiles[1].pixels, [] { CTile t; drawDefaultTagPicture(t, 1); return t.pixels; }());
        // Before 3.0 a tile set keeps only its file name, beside the project.
        const ResolvedPaths p = resolveProjectPaths(*d, "/maps");
        EXPECT_EQ(p.bgTileSetPath, "/maps/bg.qmb");
        EXPECT_EQ(p.mapLocation, "/maps");
    }
    // 1.0 with the old block, whose single prefix serves all pages and whose
    // flag words keep their values.
    {
        Builder f;
        f.text("Quilt Mark Version 1.0").str("").str("");
        f.oldBlock("C:\\out").u32(1).u32(1).u8(0x40).u32(2);
        ExportSettings current;
        current.tilesetFlags = 0x0201;
        auto d = std::make_unique<ProjectFileData>();
        NullProgress quiet;
        ASSERT_TRUE(parseProjectFile(f.b, current, *d, quiet));
        EXPECT_FALSE(d->hasViewColours);
        EXPECT_EQ(d->exportSettings.palettePrefix, "OP");
        EXPECT_EQ(d->exportSettings.tilesetSuffix, "OS");
        EXPECT_EQ(d->exportSettings.mapLocation, "C:\\out");
        EXPECT_EQ(d->exportSettings.mapSplitCount, 9);
        EXPECT_EQ(d->exportSettings.objAltTo, 17);
        EXPECT_EQ(d->exportSettings.tilesetFlags, 0x0201);
        EXPECT_EQ(d->map.cellAt(0, 0)->bgTile, 2);
    }
    // 1.0 without a block, and 1.5: height and width follow the paths.
    for (const char* v : {"1.0", "1.5"}) {
        Builder f;
        f.text("Quilt Mark Version ").text(v).str("").str("").u32(2).u32(1).u8(0x44).u32(1).u8(0x48).u32(2);
        const auto d = parsed(f.b);
        EXPECT_EQ(d->map.height, 2);
        EXPECT_EQ(d->map.cellAt(0, 1)->bgTile, 2);
        EXPECT_FALSE(d->hasExportBlock);
    }
    // 4.0: record B, two layers; an attribute of 0 drops its layer; block after the cells.
    {
        Builder f;
        f.text("Quilt Mark Version 4.0").str("\\bg.qmb").str("..\\shared\\obj.qmo");
        f.u32(1).u32(2).u32(3).u32(4).u32(1).u32(2);
        f.u8(0x44).u16(300).u8(0x8C).u16(7);
        f.u8(0x00).u16(99).u8(0x00).u16(98);
        f.block11("\\out\\");
        const auto d = parsed(f.b);
        EXPECT_TRUE(d->hasPageColours);
        EXPECT_EQ(d->colours.objSelection, 2u);
        EXPECT_EQ(d->map.cellAt(0, 0)->bgTile, 300);
        EXPECT_EQ(d->map.cellAt(0, 0)->objAttr, 0x8C);
        EXPECT_EQ(d->map.cellAt(0, 0)->tag, 0);
        EXPECT_EQ(*d->map.cellAt(1, 0), MapCell{});
        EXPECT_EQ(d->exportSettings.tagCountMode, TAGS_16);
        const ResolvedPaths p = resolveProjectPaths(*d, "/maps/level");
        EXPECT_EQ(p.bgTileSetPath, "/maps/level/bg.qmb");
        EXPECT_EQ(p.objTileSetPath, "/maps/shared/obj.qmo");
        EXPECT_EQ(p.mapLocation, "/maps/level/out");
    }
    // 5.2: record C with tags; 5.5: the 16 ignored records after the block.
    for (const char* v : {"5.2", "5.5"}) {
        Builder f;
        f.text("Quilt Mark Version ").text(v).str("").str("").u32(0).u32(0).u32(0).u32(0).u32(1).u32(1);
        f.bytes({0x45, 1, 0, 0x80, 2, 0, 77}).block11("\\");
        if (std::string(v) == "5.5")
            for (int i = 0; i < 16; ++i)
                f.str("ignored").bytes({1, 2, 3});
        const auto d = parsed(f.b);
        EXPECT_EQ(d->map.cellAt(0, 0)->tag, 77);
        EXPECT_EQ(d->map.cellAt(0, 0)->bgAttr, 0x45);
        EXPECT_EQ(d->exportSettings.tagCountMode, TAGS_16);
        EXPECT_EQ(d->tags.tiles[15].pixels, [] { CTile t; drawDefaultTagPicture(t, 15); return t.pixels; }());
        EXPECT_EQ(d->tags.tiles[16].pixels, CTile{}.pixels);
    }
}

TEST(ProjectFile, RefusesWrongPrefixVersionsAndImpossibleSizes)
{
    auto textOf = [](const Bytes& b) {
        ProjectFileData d;
        return parse(b, d).text();
    };
    EXPECT_EQ(textOf(Builder().text("Quilt Mark Version 5.7").b), "Invalid version of Quiltmark file.");
    EXPECT_EQ(textOf(Builder().text("Quilt Mark Version 0.9").b), "Invalid version of Quiltmark file.");
    EXPECT_EQ(textOf(Builder().text("Quilt Mark Version x.y").b), "Invalid version of Quiltmark file.");
    EXPECT_EQ(textOf(Builder().text("Quilt Mark Versio").b), "Invalid Quiltmark file.");
    EXPECT_EQ(textOf(Builder().text("Quilt Mark version 5.6").b), "Invalid Quiltmark file.");
    Builder negative;
    negative.text("Quilt Mark Version 5.2").str("").str("").u32(0).u32(0).u32(0).u32(0).u32(0xFFFFFFFF).u32(3);
    EXPECT_EQ(textOf(negative.b), "Invalid Quiltmark file.");
    Builder absurd;
    absurd.text("Quilt Mark Version 5.2").str("").str("").u32(0).u32(0).u32(0).u32(0).u32(0x7FFFFFFF).u32(0x7FFFFFFF);
    EXPECT_EQ(textOf(absurd.b), "Invalid Quiltmark file.");
    Builder longString;
    longString.text("Quilt Mark Version 5.6").u32(0xFFFFFFF0).text("abc");
    EXPECT_EQ(textOf(longString.b), "Invalid Quiltmark file.");
    // Found by fuzzing: no columns and 654311424 rows held no cell bytes and
    // walked its rows for minutes.
    Builder noColumns;
    noColumns.text("Quilt Mark Version 4.0").str("").str("").u32(0).u32(0).u32(0).u32(0).u32(654311424).u32(0);
    EXPECT_EQ(textOf(noColumns.b), "Not enought memory to create 0x654311424 map: a side of 654311424 cells is over "
                                   "the limit of 16,777,216 cells");
}

TEST(ProjectFile, EveryPrefixIsRefusedAndTheOpenProjectStaysAsItWas)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    NullProgress quiet;
    ASSERT_TRUE(writeProject(ws, quiet));
    const Bytes full = readBytes(ws.project.projectPath);
    for (size_t n = 0; n < full.size(); ++n) {
        ProjectFileData d;
        ASSERT_FALSE(parse(Bytes(full.begin(), full.begin() + static_cast<long>(n)), d)) << n;
    }
    // Older layouts too.
    // Older layouts too; a 4.0 file may end right after its cells.
    Builder old;
    old.text("Quilt Mark Version 4.0").str("\\bg.qmb").str("").u32(1).u32(2).u32(3).u32(4).u32(1).u32(1);
    old.u8(0x44).u16(3).u8(0x80).u16(4);
    const size_t cellsEnd = old.b.size();
    old.block11("\\");
    for (size_t n = 0; n < old.b.size(); ++n) {
        ProjectFileData d;
        EXPECT_EQ(parse(Bytes(old.b.begin(), old.b.begin() + static_cast<long>(n)), d).ok(), n == cellsEnd) << n;
    }

    // Through readProject: the loaded workspace does not change at all.
    Workspace open;
    smallWorkspace(open, "/somewhere");
    open.project.changeFlags = CHANGED_MAP;
    const Bytes before = encodeProject(open, quiet);
    for (size_t n : {size_t(0), size_t(10), size_t(22), size_t(60), full.size() - 1}) {
        const std::string cut = dir.file("cut.qmm");
        writeBytes(cut, Bytes(full.begin(), full.begin() + static_cast<long>(n)));
        ScriptedPrompter prompter;
        ProjectReadInfo info;
        info.takenOver = true;
        const Result r = readProject(cut, open, prompter, quiet, &info);
        EXPECT_EQ(r.text(), "Invalid Quiltmark file.") << n;
        EXPECT_FALSE(info.takenOver);
        EXPECT_EQ(encodeProject(open, quiet), before);
        EXPECT_EQ(open.project.projectPath, "/somewhere/level.qmm");
        EXPECT_EQ(open.project.changeFlags, CHANGED_MAP);
    }
    ScriptedPrompter prompter;
    EXPECT_EQ(readProject(dir.file("missing.qmm"), open, prompter, quiet).text(),
              "Error! Unable to open the project file " + dir.file("missing.qmm") + ": No such file or directory");
    EXPECT_EQ(encodeProject(open, quiet), before);
}

TEST(ProjectFile, AFileWithoutABlockOpensWithTheDefaultSettingsInItsDirectory)
{
    // Before 2.0 a file has no block; from 2.0 to 5.4 it may end after its cells.
    TempDir dir;
    NullProgress quiet;
    const std::string path = dir.file("old.qmm");
    ExportSettings expected;
    expected.mapLocation = expected.tilesetLocation = expected.paletteLocation = dir.path().string();
    for (const int v : {15, 20, 30, 40, 50, 54}) {
        Builder f;
        f.text("Quilt Mark Version ").text(std::to_string(v / 10) + "." + std::to_string(v % 10)).str("").str("");
        if (v >= 20)
            f.u32(1).u32(2).u32(3).u32(4);
        f.u32(1).u32(1).u8(0x44).u16(5);
        v < 40 ? f.u16(0) : f.u8(0).u16(0);
        if (v >= 50)
            f.u8(9);
        writeBytes(path, f.b);
        // The open project's settings are another project's: none of them stays.
        Workspace open;
        open.project.exportSettings.mapPrefix = "x";
        open.project.exportSettings.mapLocation = "/home/u/a";
        ScriptedPrompter prompter({Answer::No});
        ProjectReadInfo info;
        const Result r = readProject(path, open, prompter, quiet, &info);
        ASSERT_TRUE(r) << v << ": " << r.text();
        EXPECT_TRUE(info.takenOver);
        EXPECT_EQ(open.project.map.cellAt(0, 0)->bgTile, 5) << v;
        EXPECT_EQ(open.project.exportSettings, expected) << v;
    }
}

TEST(ProjectFile, AFailedSaveKeepsThePreviousFile)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    NullProgress quiet;
    ASSERT_TRUE(writeProject(ws, quiet));
    const Bytes before = readBytes(ws.project.projectPath);
    ws.project.map.create(50, 50);
    ws.project.setChanged(CHANGED_MAP);
    for (size_t failAt : {size_t(0), size_t(5), size_t(100), size_t(17000)}) {
        simulateWriteFailureAfter(failAt);
        const Result r = writeProject(ws, quiet);
        EXPECT_EQ(r.text(), "Unable to create new map file: No space left on device");
        EXPECT_EQ(readBytes(ws.project.projectPath), before);
        EXPECT_EQ(ws.project.changeFlags, CHANGED_MAP);
    }
}

TEST(ProjectFile, OldVersionIsConvertedWithABackupOnlyAfterYes)
{
    TempDir dir;
    NullProgress quiet;
    TileLibrary tiles;
    tiles.bg.tiles[4].setComment("bg tile");
    ASSERT_TRUE(saveTileSetFile(dir.file("bg.qmb"), TILE_BG, tiles, quiet));
    Builder f;
    f.text("Quilt Mark Version 5.2").str("\\bg.qmb").str("").u32(0).u32(0).u32(0xFF).u32(0x80).u32(1).u32(1);
    f.bytes({0x44, 4, 0, 0, 0, 0, 9}).block11("\\");
    const std::string path = dir.file("level.qmm");
    writeBytes(path, f.b);

    {
        Workspace ws;
        ScriptedPrompter prompter({Answer::No});
        ASSERT_TRUE(readProject(path, ws, prompter, quiet));
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0], "This is an old version Quiltmark file.Do you want to make a back up copy of "
                                         "this file at:\n" + dir.file("level.001"));
        EXPECT_EQ(prompter.questionButtons[0], Buttons::YesNo);
        EXPECT_EQ(ws.project.changeFlags, OLD_VERSION);
        EXPECT_EQ(readBytes(path), f.b);
        EXPECT_FALSE(fileExists(dir.file("level.001")));
        EXPECT_EQ(ws.tiles.bg.tiles[4].commentText(), "bg tile");
    }
    {
        // A backup that cannot be written: the file was taken over all the same.
        std::filesystem::create_directory(dir.file("level.001"));
        Workspace ws;
        ScriptedPrompter prompter({Answer::Yes});
        ProjectReadInfo info;
        EXPECT_FALSE(readProject(path, ws, prompter, quiet, &info));
        EXPECT_TRUE(info.takenOver && info.bgLoaded && !info.objLoaded);
        EXPECT_EQ(ws.project.projectPath, path);
        EXPECT_EQ(readBytes(path), f.b);
        std::filesystem::remove(dir.file("level.001"));
    }
    {
        Workspace ws;
        ScriptedPrompter prompter({Answer::Yes});
        ASSERT_TRUE(readProject(path, ws, prompter, quiet));
        EXPECT_EQ(ws.project.changeFlags, 0);
        EXPECT_EQ(readBytes(dir.file("level.001")), f.b);
        const Bytes now = readBytes(path);
        EXPECT_EQ(std::string(now.begin(), now.begin() + 22), "Quilt Mark Version 5.6");
        Workspace again;
        ScriptedPrompter none;
        ASSERT_TRUE(readProject(path, again, none, quiet));
        EXPECT_TRUE(none.questions.empty());
        EXPECT_EQ(again.project.map.cellAt(0, 0)->tag, 9);
        EXPECT_EQ(again.tiles.bg.tiles[4].commentText(), "bg tile");
    }
}

TEST(ProjectFile, LocatedTileSetReplacesThePathAndMarksTheProject)
{
    TempDir dir;
    NullProgress quiet;
    TileLibrary tiles;
    tiles.obj.tiles[1].setComment("moved");
    std::filesystem::create_directory(dir.path() / "elsewhere");
    ASSERT_TRUE(saveTileSetFile(dir.file("elsewhere/obj.qmo"), TILE_OBJ, tiles, quiet));
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    ws.project.bgTileSetPath = "";
    ws.project.objTileSetPath = dir.file("obj.qmo");
    ASSERT_TRUE(writeProject(ws, quiet));

    Workspace back;
    ScriptedPrompter prompter;
    prompter.locations.push_back(dir.file("elsewhere/obj.qmo"));
    ASSERT_TRUE(readProject(ws.project.projectPath, back, prompter, quiet));
    EXPECT_EQ(back.project.objTileSetPath, dir.file("elsewhere/obj.qmo"));
    EXPECT_EQ(back.project.changeFlags, CHANGED_PROJECT);
    EXPECT_EQ(back.tiles.obj.tiles[1].commentText(), "moved");
}

TEST(ProjectFile, TileSetPathsOnADriveOrWithoutALeadingSeparatorAreNotGluedToTheFolderName)
{
    TempDir dir;
    NullProgress quiet;
    TileLibrary right, wrong;
    right.bg.tiles[1].setComment("right");
    wrong.bg.tiles[1].setComment("wrong");
    wrong.obj.tiles[1].setComment("wrong");
    // Where the paths were read from before: glued onto "proj", and a drive path below the working directory.
    for (const char* sub : {"proj/sub", "projsub", "projC:/games", "C:/games"})
        std::filesystem::create_directories(dir.file(sub));
    ASSERT_TRUE(saveTileSetFile(dir.file("proj/sub/x.qmb"), TILE_BG, right, quiet));
    ASSERT_TRUE(saveTileSetFile(dir.file("projsub/x.qmb"), TILE_BG, wrong, quiet));
    for (const char* decoy : {"projC:/games/x.qmo", "C:/games/x.qmo"})
        ASSERT_TRUE(saveTileSetFile(dir.file(decoy), TILE_OBJ, wrong, quiet));
    Workspace ws;
    smallWorkspace(ws, dir.file("proj"));
    ASSERT_TRUE(writeProject(ws, quiet));
    const Bytes written = readBytes(ws.project.projectPath);
    const size_t rest = 22 + 4 + written[22] + 4; // past the magic, the BG path and an empty OBJ path
    Builder b;
    b.text("Quilt Mark Version 5.6").str("sub\\x.qmb").str("C:\\games\\x.qmo");
    b.b.insert(b.b.end(), written.begin() + static_cast<long>(rest), written.end());
    writeBytes(ws.project.projectPath, b.b);

    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Workspace back;
    ScriptedPrompter prompter;
    const Result r = readProject(ws.project.projectPath, back, prompter, quiet);
    std::filesystem::current_path(home);
    ASSERT_TRUE(r) << r.text();
    EXPECT_EQ(back.project.bgTileSetPath, dir.file("proj/sub/x.qmb"));
    EXPECT_EQ(back.tiles.bg.tiles[1].commentText(), "right");
    EXPECT_EQ(prompter.informed,
              std::vector<std::string>{"Unable to open file C:/games/x.qmo: No such file or directory"});
    EXPECT_EQ(prompter.locateRequests, std::vector<std::string>{"C:/games/x.qmo"});
    EXPECT_EQ(back.tiles.obj.tiles[1].commentText(), "");
}

TEST(ProjectFile, StoreExportSettingsRewritesTheBlockAndKeepsWhatFollows)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    NullProgress quiet;
    ASSERT_TRUE(writeProject(ws, quiet));

    ws.project.exportSettings.mapPrefix = "a much longer prefix than before";
    ws.project.exportSettings.mapFlags = 0x1FFF;
    ws.project.exportSettings.tilesetLocation = "";
    ws.project.exportSettings.tagCountMode = TAGS_16;
    ASSERT_TRUE(storeExportSettings(ws.project));

    Workspace back;
    ScriptedPrompter prompter;
    ASSERT_TRUE(readProject(ws.project.projectPath, back, prompter, quiet));
    EXPECT_EQ(back.project.exportSettings.mapPrefix, "a much longer prefix than before");
    EXPECT_EQ(back.project.exportSettings.mapFlags, 0x1FFF);
    EXPECT_EQ(back.project.exportSettings.tagCountMode, TAGS_16);
    // An empty location is stored empty and reads back as the project directory.
    EXPECT_EQ(back.project.exportSettings.tilesetLocation, dir.path().string());
    EXPECT_EQ(back.tiles.tag.tiles[0].pixels[0], 3);
    EXPECT_EQ(back.project.map.cells, ws.project.map.cells);

    // A 5.5 file keeps its 16 trailing records.
    Builder f;
    f.text("Quilt Mark Version 5.5").str("").str("").u32(0).u32(0).u32(0).u32(0).u32(1).u32(1);
    f.bytes({0x45, 1, 0, 0, 0, 0, 7}).block11("\\");
    for (int i = 0; i < 16; ++i)
        f.str("r").bytes({1, 2, 3});
    ProjectState st;
    st.projectPath = dir.file("old.qmm");
    writeBytes(st.projectPath, f.b);
    st.exportSettings.palettePrefix = "new";
    ASSERT_TRUE(storeExportSettings(st));
    const auto d = parsed(readBytes(st.projectPath));
    EXPECT_EQ(d->exportSettings.palettePrefix, "new");
    EXPECT_EQ(d->map.cellAt(0, 0)->tag, 7);

    // Before 2.0 the block sits before the map: the next save writes a new file.
    ProjectState v1;
    v1.projectPath = dir.file("v1.qmm");
    const Bytes v1Bytes = Builder().text("Quilt Mark Version 1.0").str("").str("").u32(0).u32(0).b;
    writeBytes(v1.projectPath, v1Bytes);
    ASSERT_TRUE(storeExportSettings(v1));
    EXPECT_EQ(v1.changeFlags, CHANGED_PROJECT);
    EXPECT_EQ(readBytes(v1.projectPath), v1Bytes);

    ProjectState bad;
    bad.projectPath = dir.file("bad.qmm");
    writeBytes(bad.projectPath, Builder().text("Not a project at all").b);
    EXPECT_EQ(storeExportSettings(bad).text(), "Invalid Quiltmark file.");
    bad.projectPath = dir.file("none.qmm");
    EXPECT_EQ(storeExportSettings(bad).text(),
              "Unable to open file " + dir.file("none.qmm") + ": No such file or directory");
}

TEST(ProjectFile, EverySampleOpensWithItsTileSetsAndSurvivesARewrite)
{
    struct Sample {
        const char* name;
        int version, width, height;
    };
    for (const Sample s : {Sample{"v1_0", 10, 12, 5}, Sample{"v2_0", 20, 9, 4}, Sample{"v4_0", 40, 11, 3},
                           Sample{"v5_2", 52, 6, 9}, Sample{"v5_5", 55, 15, 5}, Sample{"v5_6", 56, 24, 16}}) {
        TempDir dir;
        const std::string src = samplesDir() + "/" + s.name;
        for (const auto& entry : std::filesystem::directory_iterator(src))
            std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
        const std::string path = dir.file(std::string(s.name) + ".qmm");
        Workspace ws;
        ScriptedPrompter prompter({Answer::No});
        NullProgress quiet;
        const Result r = readProject(path, ws, prompter, quiet);
        ASSERT_TRUE(r) << s.name << ": " << r.text();
        EXPECT_TRUE(prompter.informed.empty()) << s.name;
        EXPECT_TRUE(prompter.locateRequests.empty()) << s.name;
        EXPECT_EQ(ws.project.map.width, s.width) << s.name;
        EXPECT_EQ(ws.project.map.height, s.height) << s.name;
        EXPECT_EQ(ws.project.changeFlags, s.version < 56 ? OLD_VERSION : 0) << s.name;
        EXPECT_EQ(ws.project.bgTileSetPath, dir.file(std::string(s.name) + "_bg.qmb"));

        // Written as 5.6 and read again, nothing changes.
        ws.project.projectPath = dir.file("rewritten.qmm");
        ASSERT_TRUE(writeProject(ws, quiet));
        Workspace back;
        ScriptedPrompter none;
        ASSERT_TRUE(readProject(ws.project.projectPath, back, none, quiet));
        EXPECT_EQ(back.project.map.cells, ws.project.map.cells) << s.name;
        EXPECT_EQ(back.project.exportSettings, ws.project.exportSettings) << s.name;
        EXPECT_EQ(back.colours, ws.colours) << s.name;
        EXPECT_EQ(encodeProject(back, quiet), encodeProject(ws, quiet)) << s.name;
    }
}
