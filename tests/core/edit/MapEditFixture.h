#pragma once
// A workspace with a map, an undo store and a renderer bound to them, for the
// tests of the editing algorithms.

#include "core/edit/MapEdit.h"

#include <gtest/gtest.h>

#include <memory>
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
    void redoStep()
    {
        UndoListener listener;
        ASSERT_TRUE(undo.redo(*ws, listener));
    }

    std::unique_ptr<Workspace> ws;
    UndoStore undo;
    std::unique_ptr<MapRenderer> renderer;
};

} // namespace qm
