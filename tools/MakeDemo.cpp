// Writes the demo project: a small Game Boy Color scene that shows BG and OBJ
// tiles, eight palettes of each, flipped tiles, a tile of bank 1, priority
// bits and tags.
//
//     make_demo OUTPUT_DIR     writes demo.qmm, demo_bg.qmb and demo_obj.qmo

#include "core/base/Progress.h"
#include "core/project/ProjectFile.h"
#include "core/tiles/DefaultTagTiles.h"
#include "core/tiles/TileSetFile.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace qm;

namespace {

// BG tile numbers.
enum Bg {
    GRASS = 0, TUFT, SKY, CLOUD, WATER, BRICK, WINDOW, DOOR, ROOF_EDGE, ROOF, TREE_TOP, TREE_FOOT, PATH,
    WATER_EDGE, FLOWER = 256 // in bank 1
};
// OBJ tile numbers.
enum Obj { HERO = 0, CHEST, COIN, SLIME };

// BG palettes.
enum BgPal { P_GRASS = 0, P_SKY, P_WATER, P_HOUSE, P_FLOWER, P_PATH, P_TREE, P_ROOF };
// OBJ palettes.
enum ObjPal { O_HERO_GRASS = 0, O_GOLD, O_SLIME, O_HERO_PATH, O_RED_SLIME };

// Tags: what a game would read from the tag map.
enum Tag { T_NONE = 0, T_WATER = 1, T_WALL = 2, T_ITEM = 3, T_ENEMY = 4, T_DOOR = 5 };

void draw(TileSet& set, int index, const char* rows[8], int palette, const char* comment)
{
    CTile& t = set.tiles[static_cast<size_t>(index)];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            t.setPixel(x, y, static_cast<std::uint8_t>(rows[y][x] - '0'));
    t.setPalette(palette);
    t.setComment(comment);
}

void palette(GbcPaletteGroup& group, int p, GbcColor c0, GbcColor c1, GbcColor c2, GbcColor c3)
{
    group[static_cast<size_t>(p)] = {c0, c1, c2, c3};
}

void drawTiles(TileLibrary& lib)
{
    TileSet& bg = lib.bg;
    const char* grass[8] = {"00000000", "00010000", "00000000", "00000100",
                            "01000000", "00000000", "00000010", "00100000"};
    const char* tuft[8] = {"00000000", "00000000", "00200200", "01202100",
                           "01212120", "00000000", "00000000", "00000000"};
    const char* sky[8] = {"00000000", "00000000", "00000000", "00000000",
                          "00000000", "00000000", "00000000", "00000000"};
    const char* cloud[8] = {"00000000", "00000111", "00011111", "00111111",
                            "01111111", "11111111", "22222222", "00000000"};
    const char* water[8] = {"00000000", "00110000", "01001100", "00000000",
                            "00000011", "00001100", "00110000", "00000000"};
    const char* waterEdge[8] = {"33333333", "22222222", "00000000", "00110000",
                                "01001100", "00000000", "00000011", "00001100"};
    const char* brick[8] = {"11121112", "11121112", "22222222", "12111211",
                            "12111211", "22222222", "11121112", "11121112"};
    const char* window[8] = {"11111111", "13333331", "13003001", "13003001",
                             "13333331", "13003001", "13333331", "11111111"};
    const char* door[8] = {"12222221", "23333332", "23333332", "23333332",
                           "23330332", "23333332", "23333332", "23333332"};
    const char* roofEdge[8] = {"00000001", "00000012", "00000121", "00001212",
                               "00012121", "00121212", "01212121", "12121212"};
    const char* roof[8] = {"11111111", "21112111", "22222222", "11111111",
                           "11211121", "22222222", "11111111", "21112111"};
    const char* treeTop[8] = {"00001111", "00111112", "01111122", "01111212",
                              "11112122", "11111222", "01122222", "00122220"};
    const char* treeFoot[8] = {"00122222", "00012222", "00001122", "00000033",
                               "00000033", "00000033", "00000333", "00003333"};
    const char* path[8] = {"00000000", "00010000", "00000010", "01000000",
                           "00000000", "00002000", "00000001", "00100000"};
    const char* flower[8] = {"00100000", "01210000", "00100100", "00301210",
                             "00300100", "00000300", "01000300", "12100000"};
    draw(bg, GRASS, grass, P_GRASS, "grass");
    draw(bg, TUFT, tuft, P_GRASS, "grass tuft");
    draw(bg, SKY, sky, P_SKY, "sky");
    draw(bg, CLOUD, cloud, P_SKY, "cloud, left half (flip for right)");
    draw(bg, WATER, water, P_WATER, "pond");
    draw(bg, WATER_EDGE, waterEdge, P_WATER, "pond, top bank");
    draw(bg, BRICK, brick, P_HOUSE, "brick wall");
    draw(bg, WINDOW, window, P_HOUSE, "window");
    draw(bg, DOOR, door, P_HOUSE, "door");
    draw(bg, ROOF_EDGE, roofEdge, P_ROOF, "roof, left edge (flip for right)");
    draw(bg, ROOF, roof, P_ROOF, "roof");
    draw(bg, TREE_TOP, treeTop, P_TREE, "tree crown, left (flip for right)");
    draw(bg, TREE_FOOT, treeFoot, P_TREE, "tree trunk, left (flip for right)");
    draw(bg, PATH, path, P_PATH, "dirt path");
    draw(bg, FLOWER, flower, P_FLOWER, "flowers (bank 1)");

    TileSet& obj = lib.obj;
    const char* hero[8] = {"00333300", "03111130", "03131130", "03111130",
                           "00322300", "03222230", "00222200", "00300300"};
    const char* chest[8] = {"00000000", "03333330", "32222223", "32222223",
                            "33313333", "32212223", "32222223", "03333330"};
    const char* coin[8] = {"00000000", "00333300", "03112130", "03121130",
                           "03121130", "03112130", "00333300", "00000000"};
    const char* slime[8] = {"00000000", "00000000", "00333300", "03111130",
                            "31313113", "31111113", "32222223", "03333330"};
    draw(obj, HERO, hero, O_HERO_GRASS, "hero");
    draw(obj, CHEST, chest, O_GOLD, "chest");
    draw(obj, COIN, coin, O_GOLD, "coin");
    draw(obj, SLIME, slime, O_SLIME, "slime");

    // Colours: 5 bits a component.
    const GbcColor grassLight{18, 27, 10}, grassMid{12, 22, 6}, grassDark{6, 14, 4}, ink{2, 5, 3};
    const GbcColor pathLight{26, 22, 14};
    GbcPaletteGroup& b = lib.palettes.bgPalettes;
    palette(b, P_GRASS, grassLight, grassMid, grassDark, ink);
    palette(b, P_SKY, {14, 22, 31}, {31, 31, 31}, {20, 24, 31}, {8, 12, 24});
    palette(b, P_WATER, {8, 18, 28}, {16, 25, 31}, {24, 29, 31}, {12, 22, 6});
    palette(b, P_HOUSE, {27, 22, 15}, {22, 10, 6}, {14, 6, 4}, {5, 4, 8});
    palette(b, P_FLOWER, grassLight, {31, 6, 12}, {31, 26, 0}, grassDark);
    palette(b, P_PATH, pathLight, {22, 17, 10}, {16, 12, 7}, {8, 6, 4});
    palette(b, P_TREE, grassLight, {8, 20, 6}, {4, 12, 3}, {12, 7, 3});
    palette(b, P_ROOF, grassLight, {26, 9, 6}, {17, 4, 4}, {6, 2, 2});
    GbcPaletteGroup& o = lib.palettes.objPalettes;
    palette(o, O_HERO_GRASS, grassLight, {31, 26, 20}, {6, 10, 26}, {2, 2, 6});
    palette(o, O_GOLD, grassLight, {31, 28, 6}, {20, 12, 4}, {6, 4, 2});
    palette(o, O_SLIME, grassLight, {22, 12, 30}, {14, 5, 22}, {4, 2, 8});
    palette(o, O_HERO_PATH, pathLight, {31, 26, 20}, {6, 10, 26}, {2, 2, 6});
    palette(o, O_RED_SLIME, grassLight, {31, 14, 10}, {22, 6, 4}, {6, 2, 2});
    lib.palettes.recomputeAll();
    fillDefaultTagTiles(lib.tag);
}

MapCell bgCell(int tile, int pal, std::uint8_t flips = 0, std::uint8_t tag = T_NONE)
{
    MapCell c;
    c.place(TILE_BG, tile, pal);
    c.bgAttr |= flips;
    c.tag = tag;
    return c;
}

void putObj(MapGrid& map, int x, int y, int tile, int pal, std::uint8_t flips, std::uint8_t tag)
{
    MapCell* c = map.cellAt(x, y);
    const MapCell keep = *c;
    c->place(TILE_OBJ, tile, pal);
    c->objAttr |= flips;
    c->bgAttr = keep.bgAttr;
    c->bgTile = keep.bgTile;
    c->tag = tag;
}

void drawMap(MapGrid& map)
{
    map.create(20, 18);
    // Grass everywhere, a tuft here and there, sky on top.
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool tuft = (x * 7 + y * 3) % 11 == 0;
            map.setCell(x, y, y < 3 ? bgCell(SKY, P_SKY)
                                    : bgCell(tuft ? TUFT : GRASS, P_GRASS, (x + y) % 2 ? ATTR_FLIP_H : 0));
        }
    // Clouds: the right half is the left half flipped.
    for (auto [x, y] : {std::pair{3, 1}, {12, 0}, {16, 2}}) {
        map.setCell(x, y, bgCell(CLOUD, P_SKY));
        map.setCell(x + 1, y, bgCell(CLOUD, P_SKY, ATTR_FLIP_H));
    }
    // Trees of four cells from two tiles; their crowns have priority over sprites.
    for (auto [x, y] : {std::pair{1, 3}, {16, 4}, {1, 13}, {17, 14}, {4, 4}}) {
        MapCell top = bgCell(TREE_TOP, P_TREE, ATTR_PRIORITY, T_WALL);
        map.setCell(x, y, top);
        top.bgAttr |= ATTR_FLIP_H;
        map.setCell(x + 1, y, top);
        map.setCell(x, y + 1, bgCell(TREE_FOOT, P_TREE, 0, T_WALL));
        map.setCell(x + 1, y + 1, bgCell(TREE_FOOT, P_TREE, ATTR_FLIP_H, T_WALL));
    }
    // The house.
    map.setCell(7, 5, bgCell(ROOF_EDGE, P_ROOF, 0, T_WALL));
    for (int x = 8; x <= 10; ++x)
        map.setCell(x, 5, bgCell(ROOF, P_ROOF, 0, T_WALL));
    map.setCell(11, 5, bgCell(ROOF_EDGE, P_ROOF, ATTR_FLIP_H, T_WALL));
    for (int x = 7; x <= 11; ++x) {
        map.setCell(x, 6, bgCell(x == 8 || x == 10 ? WINDOW : BRICK, P_HOUSE, 0, T_WALL));
        map.setCell(x, 7, bgCell(x == 9 ? DOOR : BRICK, P_HOUSE, 0, x == 9 ? T_DOOR : T_WALL));
    }
    // Paths from the door down and across.
    for (int y = 8; y < 18; ++y)
        map.setCell(9, y, bgCell(PATH, P_PATH, y % 2 ? ATTR_FLIP_V : 0));
    for (int x = 0; x < 20; ++x)
        map.setCell(x, 12, bgCell(PATH, P_PATH, x % 2 ? ATTR_FLIP_H : 0));
    // The pond, its bank a row of its own tile.
    for (int y = 7; y <= 10; ++y)
        for (int x = 13; x <= 17; ++x)
            map.setCell(x, y, bgCell(y == 7 ? WATER_EDGE : WATER, P_WATER, (x + y) % 3 == 0 ? ATTR_FLIP_H : 0,
                                     T_WATER));
    // Flowers from bank 1, some mirrored.
    for (auto [x, y] : {std::pair{3, 9}, {6, 10}, {5, 15}, {12, 14}, {15, 16}, {2, 16}, {7, 3}, {11, 9}}) {
        map.setCell(x, y, bgCell(FLOWER, P_FLOWER, (x % 2) ? ATTR_FLIP_H : 0));
    }

    // Sprites, each on its own OBJ palette.
    putObj(map, 9, 13, HERO, O_HERO_PATH, 0, T_NONE);
    putObj(map, 4, 10, CHEST, O_GOLD, 0, T_ITEM);
    putObj(map, 15, 11, COIN, O_GOLD, 0, T_ITEM);
    putObj(map, 16, 11, COIN, O_GOLD, 0, T_ITEM);
    putObj(map, 6, 14, COIN, O_GOLD, 0, T_ITEM);
    putObj(map, 12, 16, SLIME, O_SLIME, 0, T_ENEMY);
    putObj(map, 14, 14, SLIME, O_SLIME, ATTR_FLIP_H, T_ENEMY);
    putObj(map, 3, 7, SLIME, O_RED_SLIME, ATTR_FLIP_H, T_ENEMY);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(dir);

    Workspace ws;
    drawTiles(ws.tiles);
    drawMap(ws.project.map);
    ws.project.projectPath = (dir / "demo.qmm").string();
    ws.project.projectDir = dir.string();
    ws.project.bgTileSetPath = (dir / "demo_bg.qmb").string();
    ws.project.objTileSetPath = (dir / "demo_obj.qmo").string();
    ws.colours.grid = 0x00404040;

    NullProgress progress;
    for (const Result& r : {writeProject(ws, progress),
                            saveTileSetFile(ws.project.bgTileSetPath, TILE_BG, ws.tiles, progress),
                            saveTileSetFile(ws.project.objTileSetPath, TILE_OBJ, ws.tiles, progress)}) {
        if (!r) {
            std::fprintf(stderr, "make_demo: %s\n", r.text().c_str());
            return 1;
        }
    }
    std::printf("wrote %s\n", ws.project.projectPath.c_str());
    return 0;
}
