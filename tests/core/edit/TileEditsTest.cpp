#include "core/edit/RemapColours.h"
#include "core/edit/TileEdits.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

void paint(CTile& t, std::uint8_t seed)
{
    for (int i = 0; i < 64; ++i)
        t.pixels[size_t(i)] = std::uint8_t((i + seed) & 3);
}

struct Fixture {
    Workspace ws;
    UndoStore undo;
    struct Listener : UndoListener {
    } listener;
    TileLibrary& lib() { return ws.tiles; }
};

} // namespace

TEST(TileEdits, SetPaletteReportsEachTileWithItsOwnOldPalette)
{
    Fixture f;
    f.lib().bg.tiles[2].setPalette(5);
    std::vector<TilePaletteChange> reports;
    std::vector<int> paletteSeen; // the palette of tile 2 when tile 1's report arrives
    const auto r = setTilesPalette(f.lib(), TILE_BG, {1, 2}, 3, f.undo, [&](const TilePaletteChange& c) {
        reports.push_back(c);
        paletteSeen.push_back(f.lib().bg.tiles[2].palette());
    });
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].oldPalette, 0);
    EXPECT_EQ(reports[0].newPalette, 3);
    EXPECT_EQ(reports[0].firstTile, 1);
    EXPECT_EQ(reports[0].lastTile, 1);
    EXPECT_EQ(reports[0].layer, TILE_BG);
    EXPECT_EQ(reports[1].oldPalette, 5);
    EXPECT_EQ(reports[1].firstTile, 2);
    EXPECT_EQ(paletteSeen[0], 5); // tile 2 had not changed yet
    EXPECT_EQ(f.lib().bg.tiles[1].palette(), 3);
    EXPECT_EQ(f.lib().bg.tiles[2].kind(), TILE_BG);

    // Undo gives both their palettes back, redo takes them again.
    ASSERT_TRUE(f.undo.undo(f.ws, f.listener));
    EXPECT_EQ(f.lib().bg.tiles[1].palette(), 0);
    EXPECT_EQ(f.lib().bg.tiles[2].palette(), 5);
    ASSERT_TRUE(f.undo.redo(f.ws, f.listener));
    EXPECT_EQ(f.lib().bg.tiles[2].palette(), 3);
}

TEST(TileEdits, CutThenPasteGivesTheTileBack)
{
    Fixture f;
    CTile& t = f.lib().obj.tiles[7];
    paint(t, 1);
    t.setPalette(6);
    t.setComment("door");
    t.attr |= 0x18; // bits carried through from a file
    const CTile before = t;

    const auto clip = copyTiles(f.lib(), TILE_OBJ, {7});
    const auto cut = cutTiles(f.lib(), TILE_OBJ, {7}, f.undo);
    EXPECT_EQ(cut.tiles, std::vector<int>{7});
    EXPECT_EQ(t.palette(), 0);
    EXPECT_EQ(t.commentLength, 0);
    EXPECT_EQ(t.kind(), TILE_OBJ);
    EXPECT_EQ(t.pixels, CTile{}.pixels);

    const auto entries = decodeTileClip(clip);
    ASSERT_TRUE(entries);
    pasteTiles(f.lib(), TILE_OBJ, 7, *entries, f.undo);
    EXPECT_TRUE(t.sameContent(before));
    EXPECT_EQ(t.palette(), 6);
    EXPECT_EQ(std::string(t.commentText()), "door");
    EXPECT_EQ(t.index, 7);
    EXPECT_EQ(t.kind(), TILE_OBJ);

    // Undo of the paste: the cut tile again.
    ASSERT_TRUE(f.undo.undo(f.ws, f.listener));
    EXPECT_EQ(t.commentLength, 0);
    EXPECT_EQ(t.palette(), 0);
}

TEST(TileEdits, PasteStopsAfterTile511)
{
    Fixture f;
    std::vector<TileClipEntry> entries(5);
    for (auto& e : entries) {
        e.pixels.fill(2);
        e.palette = 4;
    }
    const auto r = pasteTiles(f.lib(), TILE_BG, 510, entries, f.undo);
    EXPECT_EQ(r.tiles, (std::vector<int>{510, 511}));
    EXPECT_EQ(f.lib().bg.tiles[511].pixels[0], 2);
    EXPECT_EQ(f.lib().bg.tiles[509].pixels[0], 0);
    EXPECT_EQ(f.undo.tileRecords().size(), 2u);
}

TEST(TileEdits, ClearAndItsUndo)
{
    Fixture f;
    paint(f.lib().bg.tiles[3], 0);
    paint(f.lib().bg.tiles[4], 1);
    const CTile three = f.lib().bg.tiles[3];
    clearTiles(f.lib(), TILE_BG, {4, 3}, f.undo);
    EXPECT_EQ(f.lib().bg.tiles[3].pixels, CTile{}.pixels);
    ASSERT_TRUE(f.undo.undo(f.ws, f.listener));
    EXPECT_TRUE(f.lib().bg.tiles[3].sameContent(three));
}

TEST(TileEdits, MapCellRecordPastesThePixelsOfTheTilesItNames)
{
    Fixture f;
    paint(f.lib().bg.tiles[9], 2);
    paint(f.lib().obj.tiles[4], 3);
    const std::vector<ClipboardEntry> entries{
        {0, 0, 0x40 | 2, 9}, // BG tile 9, palette bits ignored
        {1, 0, 0x00, 5},     // empty part: names no tile
        {2, 0, 0x80, 4},     // OBJ tile 4
    };
    const auto r = pasteMapTiles(f.lib(), TILE_BG, 100, entries, f.undo);
    EXPECT_EQ(r.tiles, (std::vector<int>{100, 102}));
    EXPECT_EQ(f.lib().bg.tiles[100].pixels, f.lib().bg.tiles[9].pixels);
    EXPECT_EQ(f.lib().bg.tiles[102].pixels, f.lib().obj.tiles[4].pixels);
    EXPECT_EQ(f.lib().bg.tiles[101].pixels, CTile{}.pixels);

    // Pasting from tile 510 on stops after 511.
    const auto end = pasteMapTiles(f.lib(), TILE_BG, 510, entries, f.undo);
    EXPECT_EQ(end.tiles, std::vector<int>{510});
}

TEST(TileClipboardRecord, DamagedPixelsArePastedAsColourIndices)
{
    Fixture f;
    std::vector<TileClipEntry> entries(1);
    entries[0].pixels.fill(0xFE);
    pasteTiles(f.lib(), TILE_BG, 0, entries, f.undo);
    EXPECT_EQ(f.lib().bg.tiles[0].pixels[5], 2);
}

TEST(RemapColours, RangeIsRelativeToTheBankOfTheFirstSelectedTile)
{
    Fixture f;
    for (int i = 240; i < 512; ++i) {
        paint(f.lib().bg.tiles[size_t(i)], 0);
        f.lib().bg.tiles[size_t(i)].setPalette(i == 508 ? 1 : 2);
    }
    RemapRequest req = remapPreset(f.lib(), TILE_BG, {300, 310});
    EXPECT_EQ(req.bankBase, 256);
    EXPECT_EQ(req.from, 44);
    EXPECT_EQ(req.to, 54);
    EXPECT_EQ(req.palette, 2);
    req.from = 250;
    req.to = 255;
    req.mapping = {3, 2, 1, 0};
    const auto r = remapTileColours(f.lib(), TILE_BG, req, f.undo);
    EXPECT_EQ(r.tiles, (std::vector<int>{506, 507, 509, 510, 511}));
    EXPECT_EQ(f.lib().bg.tiles[506].pixels[0], 3);
    EXPECT_EQ(f.lib().bg.tiles[508].pixels[0], 0); // other palette
    EXPECT_EQ(f.lib().bg.tiles[250].pixels[0], 0); // other bank
    EXPECT_EQ(f.lib().bg.tiles[505].pixels[0], 0);

    req.from = 9;
    req.to = 8;
    EXPECT_EQ(checkRemapRange(req).text(), "Start tile must not be greater than stop tile.");
    EXPECT_FALSE(remapTileColours(f.lib(), TILE_BG, req, f.undo).result.ok());

    // A selection running into the other bank keeps "to" within the bank.
    const RemapRequest cross = remapPreset(f.lib(), TILE_BG, {200, 300});
    EXPECT_EQ(cross.bankBase, 0);
    EXPECT_EQ(cross.to, 255);
}
