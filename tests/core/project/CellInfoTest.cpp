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
    ws->project.map.cellAt(1, 2)->set(TILE_BG | 3 << 2 | ATTR_FLIP_H | ATTR_FLIP_V | ATTR_PRIORITY, 300,
                                      TILE_OBJ | 6 << 2 | ATTR_FLIP_V, 12, 17); // both layers
    ws->tiles.bg.tiles[300].setComment("grass");
    ws->project.map.cellAt(0, 0)->set(0, 0, TILE_OBJ | ATTR_FLIP_H | ATTR_PRIORITY, 256, 0); // the first tile of bank 1
    ws->project.map.cellAt(2, 0)->set(TILE_BG, 600, 0, 0, 0); // no such tile: the pane stays as it is
    const std::tuple<int, int, bool, bool, std::optional<std::string>> cases[] = { // x, y, B held, O held, the text
        {1, 2, true, false, "x:1 y:2 Tile Set:BG1 Tile:44 Pal:3 Tag:17 Flip:h,v Priority:BG Comment:grass"},
        {1, 2, true, true, "x:1 y:2 Tile Set:OBJ0 Tile:12 Pal:6 Tag:17 Flip:v Priority:BG Comment:"},
        {0, 0, false, false, "x:0 y:0 Tile Set:OBJ1 Tile:0 Pal:0 Tag:0 Flip:h Priority:OBJ Comment:"},
        {4, 0, false, false, std::nullopt},
        {2, 0, false, false, std::nullopt},
    };
    for (const auto& [x, y, b, o, text] : cases)
        EXPECT_EQ(cellInfoText(ws->project.map, ws->tiles, x, y, b, o), text) << x << "," << y;
}
