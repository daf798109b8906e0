#include "core/project/CellInfo.h"
#include "core/project/Workspace.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

// Both layers, the held keys and the selection text through the view are pinned by the ui's
// CQuiltmarkViewTest; these are the flips, priorities, comments and refusals it does not reach.
TEST(CellInfo, TheHeldKeyChoosesTheLayerOfTheStatusText)
{
    auto ws = std::make_unique<Workspace>();
    ASSERT_TRUE(ws->project.map.create(4, 3));
    MapCell& both = *ws->project.map.cellAt(1, 2);
    both.place(TILE_BG, 300, 3);
    both.bgAttr |= ATTR_FLIP_H | ATTR_FLIP_V | ATTR_PRIORITY;
    both.place(TILE_OBJ, 12, 6);
    both.objAttr |= ATTR_FLIP_V;
    both.tag = 17;
    ws->tiles.bg.tiles[300].setComment("grass");
    ws->project.map.cellAt(0, 0)->place(TILE_OBJ, 256, 0); // the first tile of bank 1
    ws->project.map.cellAt(0, 0)->objAttr |= ATTR_FLIP_H | ATTR_PRIORITY;
    ws->project.map.cellAt(2, 0)->set(TILE_BG, 600, 0, 0, 0); // no such tile: the pane stays as it is
    const struct {
        int x, y;
        bool b, o;
        std::optional<std::string> text;
    } cases[] = {
        {1, 2, true, false, "x:1 y:2 Tile Set:BG1 Tile:44 Pal:3 Tag:17 Flip:h,v Priority:BG Comment:grass"},
        {1, 2, true, true, "x:1 y:2 Tile Set:OBJ0 Tile:12 Pal:6 Tag:17 Flip:v Priority:BG Comment:"},
        {0, 0, false, false, "x:0 y:0 Tile Set:OBJ1 Tile:0 Pal:0 Tag:0 Flip:h Priority:OBJ Comment:"},
        {4, 0, false, false, std::nullopt},
        {2, 0, false, false, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellInfoText(ws->project.map, ws->tiles, c.x, c.y, c.b, c.o), c.text) << c.x << "," << c.y;
}
