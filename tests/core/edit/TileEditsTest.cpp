#include "core/edit/RemapColours.h"
#include "core/edit/TileEdits.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

void paint(CTile& t, int seed)
{
    for (size_t i = 0; i < 64; ++i)
        t.pixels[i] = std::uint8_t((i + size_t(seed)) & 3);
}

class TileEditsTest : public ::testing::Test {
protected:
    TileLibrary& lib() { return ws->tiles; }
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    UndoListener listener;
};

TEST_F(TileEditsTest, SetPaletteReportsEachTileWithItsOwnOldPaletteBeforeTheNextChanges)
{
    lib().bg.tiles[2].setPalette(5);
    std::vector<TilePaletteChange> reports;
    std::vector<int> seen; // the palette of tile 2 when each report arrives
    const auto r = setTilesPalette(lib(), TILE_BG, {1, 2}, 3, undo, [&](const TilePaletteChange& c) {
        reports.push_back(c);
        seen.push_back(lib().bg.tiles[2].palette());
    });
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(std::tuple(reports[0].oldPalette, reports[0].newPalette, reports[0].firstTile, reports[0].lastTile),
              std::tuple(0, 3, 1, 1));
    EXPECT_EQ(std::tuple(reports[1].oldPalette, reports[1].firstTile, reports[1].layer), std::tuple(5, 2, TILE_BG));
    EXPECT_EQ(seen, (std::vector<int>{5, 3}));
    EXPECT_EQ(lib().bg.tiles[1].attr, TILE_BG | 3);
    ASSERT_TRUE(undo.undo(*ws, listener)); // both palettes back, and again
    EXPECT_EQ(std::tuple(lib().bg.tiles[1].palette(), lib().bg.tiles[2].palette()), std::tuple(0, 5));
    ASSERT_TRUE(undo.redo(*ws, listener));
    EXPECT_EQ(lib().bg.tiles[2].palette(), 3);
}

TEST_F(TileEditsTest, CutThenPasteGivesTheTileBackAndPasteStopsAfterTile511)
{
    CTile& t = lib().obj.tiles[7];
    paint(t, 1);
    t.setPalette(6);
    t.setComment("door");
    t.attr |= 0x18; // bits carried through from a file
    const CTile before = t;
    const auto clip = decodeTileClip(copyTiles(lib(), TILE_OBJ, {7, 600}));
    ASSERT_TRUE(clip && clip->size() == 1u);
    EXPECT_EQ(cutTiles(lib(), TILE_OBJ, {7}, undo).tiles, std::vector<int>{7});
    CTile blank;
    blank.attr = TILE_OBJ | 0x18;
    EXPECT_TRUE(t.sameContent(blank));
    pasteTiles(lib(), TILE_OBJ, 7, *clip, undo);
    EXPECT_TRUE(t.sameContent(before));
    EXPECT_EQ(t.index, 7);
    ASSERT_TRUE(undo.undo(*ws, listener)); // the cut tile again
    EXPECT_TRUE(t.sameContent(blank));

    std::vector<TileClipEntry> entries(5);
    for (auto& e : entries) {
        e.pixels.fill(0xFE); // from another program: pasted as colour indices
        e.palette = 4;
    }
    EXPECT_EQ(pasteTiles(lib(), TILE_BG, 510, entries, undo).tiles, (std::vector<int>{510, 511}));
    EXPECT_EQ(lib().bg.tiles[511].pixels[0], 2);
    EXPECT_EQ(lib().bg.tiles[511].attr, TILE_BG | 4);
    EXPECT_EQ(lib().bg.tiles[509].pixels[0], 0);
    EXPECT_EQ(undo.tileRecords.size(), 2u);
}

TEST_F(TileEditsTest, ClearEmptiesThePixelsOnlyAndUndoes)
{
    paint(lib().bg.tiles[3], 0);
    lib().bg.tiles[3].setComment("kept");
    const CTile three = lib().bg.tiles[3];
    clearTiles(lib(), TILE_BG, {4, 3}, undo);
    EXPECT_EQ(lib().bg.tiles[3].pixels, CTile{}.pixels);
    EXPECT_EQ(lib().bg.tiles[3].commentText(), "kept");
    ASSERT_TRUE(undo.undo(*ws, listener));
    EXPECT_TRUE(lib().bg.tiles[3].sameContent(three));
}

TEST_F(TileEditsTest, AMapCellRecordPastesThePixelsOfTheTilesItNames)
{
    paint(lib().bg.tiles[9], 2);
    paint(lib().obj.tiles[4], 3);
    const std::vector<ClipboardEntry> entries{
        {0, 0, 0x40 | 2, 9}, // BG tile 9, palette bits ignored
        {1, 0, 0x00, 5},     // an empty part names no tile
        {2, 0, 0x80, 4},     // OBJ tile 4
    };
    EXPECT_EQ(pasteMapTiles(lib(), TILE_BG, 100, entries, undo).tiles, (std::vector<int>{100, 102}));
    EXPECT_EQ(lib().bg.tiles[100].pixels, lib().bg.tiles[9].pixels);
    EXPECT_EQ(lib().bg.tiles[101].pixels, CTile{}.pixels);
    EXPECT_EQ(lib().bg.tiles[102].pixels, lib().obj.tiles[4].pixels);
    EXPECT_EQ(pasteMapTiles(lib(), TILE_BG, 510, entries, undo).tiles, std::vector<int>{510});
}

TEST_F(TileEditsTest, RemapWorksWithinTheBankOfTheFirstSelectedTileOnItsPalette)
{
    for (size_t i = 240; i < 512; ++i) {
        paint(lib().bg.tiles[i], 0);
        lib().bg.tiles[i].setPalette(i == 508 ? 1 : 2);
    }
    RemapRequest req = remapPreset(lib(), TILE_BG, {300, 310});
    EXPECT_EQ(std::tuple(req.bankBase, req.from, req.to, req.palette), std::tuple(256, 44, 54, 2));
    const RemapRequest cross = remapPreset(lib(), TILE_BG, {200, 300}); // "to" stays within the bank
    EXPECT_EQ(std::tuple(cross.bankBase, cross.to), std::tuple(0, 255));
    req.from = 250;
    req.to = 255;
    req.mapping = {3, 2, 1, 0};
    EXPECT_EQ(remapTileColours(lib(), TILE_BG, req, undo).tiles, (std::vector<int>{506, 507, 509, 510, 511}));
    EXPECT_EQ(lib().bg.tiles[506].pixels[0], 3);
    EXPECT_EQ(lib().bg.tiles[506].pixels[1], 2);
    EXPECT_EQ(lib().bg.tiles[508].pixels[0], 0); // another palette
    EXPECT_EQ(lib().bg.tiles[250].pixels[0], 0); // another bank
    req.from = 9;
    req.to = 8;
    EXPECT_EQ(checkRemapRange(req).text(), "Start tile must not be greater than stop tile.");
    EXPECT_EQ(remapTileColours(lib(), TILE_BG, req, undo).result.text(), checkRemapRange(req).text());
}

} // namespace
