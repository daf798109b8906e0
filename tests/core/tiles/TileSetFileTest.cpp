#include "core/base/FileIO.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// A BG set with distinct colours, comments and pixels everywhere.
std::unique_ptr<TileLibrary> filledLibrary()
{
    auto lib = std::make_unique<TileLibrary>();
    lib->bg.attr = 0x40 | 0x28 | 3;
    for (int p = 0; p < 8; ++p)
        for (int c = 0; c < 4; ++c)
            lib->palettes.bgPalettes[p][c] = GbcColor{std::uint8_t(p * 4 + c), std::uint8_t(31 - p), std::uint8_t(c * 10)};
    lib->palettes.bgMonoPalettes[0] = {GbcColor{0, 0, 0}, GbcColor{6, 6, 6}, GbcColor{31, 31, 31}, GbcColor{12, 12, 12}};
    for (int i = 0; i < 512; ++i) {
        CTile& t = lib->bg.tiles[static_cast<size_t>(i)];
        t.setPalette(i % 8);
        for (int k = 0; k < 64; ++k)
            t.pixels[static_cast<size_t>(k)] = static_cast<std::uint8_t>((i + k) % 4);
    }
    lib->bg.tiles[0].setComment("hi");
    lib->bg.tiles[511].setComment(std::string(32, 'c'));
    return lib;
}

std::string damaged(const std::string& path)
{
    return "Unable to open file " + path + ".\nFile may be damaged, operation abort.";
}

} // namespace

TEST(TileSetFile, GoldenLayoutOfAttrColoursMonochromeAndTileRecords)
{
    const Bytes bytes = encodeTileSetFile(*filledLibrary(), TILE_BG);
    ASSERT_EQ(bytes.size(), 33901u + 2 + 32); // 512 tiles of 66 bytes and their comments
    EXPECT_EQ(bytes[0], 0x6B);
    EXPECT_EQ(Bytes(bytes.begin() + 28, bytes.begin() + 31), (Bytes{9, 29, 10})); // palette 2 colour 1
    EXPECT_EQ(Bytes(bytes.begin() + 97, bytes.begin() + 109), (Bytes{0, 0, 0, 6, 6, 6, 31, 31, 31, 12, 12, 12}));
    // Each tile: attr, comment length, comment, then its pixels.
    EXPECT_EQ(Bytes(bytes.begin() + 109, bytes.begin() + 115), (Bytes{TILE_BG, 2, 'h', 'i', 0, 1}));
    EXPECT_EQ(Bytes(bytes.begin() + 109 + 68, bytes.begin() + 109 + 72), (Bytes{TILE_BG | 1, 0, 1, 2}));
}

TEST(TileSetFile, SavedFileLoadsBackEverythingOfTheKindAndNothingElse)
{
    TempDir dir;
    auto lib = filledLibrary();
    CountingProgress progress;
    ASSERT_TRUE(saveTileSetFile(dir.file("set.qmb"), TILE_BG, *lib, progress));
    EXPECT_EQ(progress.captions.back(), "Saving BG tile set");
    EXPECT_EQ(readBytes(dir.file("set.qmb")), encodeTileSetFile(*lib, TILE_BG));

    auto loaded = std::make_unique<TileLibrary>();
    EXPECT_EQ(loadTileSetFile(dir.file("set.qmb"), TILE_BG, *loaded, progress), TileSetLoadStatus::Loaded);
    EXPECT_EQ(std::pair(progress.captions.back(), progress.open), std::pair(std::string("Loading BG tileset"), 0));
    EXPECT_EQ(encodeTileSetFile(*loaded, TILE_BG), encodeTileSetFile(*lib, TILE_BG));
    for (int i = 0; i < 512; ++i)
        EXPECT_EQ(loaded->bg.tiles[static_cast<size_t>(i)].index, i);
    for (int p = 0; p < 8; ++p) // the one stored monochrome palette goes to all eight
        EXPECT_EQ(loaded->palettes.bgMonoPalettes[p], lib->palettes.bgMonoPalettes[0]);
    EXPECT_EQ(std::pair(loaded->palettes.bgDisplay[2][1], loaded->palettes.bgMonoDisplay[5][3]),
              std::pair(gbcColourOf(lib->palettes.bgPalettes[2][1]), gbcColourOf(GbcColor{12, 12, 12})));
    EXPECT_EQ(loaded->palettes.objPalettes, TileLibrary().palettes.objPalettes);

    // Into the other kind: the kind bits are forced, palettes and carried bits come along.
    ASSERT_EQ(loadTileSetFile(dir.file("set.qmb"), TILE_OBJ, *loaded, progress), TileSetLoadStatus::Loaded);
    EXPECT_EQ(loaded->obj.attr, 0x80 | 0x28 | 3);
    for (const CTile& t : loaded->obj.tiles)
        EXPECT_EQ(t.attr, TILE_OBJ | (t.index % 8));
    EXPECT_EQ(loaded->palettes.objPalettes, lib->palettes.bgPalettes);
    // An empty path resets the set of the kind and its palettes.
    EXPECT_EQ(loadTileSetFile("", TILE_BG, *loaded, progress), TileSetLoadStatus::Reset);
    EXPECT_EQ(encodeTileSetFile(*loaded, TILE_BG), encodeTileSetFile(TileLibrary(), TILE_BG));
}

TEST(TileSetFile, EveryPrefixIsRefusedAndLeavesTheLoadedSetAlone)
{
    const Bytes bytes = encodeTileSetFile(*filledLibrary(), TILE_BG);
    auto data = std::make_unique<TileSetFileData>();
    EXPECT_EQ(wrongPrefix(bytes, [&](auto p) { return decodeTileSetFile(p, TILE_BG, *data); }), std::nullopt);

    TempDir dir;
    auto current = filledLibrary();
    current->bg.tiles[9].setComment("keep me");
    const Bytes before = encodeTileSetFile(*current, TILE_BG);
    for (size_t n : {size_t(0), size_t(108), size_t(109), size_t(5000), bytes.size() - 1}) {
        writeBytes(dir.file("cut.qmb"), Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        ScriptedPrompter prompter;
        NullProgress quiet;
        EXPECT_FALSE(loadTileSet(dir.file("cut.qmb"), TILE_BG, *current, prompter, quiet).loaded);
        EXPECT_EQ(prompter.informed, std::vector<std::string>{damaged(dir.file("cut.qmb"))});
        EXPECT_EQ(encodeTileSetFile(*current, TILE_BG), before) << n;
    }
}

TEST(TileSetFile, DamagedValuesAreCutToWhatATileHolds)
{
    Bytes bytes = encodeTileSetFile(TileLibrary(), TILE_OBJ);
    bytes[1] = 200;      // palette 0 colour 0 red
    bytes[0] = 0x45;     // BG kind bits in an OBJ file
    bytes[109] = 0x07;   // tile 0: attr without kind bits
    bytes[110] = 40;     // tile 0: a comment of 40, then its pixels
    bytes.insert(bytes.begin() + 111, 40, 'q');
    bytes[111 + 40] = 0xFF;
    bytes[111 + 45] = 6;
    auto data = std::make_unique<TileSetFileData>();
    ASSERT_TRUE(decodeTileSetFile(bytes, TILE_OBJ, *data));
    const CTile& t = data->set.tiles[0];
    EXPECT_EQ(std::tuple(data->colours[0][0], int(data->set.attr), int(t.attr), t.commentText(), t.pixels[0], t.pixels[5]),
              std::tuple(GbcColor{31, 0, 0}, TILE_OBJ | 5, TILE_OBJ | 7, std::string(32, 'q'), 3, 2));
}

TEST(TileSetFile, AMissingFileIsLocatedOrLeavesTheSetAsItWas)
{
    TempDir dir;
    auto lib = filledLibrary();
    NullProgress quiet;
    ASSERT_TRUE(saveTileSetFile(dir.file("found.qmo"), TILE_OBJ, *lib, quiet));
    lib->obj.tiles[0].setComment("old");
    const std::string gone = dir.file("gone.qmo");
    const struct { std::optional<std::string> located; std::vector<std::string> informed; bool loaded; } cases[] = {
        {std::nullopt, {"Unable to open file " + gone + ": No such file or directory"}, false},
        {dir.file("also-gone.qmo"), {"Unable to open file " + gone + ": No such file or directory",
                                     damaged(dir.file("also-gone.qmo"))}, false},
        {dir.file("found.qmo"), {"Unable to open file " + gone + ": No such file or directory"}, true},
    };
    for (const auto& c : cases) {
        ScriptedPrompter prompter;
        prompter.locations.push_back(c.located);
        const TileSetLoad load = loadTileSet(gone, TILE_OBJ, *lib, prompter, quiet);
        EXPECT_EQ(std::tuple(load.loaded, load.locatedPath, prompter.informed, prompter.locateRequests, lib->obj.tiles[0].commentText()),
                  std::tuple(c.loaded, c.loaded ? *c.located : "", c.informed, std::vector<std::string>{gone}, c.loaded ? "" : "old"));
    }
}

TEST(TileSetFile, AFailedSaveReportsAndKeepsThePreviousFile)
{
    TempDir dir;
    NullProgress quiet;
    const std::string path = dir.file("set.qmb");
    ASSERT_TRUE(saveTileSetFile(path, TILE_BG, TileLibrary(), quiet));
    const Bytes before = readBytes(path);
    simulateWriteFailureAfter(1000);
    EXPECT_EQ(saveTileSetFile(path, TILE_BG, *filledLibrary(), quiet).text(),
              "Unable to open file " + path + " for writing. No space left on device.");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(saveTileSetFile(dir.file("no/dir/x.qmb"), TILE_BG, TileLibrary(), quiet).text(),
              "Unable to open file " + dir.file("no/dir/x.qmb") + " for writing. No such file or directory.");
}
