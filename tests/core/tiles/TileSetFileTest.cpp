#include "core/base/FileIO.h"
#include "core/tiles/TileSetFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qm;
using namespace qm::test;

namespace {

// A BG set with distinct colours, comments and pixels everywhere.
void fillLibrary(TileLibrary& lib)
{
    lib.bg.attr = 0x40 | 0x28 | 3;
    for (int p = 0; p < 8; ++p)
        for (int c = 0; c < 4; ++c)
            lib.palettes.bgPalettes[p][c] =
                GbcColor{std::uint8_t(p * 4 + c), std::uint8_t(31 - p), std::uint8_t(c * 10)};
    lib.palettes.bgMonoPalettes[0] = {GbcColor{0, 0, 0}, GbcColor{6, 6, 6}, GbcColor{31, 31, 31}, GbcColor{12, 12, 12}};
    for (int i = 0; i < 512; ++i) {
        CTile& t = lib.bg.tiles[static_cast<size_t>(i)];
        t.setPalette(i % 8);
        for (int k = 0; k < 64; ++k)
            t.pixels[static_cast<size_t>(k)] = static_cast<std::uint8_t>((i + k) % 4);
    }
    lib.bg.tiles[0].setComment("hi");
    lib.bg.tiles[511].setComment(std::string(32, 'c'));
}

} // namespace

TEST(TileSetFile, EmptyCommentsGive33901BytesLaidOutAsTheFormatSays)
{
    TileLibrary lib;
    fillLibrary(lib);
    lib.bg.tiles[0].setComment("");
    lib.bg.tiles[511].setComment("");
    const std::vector<std::uint8_t> bytes = encodeTileSetFile(lib, TILE_BG);
    ASSERT_EQ(bytes.size(), 33901u);
    EXPECT_EQ(bytes[0], 0x6B);
    // Palette 2, colour 1 at 1 + (2*4+1)*3.
    EXPECT_EQ(bytes[28], 9);
    EXPECT_EQ(bytes[29], 29);
    EXPECT_EQ(bytes[30], 10);
    // Monochrome colours 0..3 at 97.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 97, bytes.begin() + 109),
              (std::vector<std::uint8_t>{0, 0, 0, 6, 6, 6, 31, 31, 31, 12, 12, 12}));
    // Tile 1: attr, comment length 0, then its pixels.
    EXPECT_EQ(bytes[109 + 66], TILE_BG | 1);
    EXPECT_EQ(bytes[109 + 66 + 1], 0);
    EXPECT_EQ(bytes[109 + 66 + 2], 1);
    EXPECT_EQ(bytes[109 + 66 + 3], 2);
}

TEST(TileSetFile, SaveAndLoadGiveBackEverythingOfTheKind)
{
    TempDir dir;
    TileLibrary lib;
    fillLibrary(lib);
    CountingProgress progress;
    ASSERT_TRUE(saveTileSetFile(dir.file("set.qmb"), TILE_BG, lib, progress));
    EXPECT_EQ(progress.captions.back(), "Saving BG tile set");
    EXPECT_EQ(readBytes(dir.file("set.qmb")).size(), 33901u + 2 + 32);
    // Byte-exact round trip.
    EXPECT_EQ(readBytes(dir.file("set.qmb")), encodeTileSetFile(lib, TILE_BG));

    TileLibrary loaded;
    EXPECT_EQ(loadTileSetFile(dir.file("set.qmb"), TILE_BG, loaded, progress), TileSetLoadStatus::Loaded);
    EXPECT_EQ(progress.captions.back(), "Loading BG tileset");
    EXPECT_EQ(progress.open, 0);
    EXPECT_EQ(loaded.bg.attr, lib.bg.attr);
    for (int i = 0; i < 512; ++i) {
        EXPECT_TRUE(loaded.bg.tiles[static_cast<size_t>(i)].sameContent(lib.bg.tiles[static_cast<size_t>(i)])) << i;
        EXPECT_EQ(loaded.bg.tiles[static_cast<size_t>(i)].index, i);
    }
    EXPECT_EQ(loaded.bg.tiles[511].commentText(), std::string(32, 'c'));
    EXPECT_EQ(loaded.palettes.bgPalettes, lib.palettes.bgPalettes);
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(loaded.palettes.bgMonoPalettes[p], lib.palettes.bgMonoPalettes[0]);
    EXPECT_EQ(loaded.palettes.bgDisplay[2][1], gbcColourOf(lib.palettes.bgPalettes[2][1]));
    EXPECT_EQ(loaded.palettes.bgMonoDisplay[5][3], gbcColourOf(GbcColor{12, 12, 12}));
    // The OBJ side is untouched.
    EXPECT_EQ(loaded.palettes.objPalettes, TileLibrary().palettes.objPalettes);
}

TEST(TileSetFile, LoadingIntoTheOtherKindForcesTheKindBits)
{
    TempDir dir;
    TileLibrary lib;
    fillLibrary(lib);
    ASSERT_TRUE(saveTileSetFile(dir.file("set.qmb"), TILE_BG, lib, *std::make_unique<NullProgress>()));
    TileLibrary loaded;
    NullProgress quiet;
    ASSERT_EQ(loadTileSetFile(dir.file("set.qmb"), TILE_OBJ, loaded, quiet), TileSetLoadStatus::Loaded);
    EXPECT_EQ(loaded.obj.attr, 0x80 | 0x28 | 3);
    for (const CTile& t : loaded.obj.tiles)
        EXPECT_EQ(t.kind(), TILE_OBJ);
    EXPECT_EQ(loaded.obj.tiles[3].palette(), 3);
    EXPECT_EQ(loaded.palettes.objPalettes, lib.palettes.bgPalettes);
}

TEST(TileSetFile, EmptyPathResetsTheSet)
{
    TileLibrary lib;
    fillLibrary(lib);
    NullProgress quiet;
    EXPECT_EQ(loadTileSetFile("", TILE_BG, lib, quiet), TileSetLoadStatus::Reset);
    EXPECT_EQ(lib.bg.tiles[5].pixels, CTile{}.pixels);
    EXPECT_EQ(lib.palettes.bgPalettes[0][3], (GbcColor{31, 31, 31}));
    EXPECT_EQ(lib.bg.attr, TILE_BG);
}

TEST(TileSetFile, EveryPrefixIsRefusedAndLeavesTheLoadedSetAlone)
{
    TileLibrary lib;
    fillLibrary(lib);
    const std::vector<std::uint8_t> bytes = encodeTileSetFile(lib, TILE_BG);
    auto data = std::make_unique<TileSetFileData>();
    for (size_t n = 0; n < bytes.size(); ++n)
        ASSERT_FALSE(decodeTileSetFile(std::span(bytes.data(), n), TILE_BG, *data)) << n;
    ASSERT_TRUE(decodeTileSetFile(bytes, TILE_BG, *data));

    TempDir dir;
    TileLibrary current;
    fillLibrary(current);
    current.bg.tiles[9].setComment("keep me");
    const std::vector<std::uint8_t> before = encodeTileSetFile(current, TILE_BG);
    for (size_t n : {size_t(0), size_t(1), size_t(108), size_t(109), size_t(5000), bytes.size() - 1}) {
        writeBytes(dir.file("cut.qmb"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        ScriptedPrompter prompter;
        NullProgress quiet;
        const TileSetLoad load = loadTileSet(dir.file("cut.qmb"), TILE_BG, current, prompter, quiet);
        EXPECT_FALSE(load.loaded);
        ASSERT_EQ(prompter.informed.size(), 1u);
        EXPECT_EQ(prompter.informed[0], "Unable to open file " + dir.file("cut.qmb") +
                                            ".\nFile may be damaged, operation abort.");
        EXPECT_EQ(encodeTileSetFile(current, TILE_BG), before) << n;
    }
}

TEST(TileSetFile, CommentLongerThan32IsCutWhenRead)
{
    TileLibrary lib;
    std::vector<std::uint8_t> bytes = encodeTileSetFile(lib, TILE_OBJ);
    // Tile 0: length 40 followed by 40 characters.
    bytes[110] = 40;
    bytes.insert(bytes.begin() + 111, 40, 'q');
    auto data = std::make_unique<TileSetFileData>();
    ASSERT_TRUE(decodeTileSetFile(bytes, TILE_OBJ, *data));
    EXPECT_EQ(data->set.tiles[0].commentLength, 32);
    EXPECT_EQ(data->set.tiles[0].commentText(), std::string(32, 'q'));
    EXPECT_EQ(data->set.tiles[0].pixels, CTile{}.pixels);
}

TEST(TileSetFile, MissingFileAsksToLocateItAndHandsBackTheLocatedPath)
{
    TempDir dir;
    TileLibrary lib;
    fillLibrary(lib);
    NullProgress quiet;
    ASSERT_TRUE(saveTileSetFile(dir.file("found.qmo"), TILE_OBJ, lib, quiet));
    lib.obj.tiles[0].setComment("old");

    {
        ScriptedPrompter prompter;
        const TileSetLoad load = loadTileSet(dir.file("gone.qmo"), TILE_OBJ, lib, prompter, quiet);
        EXPECT_FALSE(load.loaded);
        EXPECT_EQ(prompter.informed,
                  (std::vector<std::string>{"Unable to open file " + dir.file("gone.qmo") +
                                            ": No such file or directory"}));
        EXPECT_EQ(prompter.locateRequests, (std::vector<std::string>{dir.file("gone.qmo")}));
        EXPECT_EQ(lib.obj.tiles[0].commentText(), "old");
    }
    {
        ScriptedPrompter prompter;
        prompter.locations.push_back(dir.file("also-gone.qmo"));
        const TileSetLoad load = loadTileSet(dir.file("gone.qmo"), TILE_OBJ, lib, prompter, quiet);
        EXPECT_FALSE(load.loaded);
        ASSERT_EQ(prompter.informed.size(), 2u);
        EXPECT_EQ(prompter.informed[1],
                  "Unable to open file " + dir.file("also-gone.qmo") + ".\nFile may be damaged, operation abort.");
        EXPECT_EQ(lib.obj.tiles[0].commentText(), "old");
    }
    {
        ScriptedPrompter prompter;
        prompter.locations.push_back(dir.file("found.qmo"));
        const TileSetLoad load = loadTileSet(dir.file("gone.qmo"), TILE_OBJ, lib, prompter, quiet);
        EXPECT_TRUE(load.loaded);
        EXPECT_EQ(load.locatedPath, dir.file("found.qmo"));
        EXPECT_EQ(lib.obj.tiles[0].commentText(), "");
    }
}

TEST(TileSetFile, AFailedSaveReportsAndKeepsThePreviousFile)
{
    TempDir dir;
    TileLibrary lib;
    NullProgress quiet;
    const std::string path = dir.file("set.qmb");
    ASSERT_TRUE(saveTileSetFile(path, TILE_BG, lib, quiet));
    const auto before = readBytes(path);
    fillLibrary(lib);
    simulateWriteFailureAfter(1000);
    const Result r = saveTileSetFile(path, TILE_BG, lib, quiet);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.text(), "Unable to open file " + path + " for writing. No space left on device.");
    EXPECT_EQ(readBytes(path), before);

    const Result noDir = saveTileSetFile(dir.file("no/such/dir/x.qmb"), TILE_BG, lib, quiet);
    EXPECT_EQ(noDir.text(), "Unable to open file " + dir.file("no/such/dir/x.qmb") + " for writing. No such file or "
                            "directory.");
}

TEST(TileSetFile, EverySampleTileSetLoadsAndSavesBackByteForByte)
{
    for (const char* v : {"v1_0", "v2_0", "v4_0", "v5_2", "v5_5", "v5_6"}) {
        for (const char* suffix : {"_bg.qmb", "_obj.qmo"}) {
            const std::string path = samplesDir() + "/" + v + "/" + v + suffix;
            const TileKind kind = std::string(suffix) == "_bg.qmb" ? TILE_BG : TILE_OBJ;
            TileLibrary lib;
            NullProgress quiet;
            ASSERT_EQ(loadTileSetFile(path, kind, lib, quiet), TileSetLoadStatus::Loaded) << path;
            const auto original = readBytes(path);
            const auto again = encodeTileSetFile(lib, kind);
            EXPECT_EQ(again, original) << path;
        }
    }
}

TEST(TileSetFile, PixelValuesAboveThreeFromADamagedFileAreMasked)
{
    TileLibrary lib;
    std::vector<std::uint8_t> bytes = encodeTileSetFile(lib, TILE_BG);
    bytes[109 + 2] = 0xFF; // tile 0, pixel 0
    bytes[109 + 2 + 5] = 6;
    auto data = std::make_unique<TileSetFileData>();
    ASSERT_TRUE(decodeTileSetFile(bytes, TILE_BG, *data));
    EXPECT_EQ(data->set.tiles[0].pixels[0], 3);
    EXPECT_EQ(data->set.tiles[0].pixels[5], 2);
}
