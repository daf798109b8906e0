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

// The start of a file of version v: the magic and the two stored tile set paths.
ByteBuilder head(std::string_view v, std::string_view bg = "", std::string_view obj = "")
{
    ByteBuilder f;
    f.text("Quilt Mark Version ").text(v).str(bg).str(obj);
    return f;
}

// A 1.1 export block with one prefix, the given locations and recognisable numbers.
ByteBuilder& block11(ByteBuilder& f, std::string_view loc)
{
    f.text("[Export Setting 1.1]").str("pre").str("suf").str(loc).u16(0x1234).u32(6);
    f.str("tp").str("ts").str(loc).u16(0x0301).bytes({1, 2, 3, 4, 5, 6, 7, 8});
    return f.str("pp").str("ps").str(loc).u16(0x0003);
}

Workspace& smallWorkspace(Workspace& ws, const std::string& dir)
{
    ws.project.projectPath = dir + "/level.qmm";
    ws.project.bgTileSetPath = dir + "/bg.qmb";
    ws.colours = ProjectColours{0x00010203, 0x00040506, 0x00070809, 0x000A0B0C};
    ws.project.map.create(2, 1);
    ws.project.map.cellAt(0, 0)->set(0x44, 0x0123, 0x88, 0x0104, 7);
    ws.project.exportSettings.mapPrefix = "m";
    ws.project.exportSettings.tagCountMode = TAGS_256;
    ws.tiles.tag.reset(TILE_TAG);
    ws.tiles.tag.tiles[0].pixels[0] = 3;
    return ws;
}

Result parse(std::span<const std::uint8_t> bytes, ProjectFileData& out)
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

std::array<std::uint8_t, 64> defaultTag(int n)
{
    CTile t;
    drawDefaultTagPicture(t, n);
    return t.pixels;
}

} // namespace

TEST(ProjectFile, WritesVersion56ByteForByteAndRefusesEveryPrefixLeavingTheOpenProject)
{
    TempDir dir;
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    ws.project.setChanged(CHANGED_MAP | CHANGED_PROJECT | CHANGED_BG_TILES);
    CountingProgress progress;
    ASSERT_TRUE(writeProject(ws, progress));

    ByteBuilder e = head("5.6", "\\bg.qmb");
    e.u32(0x00010203).u32(0x00040506).u32(0x00070809).u32(0x000A0B0C).u32(1).u32(2);
    e.bytes({0x44, 0x23, 0x01, 0x88, 0x04, 0x01, 0x07, 0, 0, 0, 0, 0, 0, 0});
    e.text("[Export Setting 1.1]").str("m").str("").str("\\").u16(0x0009).u32(0);
    e.str("").str("").str("\\").u16(0).bytes({0, 255, 0, 255, 0, 255, 0, 255});
    e.str("").str("").str("\\").u16(0).u32(1);
    for (int i = 0; i < 256; ++i) {
        e.u8(0xC0);
        for (int k = 0; k < 64; ++k)
            e.u8(i == 0 && k == 0 ? 3 : 0);
    }
    EXPECT_EQ(readBytes(ws.project.projectPath), e.b);
    // Empty locations took the project directory; map and project bits cleared, tile bits kept.
    EXPECT_EQ(std::pair(ws.project.exportSettings.mapLocation, ws.project.changeFlags),
              std::pair(dir.path().string(), CHANGED_BG_TILES));
    EXPECT_EQ(std::pair(progress.captions, progress.totals),
              std::pair(std::vector<std::string>{"Saving map data"}, std::vector<int>{1 + 256}));

    // Every prefix is refused, and the open project stays as it was.
    EXPECT_EQ(wrongPrefix(e.b, [](auto b) { return parse(b, *std::make_unique<ProjectFileData>()); }), std::nullopt);
    Workspace open;
    smallWorkspace(open, "/somewhere");
    open.project.changeFlags = CHANGED_MAP;
    NullProgress quiet;
    const Bytes before = encodeProject(open, quiet);
    for (size_t n : {size_t(0), size_t(22), size_t(60), e.b.size() - 1}) {
        writeBytes(dir.file("cut.qmm"), Bytes(e.b.begin(), e.b.begin() + static_cast<long>(n)));
        ScriptedPrompter prompter;
        ProjectReadInfo info;
        info.takenOver = true;
        EXPECT_EQ(readProject(dir.file("cut.qmm"), open, prompter, quiet, &info).text(), "Invalid Quiltmark file.") << n;
        EXPECT_FALSE(info.takenOver);
        EXPECT_EQ(encodeProject(open, quiet), before);
        EXPECT_EQ(std::tuple(open.project.projectPath, open.project.changeFlags),
                  std::tuple("/somewhere/level.qmm", CHANGED_MAP));
    }
}

TEST(ProjectFile, ReadsTheLayoutsBefore2_0)
{
    // 1.0 with a 1.1 block (and the view colours) before the map; one layer a cell.
    ByteBuilder f = head("1.0", "\\x\\bg.qmb");
    block11(f, "").u32(0x111111).u32(0x222222).u32(1).u32(3);
    f.u8(0x44).u32(0xABCD0102).u8(0x88).u32(5).u8(0x00).u32(9);
    auto d = parsed(f.b);
    EXPECT_EQ(std::tuple(d->hasViewColours, d->hasPageColours, d->colours.cursor, d->colours.grid),
              std::tuple(true, false, 0x111111u, 0x222222u));
    EXPECT_EQ(std::tuple(d->exportSettings.mapFlags, d->exportSettings.bgAltTo), std::tuple(0x1234, 4));
    EXPECT_EQ(d->map.cells, (std::vector<MapCell>{{0x44, 0x0102, 0, 0, 0}, {0, 0, 0x88, 5, 0}, {}}));
    EXPECT_EQ(d->tags.tiles[1].pixels, defaultTag(1));
    // Before 3.0 a tile set keeps only its file name, beside the project.
    const ResolvedPaths p = resolveProjectPaths(*d, "/maps");
    EXPECT_EQ(std::tuple(p.bgTileSetPath, p.mapLocation), std::tuple("/maps/bg.qmb", "/maps"));

    // The old block: its single prefix serves all pages, the flag words keep their values.
    f = head("1.0");
    f.text("[Export Setting]").str("OP").str("OS").str("C:\\out").u32(9).bytes({10, 11, 12, 13, 14, 15, 16, 17});
    f.u8(0).u16(0).u32(1).u32(1).u8(0x40).u32(2);
    ExportSettings current;
    current.tilesetFlags = 0x0201;
    NullProgress quiet;
    ASSERT_TRUE(parseProjectFile(f.b, current, *d, quiet));
    const ExportSettings& s = d->exportSettings;
    EXPECT_EQ(std::tuple(s.palettePrefix, s.tilesetSuffix, s.paletteLocation), std::tuple("OP", "OS", "C:\\out"));
    EXPECT_EQ(std::tuple(s.mapSplitCount, s.objAltTo, s.tilesetFlags), std::tuple(9, 17, 0x0201));

}

TEST(ProjectFile, EachVersionFrom2_0ReadsTheCellRecordsAndPathsOfItsOwn)
{
    // Record A (below 4.0) holds one layer a cell, B both layers, C (5.0 on) a tag too;
    // from 3.0 on tile set paths are relative to the project.
    const std::tuple<std::string, int, const char*> versions[] = { // version, bytes a cell, the BG tile set{"2.0", 5, "/maps/level/bg.qmb"}, {"2.9", 5, "/maps/level/bg.qmb"}, {"3.0", 5, "/maps/shared/bg.qmb"},
                    {"3.9", 5, "/maps/shared/bg.qmb"}, {"4.0", 6, "/maps/shared/bg.qmb"}, {"4.9", 6, "/maps/shared/bg.qmb"},
                    {"5.0", 7, "/maps/shared/bg.qmb"}, {"5.5", 7, "/maps/shared/bg.qmb"}};
    for (const auto& [v, record, bgPath] : versions) {
        ByteBuilder f = head(v, "..\\shared\\bg.qmb");
        f.u32(1).u32(2).u32(3).u32(4).u32(1).u32(2);
        if (record == 5) {
            f.u8(0x44).u32(0xABCD012C).u8(0x88).u32(7);
        } else { // an attribute of 0 drops its layer, whatever the tile number
            f.u8(0x44).u16(300).u8(0x8C).u16(7).b.resize(f.b.size() + record - 6, 77);
            f.u8(0x00).u16(99).u8(0x00).u16(98).b.resize(f.b.size() + record - 6, 5);
        }
        block11(f, "\\out\\");
        if (v == "5.5")
            for (int i = 0; i < 16; ++i)
                f.str("ignored").bytes({1, 2, 3});
        SCOPED_TRACE(v);
        const auto d = parsed(f.b);
        const std::vector<MapCell> cells = record == 5 ? std::vector<MapCell>{{0x44, 300, 0, 0, 0}, {0, 0, 0x88, 7, 0}}
                                           : record == 6 ? std::vector<MapCell>{{0x44, 300, 0x8C, 7, 0}, {}}
                                                           : std::vector<MapCell>{{0x44, 300, 0x8C, 7, 77}, {0, 0, 0, 0, 5}};
        EXPECT_EQ(d->map.cells, cells);
        EXPECT_EQ(std::tuple(d->colours, d->exportSettings.tilesetFlags, d->exportSettings.tagCountMode),
                  std::tuple(ProjectColours{1, 2, 3, 4}, 0x0301, TAGS_16));
        EXPECT_EQ(std::pair(d->tags.tiles[15].pixels, d->tags.tiles[16].pixels), std::pair(defaultTag(15), CTile{}.pixels));
        const ResolvedPaths p = resolveProjectPaths(*d, "/maps/level");
        EXPECT_EQ(std::pair(p.bgTileSetPath, p.mapLocation), std::pair(std::string(bgPath), std::string("/maps/level/out")));
        if (v == "5.5") { // its trailing records are part of the file
            EXPECT_EQ(wrongPrefix(f.b, [](auto b) { return parse(b, *std::make_unique<ProjectFileData>()); }),
                      std::nullopt);
        }
    }
}

TEST(ProjectFile, RefusesWrongPrefixVersionsAndImpossibleSizes)
{
    const auto sized = [](std::uint32_t h, std::uint32_t w) {
        return head("4.0").u32(0).u32(0).u32(0).u32(0).u32(h).u32(w).b;
    };
    const std::pair<Bytes, std::string> cases[] = {
        {head("5.7").b, "Invalid version of Quiltmark file."},
        {head("0.9").b, "Invalid version of Quiltmark file."},
        {head("x.y").b, "Invalid version of Quiltmark file."},
        {ByteBuilder().text("Quilt Mark Versio").b, "Invalid Quiltmark file."},
        {ByteBuilder().text("Quilt Mark version 5.6").b, "Invalid Quiltmark file."},
        {sized(0xFFFFFFFF, 3), "Invalid Quiltmark file."},
        {sized(0x7FFFFFFF, 0x7FFFFFFF), "Invalid Quiltmark file."},
        {ByteBuilder().text("Quilt Mark Version 5.6").u32(0xFFFFFFF0).text("abc").b, "Invalid Quiltmark file."},
        // Found by fuzzing: no columns and 654311424 rows held no cell bytes and walked its rows for minutes.
        {sized(654311424, 0), "Not enought memory to create 0x654311424 map: a side of 654311424 cells is over the "
                              "limit of 16,777,216 cells"},
    };
    for (const auto& [file, text] : cases)
        EXPECT_EQ(parse(file, *std::make_unique<ProjectFileData>()).text(), text) << file.size();
}

TEST(ProjectFile, AFileWithoutABlockOpensWithTheDefaultSettingsInItsDirectory)
{
    // Before 2.0 a file has no block; from 2.0 to 5.4 it may end after its cells.
    TempDir dir;
    NullProgress quiet;
    const std::string path = dir.file("old.qmm");
    ExportSettings expected;
    expected.mapLocation = expected.tilesetLocation = expected.paletteLocation = dir.path().string();
    for (const int v : {10, 15, 20, 30, 40, 50, 54}) {
        ByteBuilder f = head(std::to_string(v / 10) + "." + std::to_string(v % 10));
        if (v >= 20)
            f.u32(1).u32(2).u32(3).u32(4);
        f.u32(2).u32(1); // height, then width
        for (const int tile : {5, 6}) {
            f.u8(0x44).u16(tile);
            v < 40 ? f.u16(0) : f.u8(0).u16(0);
            if (v >= 50)
                f.u8(9);
        }
        writeBytes(path, f.b);
        // The open project's settings are another project's: none of them stays.
        auto open = std::make_unique<Workspace>();
        open->project.exportSettings.mapPrefix = "x";
        open->project.exportSettings.mapLocation = "/home/u/a";
        ScriptedPrompter prompter({Answer::No});
        ProjectReadInfo info;
        const Result r = readProject(path, *open, prompter, quiet, &info);
        ASSERT_TRUE(r) << v << ": " << r.text();
        EXPECT_TRUE(info.takenOver);
        EXPECT_EQ(std::tuple(open->project.map.height, open->project.map.cellAt(0, 1)->bgTile), std::tuple(2, 6)) << v;
        EXPECT_EQ(open->project.exportSettings, expected) << v;
    }
    // A 4.0 file may end right after its cells, and nowhere else before its end.
    ByteBuilder v4 = head("4.0", "\\bg.qmb");
    v4.u32(1).u32(2).u32(3).u32(4).u32(1).u32(1).u8(0x44).u16(3).u8(0x80).u16(4);
    const size_t cellsEnd = v4.b.size();
    block11(v4, "\\");
    for (size_t n = 0; n < v4.b.size(); ++n)
        EXPECT_EQ(parse(std::span(v4.b).first(n), *std::make_unique<ProjectFileData>()).ok(), n == cellsEnd) << n;
}

TEST(ProjectFile, AnOldQmdProjectIsConvertedOnlyAfterYesAndAFailedConversionChangesNoFile)
{
    TempDir dir;
    NullProgress quiet;
    auto tiles = std::make_unique<TileLibrary>();
    tiles->bg.tiles[4].setComment("bg tile");
    tiles->obj.tiles[5].setComment("obj tile");
    ASSERT_TRUE(saveTileSetFile(dir.file("bg.bts"), TILE_BG, *tiles, quiet));
    ASSERT_TRUE(saveTileSetFile(dir.file("obj.ots"), TILE_OBJ, *tiles, quiet));
    ByteBuilder f = head("5.2", "\\bg.bts", "\\obj.ots");
    f.u32(0).u32(0).u32(0xFF).u32(0x80).u32(1).u32(1).bytes({0x44, 4, 0, 0, 0, 0, 9});
    const Bytes old = block11(f, "\\").b;
    const std::string path = dir.file("level.qmd");
    writeBytes(path, old);
    auto ws = std::make_unique<Workspace>();
    ScriptedPrompter no({Answer::No});
    ASSERT_TRUE(readProject(path, *ws, no, quiet));
    EXPECT_EQ(no.questions, std::vector<std::string>{"This is an old version Quiltmark file.Do you want to make a back up "
                                                     "copy of this file at:\n" + dir.file("level.001")});
    EXPECT_EQ(std::pair(no.questionButtons[0], ws->project.changeFlags), std::pair(Buttons::YesNo, OLD_VERSION));
    // Read from the old names, saved under the new ones.
    EXPECT_EQ(ws->tiles.bg.tiles[4].commentText(), "bg tile");
    EXPECT_EQ(std::tuple(ws->project.projectPath, ws->project.bgTileSetPath),
              std::tuple(dir.file("level.qmm"), dir.file("bg.qmb")));
    EXPECT_EQ(entriesIn(dir.path()), 3); // bg.bts, obj.ots and level.qmd alone
    const std::pair<const char*, std::string> failures[] = { // what is in the way, the message
        {"level.001", "Unable to open file " + dir.file("level.001") + " for writing. Is a directory."},
        {"level.qmm", "Unable to create new map file: Is a directory"}};
    for (const auto& [blocked, text] : failures) {
        std::filesystem::create_directory(dir.file(blocked));
        ScriptedPrompter yes({Answer::Yes});
        ProjectReadInfo info;
        EXPECT_EQ(readProject(path, *ws, yes, quiet, &info).text(), text);
        EXPECT_TRUE(info.takenOver && info.bgLoaded && info.objLoaded); // the editor shows it all the same
        // Nothing but the backup (made before the project file failed) is new.
        EXPECT_EQ(entriesIn(dir.path()), blocked == std::string("level.001") ? 4 : 5);
        EXPECT_EQ(readBytes(path), old);
        std::filesystem::remove_all(dir.file("level.001"));
        std::filesystem::remove_all(dir.file(blocked));
    }
    ScriptedPrompter yes({Answer::Yes});
    ASSERT_TRUE(readProject(path, *ws, yes, quiet));
    EXPECT_EQ(ws->project.changeFlags, 0);
    EXPECT_EQ(std::tuple(readBytes(dir.file("level.001")), readBytes(path)), std::tuple(old, old));
    EXPECT_EQ(std::pair(readBytes(dir.file("bg.qmb")), readBytes(dir.file("obj.qmo"))),
              std::pair(readBytes(dir.file("bg.bts")), readBytes(dir.file("obj.ots"))));
    EXPECT_EQ(readBytes(dir.file("level.qmm")), encodeProject(*ws, quiet));
    EXPECT_EQ(ws->project.map.cellAt(0, 0)->tag, 9);
}

TEST(ProjectFile, ATileSetOnADriveIsNotLookedForBelowTheWorkingDirectoryAndCanBeLocated)
{
    TempDir dir;
    NullProgress quiet;
    auto moved = std::make_unique<TileLibrary>(), decoy = std::make_unique<TileLibrary>();
    moved->obj.tiles[1].setComment("moved");
    decoy->obj.tiles[1].setComment("decoy");
    std::filesystem::create_directories(dir.file("C:/games"));
    ASSERT_TRUE(saveTileSetFile(dir.file("C:/games/x.qmo"), TILE_OBJ, *decoy, quiet));
    ASSERT_TRUE(saveTileSetFile(dir.file("obj.qmo"), TILE_OBJ, *moved, quiet));
    Workspace ws;
    smallWorkspace(ws, dir.path().string());
    const Bytes written = encodeProject(ws, quiet);
    ByteBuilder f = head("5.6", "", "C:\\games\\x.qmo");
    f.b.insert(f.b.end(), written.begin() + 22 + 4 + written[22] + 4, written.end()); // past the magic and both paths
    writeBytes(ws.project.projectPath, f.b);

    const InDirectory here(dir.path());
    Workspace back;
    ScriptedPrompter prompter;
    prompter.locations.push_back(dir.file("obj.qmo"));
    ASSERT_TRUE(readProject(ws.project.projectPath, back, prompter, quiet));
    EXPECT_EQ(prompter.informed, std::vector<std::string>{"Unable to open file C:/games/x.qmo: No such file or directory"});
    EXPECT_EQ(prompter.locateRequests, std::vector<std::string>{"C:/games/x.qmo"});
    // The located file replaces the path and marks the project.
    EXPECT_EQ(std::tuple(back.project.objTileSetPath, back.tiles.obj.tiles[1].commentText(), back.project.changeFlags),
              std::tuple(dir.file("obj.qmo"), "moved", CHANGED_PROJECT));
}

// A 5.6 file's block through the export sheet is pinned by the ui's CExpPropertySheetTest.
TEST(ProjectFile, StoreExportSettingsRewritesTheBlockAndKeepsWhatFollows)
{
    TempDir dir;
    ByteBuilder f = head("5.5"); // a 5.5 file keeps its 16 trailing records
    f.u32(0).u32(0).u32(0).u32(0).u32(1).u32(1).bytes({0x45, 1, 0, 0, 0, 0, 7});
    block11(f, "\\");
    for (int i = 0; i < 16; ++i)
        f.str("r").bytes({1, 2, 3});
    ProjectState st;
    st.projectPath = dir.file("old.qmm");
    writeBytes(st.projectPath, f.b);
    st.exportSettings.palettePrefix = "new";
    ASSERT_TRUE(storeExportSettings(st));
    const auto d = parsed(readBytes(st.projectPath));
    EXPECT_EQ(std::tuple(d->exportSettings.palettePrefix, d->map.cellAt(0, 0)->tag), std::tuple("new", 7));
    // Before 2.0 the block sits before the map: the next save writes a new file.
    const Bytes v1 = head("1.0").u32(0).u32(0).b;
    writeBytes(st.projectPath, v1);
    ASSERT_TRUE(storeExportSettings(st));
    EXPECT_EQ(std::tuple(st.changeFlags, readBytes(st.projectPath)), std::tuple(CHANGED_PROJECT, v1));
    writeBytes(st.projectPath, ByteBuilder().text("Not a project at all").b);
    EXPECT_EQ(storeExportSettings(st).text(), "Invalid Quiltmark file.");
    st.projectPath = dir.file("none.qmm");
    EXPECT_EQ(storeExportSettings(st).text(), "Unable to open file " + dir.file("none.qmm") + ": No such file or directory");
}

// Each sample opens over the one before it, and nothing of that one stays.
TEST(ProjectFile, EverySampleOpensAsItIsEvenOverAnotherProjectAndSurvivesARewrite)
{
    NullProgress quiet;
    auto open = std::make_unique<Workspace>();
    struct Sample {
        const char* name;
        int version, width, height;
    };
    for (const Sample& s : {Sample{"v1_0", 10, 12, 5}, {"v2_0", 20, 9, 4}, {"v4_0", 40, 11, 3}, {"v5_2", 52, 6, 9},
                            {"v5_5", 55, 15, 5}, {"v5_6", 56, 24, 16}}) {
        SCOPED_TRACE(s.name);
        TempDir dir;
        const std::string path = copySample(dir, s.name);
        auto fresh = std::make_unique<Workspace>();
        ScriptedPrompter no({Answer::No}), again({Answer::No}), none;
        ASSERT_TRUE(readProject(path, *fresh, no, quiet));
        EXPECT_TRUE(no.informed.empty() && no.locateRequests.empty());
        EXPECT_EQ(std::tuple(fresh->project.map.width, fresh->project.map.height, fresh->project.changeFlags,
                             fresh->project.bgTileSetPath),
                  std::tuple(s.width, s.height, s.version < 56 ? OLD_VERSION : 0, dir.file(std::string(s.name) + "_bg.qmb")));
        for (const TileKind kind : {TILE_BG, TILE_OBJ}) // the tile sets save back byte for byte
            EXPECT_EQ(encodeTileSetFile(fresh->tiles, kind),
                      readBytes(kind == TILE_BG ? fresh->project.bgTileSetPath : fresh->project.objTileSetPath));
        // Opened over another project; a 1.0 file has no page colours of its own.
        ASSERT_TRUE(readProject(path, *open, again, quiet));
        if (s.version >= 20) {
            EXPECT_EQ(encodeProject(*open, quiet), encodeProject(*fresh, quiet)); // map, paths, colours, settings, tags
        }
        EXPECT_EQ(std::tuple(open->project.exportSettings, open->project.projectDir, open->project.changeFlags),
                  std::tuple(fresh->project.exportSettings, dir.path().string(), fresh->project.changeFlags));
        for (const TileKind kind : {TILE_BG, TILE_OBJ})
            EXPECT_EQ(encodeTileSetFile(open->tiles, kind), encodeTileSetFile(fresh->tiles, kind));

        fresh->project.projectPath = dir.file("rewritten.qmm"); // written as 5.6 and read again, nothing changes
        ASSERT_TRUE(writeProject(*fresh, quiet));
        auto back = std::make_unique<Workspace>();
        ASSERT_TRUE(readProject(fresh->project.projectPath, *back, none, quiet));
        EXPECT_TRUE(none.questions.empty() && back->project.changeFlags == 0);
        EXPECT_EQ(back->project.exportSettings, fresh->project.exportSettings);
        EXPECT_EQ(encodeProject(*back, quiet), encodeProject(*fresh, quiet));
        EXPECT_EQ(encodeProject(*back, quiet), readBytes(back->project.projectPath));
    }
}
