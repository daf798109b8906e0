#include "core/edit/RemapColours.h"
#include "core/edit/TileEdits.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

// Past the ui's CTilesetMgrTest (palette, cut, copy, paste, delete and remap on its pages):
namespace {

class TileEditsTest : public ::testing::Test {
protected:
    TileLibrary& lib() { return ws->tiles; }
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    UndoListener listener;
};

TEST_F(TileEditsTest, EachPaletteReportArrivesBeforeTheNextTileChangesAndRedoTakesThemAgain)
{
    lib().bg.tiles[2].setPalette(5);
    std::vector<int> seen; // the palette of tile 2 when each report arrives
    setTilesPalette(lib(), TILE_BG, {1, 2}, 3, undo,
                    [&](const TilePaletteChange&) { seen.push_back(lib().bg.tiles[2].palette()); });
    EXPECT_EQ(seen, (std::vector<int>{5, 3}));
    ASSERT_TRUE(undo.undo(*ws, listener));
    ASSERT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(std::tuple(lib().bg.tiles[1].attr, lib().bg.tiles[2].attr), std::tuple(TILE_BG | 3, TILE_BG | 3));
}

TEST_F(TileEditsTest, PastesKeepCarriedBitsMaskDamagedPixelsAndTakeMapCellsTilesByKind)
{
    CTile& t = lib().obj.tiles[7];
    t.pixels.fill(2);
    t.setPalette(6);
    t.attr |= 0x18; // bits carried through from a file
    const CTile before = t;
    const auto clip = decodeTileClip(copyTiles(lib(), TILE_OBJ, {7, 600}));
    ASSERT_TRUE(clip && clip->size() == 1u);
    cutTiles(lib(), TILE_OBJ, {7}, undo);
    EXPECT_EQ(t.attr, TILE_OBJ | 0x18);
    pasteTiles(lib(), TILE_OBJ, 7, *clip, undo);
    EXPECT_TRUE(t.sameContent(before));
    std::vector<TileClipEntry> damaged(1);
    damaged[0].pixels.fill(0xFE); // from another program: pasted as colour indices
    pasteTiles(lib(), TILE_BG, 0, damaged, undo);
    EXPECT_EQ(lib().bg.tiles[0].pixels[5], 2);

    lib().obj.tiles[4].pixels.fill(3);
    const std::vector<ClipboardEntry> cells{{0, 0, 0x00, 4}, {1, 0, 0x80 | 2, 4}}; // an empty part names no tile
    EXPECT_EQ(pasteMapTiles(lib(), TILE_BG, 100, cells, undo).tiles, std::vector<int>{101});
    EXPECT_EQ(std::tuple(lib().bg.tiles[100].pixels[0], lib().bg.tiles[101].pixels[0]), std::tuple(0, 3));
    EXPECT_EQ(pasteMapTiles(lib(), TILE_BG, 511, cells, undo).tiles, std::vector<int>{});
}

TEST_F(TileEditsTest, RemapChangesOnlyTilesOfThePaletteInTheBankAndRefusesABackwardRange)
{
    for (size_t i = 240; i < 512; ++i) {
        lib().bg.tiles[i].pixels[0] = 1;
        lib().bg.tiles[i].setPalette(i == 508 ? 1 : 2);
    }
    RemapRequest req = remapPreset(lib(), TILE_BG, {200, 300}); // "to" stays within the bank of the first
    EXPECT_EQ(std::tuple(req.bankBase, req.from, req.to, req.palette), std::tuple(0, 200, 255, 2));
    req = {2, 256, 250, 255, {3, 2, 1, 0}};
    EXPECT_EQ(remapTileColours(lib(), TILE_BG, req, undo).tiles, (std::vector<int>{506, 507, 509, 510, 511}));
    EXPECT_EQ(std::tuple(lib().bg.tiles[506].pixels[0], lib().bg.tiles[508].pixels[0], lib().bg.tiles[250].pixels[0]),
              std::tuple(2, 1, 1));
    req = {2, 0, 9, 8, {3, 2, 1, 0}};
    EXPECT_EQ(remapTileColours(lib(), TILE_BG, req, undo).result.text(), "Start tile must not be greater than stop tile.");
}

} // namespace
