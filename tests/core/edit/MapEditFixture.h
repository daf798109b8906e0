#pragma once
// A workspace with a map, an undo store and a renderer bound to them.

#include "core/edit/MapEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qm {

class MapEditTest : public ::testing::Test {
protected:
    void SetUp() override { makeMap(8, 6); }
    void makeMap(int w, int h)
    {
        ws = std::make_unique<Workspace>();
        ASSERT_TRUE(ws->project.map.create(w, h));
        renderer = std::make_unique<MapRenderer>(ws->project.map, ws->tiles);
        renderer->reset();
        renderer->renderAll();
    }
    MapEdit edit(TileKind layer = TILE_BG) { return MapEdit{*ws, undo, *renderer, layer}; }
    MapGrid& map() { return ws->project.map; }
    MapCell& cell(int x, int y) { return *map().cellAt(x, y); }
    // The tiles of a layer (the tags of the tag layer) row by row, "." where
    // the layer is empty: ". 5 .|7 . .|".
    std::string tiles(TileKind layer = TILE_BG)
    {
        std::string s;
        for (int i = 0; i < map().width * map().height; ++i) {
            const MapCell& c = map().cells[size_t(i)];
            const bool shown = layer == TILE_TAG || (layer == TILE_BG ? c.hasBg() : c.hasObj());
            s += shown ? std::to_string(layer == TILE_TAG ? c.tag : c.layerPart(layer).tile) : ".";
            s += (i + 1) % map().width ? " " : "|";
        }
        return s;
    }
    // Undo through a listener that re-renders like the view does.
    void undoStep()
    {
        struct Render : UndoListener {
            MapRenderer& r;
            explicit Render(MapRenderer& renderer) : r(renderer) {}
            void cellChanged(int x, int y) override { r.renderCell(x, y); }
        } listener(*renderer);
        ASSERT_TRUE(undo.undo(*ws, listener));
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    std::unique_ptr<MapRenderer> renderer;
};

} // namespace qm
