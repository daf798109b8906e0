#include "core/base/PngWriter.h"
#include "core/import/BitmapImport.h"
#include "core/import/PalettePacking.h"
#include "core/import/PictureFile.h"
#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace qm;

namespace {

// Colour n as a 24-bit colour that survives the reduction to 15 bits.
std::uint32_t colour(int n)
{
    return std::uint32_t(n & 31) << 19 | std::uint32_t((n >> 5) & 31) << 11 | std::uint32_t((n >> 10) & 31) << 3;
}

BitmapImage picture(int blocksWide, int blocksHigh)
{
    BitmapImage image;
    image.width = blocksWide * 8;
    image.height = blocksHigh * 8;
    image.pixels.assign(static_cast<size_t>(image.width * image.height), colour(0));
    return image;
}

void paint(BitmapImage& image, int bx, int by, const std::function<std::uint32_t(int, int)>& pixel)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.pixels[static_cast<size_t>((by * 8 + y) * image.width + bx * 8 + x)] = pixel(x, y);
}

// Block (bx, by) in the colours of the set: colour i of it fills the
// pixels from 16 * i on, so every colour is there.
void paintSet(BitmapImage& image, int bx, int by, const std::vector<int>& set)
{
    paint(image, bx, by,
          [&](int x, int y) { return colour(set[std::min<size_t>(static_cast<size_t>(y * 8 + x) / 16, set.size() - 1)]); });
}

PictureImportOptions gbc(TileReuse reuse = TileReuse::Exact)
{
    PictureImportOptions o;
    o.mode = PictureMode::Gbc;
    o.reuse = reuse;
    o.placement = MapPlacement::Replace;
    return o;
}

std::unique_ptr<Workspace> workspace()
{
    auto ws = std::make_unique<Workspace>();
    ws->project.map.create(4, 4);
    return ws;
}

} // namespace

TEST(PictureImport, MirroredBlocksShareOneTileWithTheCellsFlipBits)
{
    // An asymmetric block and its three mirror images.
    const auto block = [](int x, int y) { return colour(x < 2 && y < 3 ? 1 : x == 7 ? 2 : 0); };
    BitmapImage image = picture(4, 1);
    paint(image, 0, 0, block);
    paint(image, 1, 0, [&](int x, int y) { return block(7 - x, y); });
    paint(image, 2, 0, [&](int x, int y) { return block(x, 7 - y); });
    paint(image, 3, 0, [&](int x, int y) { return block(7 - x, 7 - y); });

    const struct {
        TileReuse reuse;
        int tiles;
    } cases[] = {{TileReuse::Flips, 1}, {TileReuse::Exact, 4}, {TileReuse::None, 4}};
    for (const auto& c : cases) {
        auto ws = workspace();
        BitmapImportSummary summary;
        ASSERT_TRUE(importPicture(image, *ws, gbc(c.reuse), &summary));
        EXPECT_EQ(summary.tilesMade, c.tiles);
        const std::uint8_t flips[] = {0, ATTR_FLIP_H, ATTR_FLIP_V, ATTR_FLIP_H | ATTR_FLIP_V};
        for (int x = 0; x < 4; ++x) {
            const MapCell& cell = *ws->project.map.cellAt(x, 0);
            EXPECT_EQ(cell.bgTile, c.tiles == 1 ? 0 : x);
            EXPECT_EQ(cell.bgAttr & (ATTR_FLIP_H | ATTR_FLIP_V), c.tiles == 1 ? flips[x] : 0);
        }
    }
    // A DMG map has no flip attribute.
    PictureImportOptions dmg = gbc(TileReuse::Flips);
    dmg.mode = PictureMode::Dmg;
    EXPECT_EQ(importPicture(image, *workspace(), dmg).text(), MSG_FLIPS_NEED_GBC);
}

TEST(PictureImport, NineColourSetsThatFitThreePalettesTakeThree)
{
    // Largest-first packing into the palette that grows least needs four
    // palettes for these; two of them lie inside others.
    const std::vector<std::vector<int>> sets = {{1, 7, 11}, {1, 9, 11}, {4, 7, 12}, {1, 10}, {1, 12},
                                                {3, 10},    {9, 12},    {1, 7},     {4}};
    BitmapImage image = picture(3, 3);
    for (size_t i = 0; i < sets.size(); ++i)
        paintSet(image, static_cast<int>(i % 3), static_cast<int>(i / 3), sets[i]);
    auto ws = workspace();
    BitmapImportSummary summary;
    ASSERT_TRUE(importPicture(image, *ws, gbc(), &summary));
    EXPECT_EQ(summary.palettes, 3);
    // Every pixel shows its colour through its cell's palette.
    for (int i = 0; i < 9; ++i) {
        const MapCell& cell = *ws->project.map.cellAt(i % 3, i / 3);
        const GbcPalette& p = ws->tiles.palettes.bgPalettes[static_cast<size_t>(cell.palette(TILE_BG))];
        const CTile& tile = ws->tiles.bg.tiles[cell.bgTile];
        const std::vector<int>& set = sets[static_cast<size_t>(i)];
        for (size_t px = 0; px < 64; px += 16) {
            const int n = set[std::min(px / 16, set.size() - 1)]; // colours below 32 are all red
            EXPECT_EQ(p[tile.pixels[px]], (GbcColor{static_cast<std::uint8_t>(n), 0, 0})) << i;
        }
    }
}

TEST(PictureImport, RefusalsNameWhatDoesNotFitAndChangeNothing)
{
    BitmapImage palettes = picture(9, 1); // nine blocks of four colours each, no two alike
    for (int b = 0; b < 9; ++b)
        paintSet(palettes, b, 0, {4 * b + 1, 4 * b + 2, 4 * b + 3, 4 * b + 4});
    BitmapImage crowded = picture(30, 1); // 25 blocks of 6 colours
    for (int b = 0; b < 25; ++b)
        paint(crowded, b, 0, [](int x, int) { return colour(x % 6 + 1); });
    BitmapImage tiles = picture(27, 19); // 513 distinct blocks
    for (int b = 0; b < 513; ++b)
        paint(tiles, b % 27, b / 27, [b](int x, int y) { return colour((b >> (y * 8 + x) % 10) & 1); });

    const struct {
        const BitmapImage* image;
        std::string text;
    } cases[] = {
        {&palettes, "the picture needs 9 palettes; 8 are available\nblock (8, 0) fits none of the 8 palettes"},
        {&crowded, "block (0, 0) has 6 colours; a tile can hold 4\n"},
        {&tiles, "the picture needs 513 tiles; 512 are available"},
    };
    for (const auto& c : cases) {
        auto ws = workspace();
        ws->project.map.cellAt(1, 1)->set(TILE_BG, 7, TILE_OBJ, 3, 9);
        ws->tiles.bg.tiles[0].pixels.fill(2);
        const Workspace before = *ws;
        const Result r = importPicture(*c.image, *ws, gbc());
        ASSERT_FALSE(r);
        EXPECT_EQ(r.text().substr(0, c.text.size()), c.text);
        EXPECT_EQ(ws->project.map.cells, before.project.map.cells);
        EXPECT_EQ(ws->tiles.bg.tiles[0].pixels, before.tiles.bg.tiles[0].pixels);
        EXPECT_EQ(ws->tiles.palettes.bgPalettes, before.tiles.palettes.bgPalettes);
        EXPECT_EQ(ws->project.changeFlags, 0);
    }
    // The first 20 crowded blocks are named, then the count of the rest.
    const std::string text = importPicture(crowded, *workspace(), gbc()).text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 20);
    EXPECT_NE(text.find("block (19, 0) has 6"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "... and 5 more (25 blocks in all)");
}

TEST(PictureImport, TilesPast256GoToBankOneAndTheReplacedMapKeepsObjAndTags)
{
    BitmapImage image = picture(20, 15); // 300 distinct blocks
    for (int b = 0; b < 300; ++b)
        paint(image, b % 20, b / 20, [b](int x, int y) { return colour(((b >> (y * 8 + x) % 9) & 1) * 3); });
    auto ws = workspace();
    ws->project.map.cellAt(2, 3)->set(0, 0, TILE_OBJ | 0x04, 17, 42);
    ws->tiles.bg.tiles[400].pixels.fill(1);
    ws->project.exportSettings.mapLocation = "kept";
    BitmapImportSummary summary;
    ASSERT_TRUE(importPicture(image, *ws, gbc(), &summary));
    EXPECT_EQ(summary.tilesMade, 300);
    EXPECT_EQ(summary.bank1Tiles, 44);
    const MapGrid& map = ws->project.map;
    ASSERT_EQ(map.width, 20);
    ASSERT_EQ(map.height, 15);
    for (int b = 0; b < 300; ++b)
        EXPECT_EQ(map.cells[static_cast<size_t>(b)].bgTile, b); // 256 on: bank 1
    EXPECT_EQ(map.cellAt(2, 3)->objTile, 17);
    EXPECT_EQ(map.cellAt(2, 3)->tag, 42);
    EXPECT_EQ(ws->tiles.bg.tiles[400].pixels, (std::array<std::uint8_t, 64>{})); // the whole set was replaced
    EXPECT_EQ(ws->project.exportSettings.mapLocation, "kept");
    EXPECT_EQ(ws->project.changeFlags, CHANGED_MAP | CHANGED_BG_TILES | CHANGED_PALETTE);
}

TEST(PictureImport, ARenderedMapImportsBackToTheSameMap)
{
    BitmapImage image = picture(8, 6);
    for (int b = 0; b < 48; ++b) {
        const int base = (b % 5) * 3;
        paint(image, b % 8, b / 8, [&](int x, int y) { return colour(base + ((x * y + b) % 7 == 0) + (x > y) + 1); });
    }
    auto first = workspace();
    ASSERT_TRUE(importPicture(image, *first, gbc(TileReuse::Flips)));
    first->tiles.palettes.setTrueColour(true);
    MapRenderer renderer(first->project.map, first->tiles);
    renderer.reset();
    std::vector<std::uint8_t> pixels(64 * 48);
    renderer.readPixels(MapImage::Map, 0, 0, 64, 48, pixels.data(), 64);
    std::vector<PngColour> table;
    for (const DisplayColour& c : buildColourTable(first->tiles))
        table.push_back(PngColour{c.red, c.green, c.blue});
    const std::vector<std::uint8_t> png =
        encodeIndexedPng(64, 48, pixels.data(), 64, table);

    BitmapImage again;
    ASSERT_TRUE(readPicture(png, "map.png", again));
    auto second = workspace();
    ASSERT_TRUE(importPicture(again, *second, gbc(TileReuse::Flips)));
    EXPECT_EQ(second->project.map.cells, first->project.map.cells);
    EXPECT_EQ(second->tiles.palettes.bgPalettes, first->tiles.palettes.bgPalettes);
    for (size_t t = 0; t < 512; ++t)
        EXPECT_EQ(second->tiles.bg.tiles[t].pixels, first->tiles.bg.tiles[t].pixels) << t;
}
