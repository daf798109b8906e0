// The bucket fill of a uniform 1024 x 1024 map (one million cells, each saved
// for undo and re-rendered as it is filled), and the Undo of that fill, which
// puts every cell back and renders it again in both images.

#include "core/edit/BucketFill.h"
#include "core/project/Workspace.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int SIDE = 1024;

struct Editor {
    Editor()
    {
        ws = std::make_unique<qm::Workspace>();
        ws->project.map.create(SIDE, SIDE);
        for (qm::MapCell& c : ws->project.map.cells)
            c.place(qm::TILE_BG, 3, 1);
        renderer = std::make_unique<qm::MapRenderer>(ws->project.map, ws->tiles);
        renderer->reset();
        renderer->renderAll();
    }
    qm::EditResult fill(int tile)
    {
        qm::MapEdit edit{*ws, undo, *renderer, qm::TILE_BG};
        return qm::bucketFill(edit, SIDE / 2, SIDE / 2, {qm::TILE_BG, tile, 2});
    }
    std::unique_ptr<qm::Workspace> ws;
    qm::UndoStore undo;
    std::unique_ptr<qm::MapRenderer> renderer;
};

// Re-renders like the map view: the map image and the tag image of each cell.
struct RenderingListener : qm::UndoListener {
    explicit RenderingListener(qm::MapRenderer& r, const qm::MapGrid& m) : renderer(r), map(m) {}
    void cellChanged(int x, int y) override
    {
        renderer.renderCell(x, y);
        renderer.renderTagCell(x, y);
    }
    void areaChanged(int x1, int y1, int x2, int y2) override
    {
        renderer.renderArea(x1, y1, x2, y2);
        renderer.renderTagArea(x1, y1, x2, y2);
    }
    qm::MapRenderer& renderer;
    const qm::MapGrid& map;
};

void BM_BucketFillUniformMap(benchmark::State& state)
{
    Editor editor;
    int tile = 4;
    for (auto _ : state) {
        const qm::EditResult r = editor.fill(tile);
        if (r.changed != SIDE * SIDE)
            state.SkipWithError("the fill did not reach every cell");
        tile = tile == 4 ? 3 : 4; // the next round fills back
        benchmark::DoNotOptimize(r.changed);
    }
    state.SetItemsProcessed(state.iterations() * SIDE * SIDE);
}
BENCHMARK(BM_BucketFillUniformMap)->Unit(benchmark::kMillisecond);

void BM_UndoBucketFill(benchmark::State& state)
{
    Editor editor;
    RenderingListener listener(*editor.renderer, editor.ws->project.map);
    editor.fill(4);
    bool undoNext = true;
    for (auto _ : state) {
        // Undo and Redo alternate on the same records and cost the same.
        const bool done = undoNext ? editor.undo.undo(*editor.ws, listener) : editor.undo.redo(*editor.ws, listener);
        if (!done)
            state.SkipWithError("nothing to undo");
        undoNext = !undoNext;
    }
    state.SetItemsProcessed(state.iterations() * SIDE * SIDE);
}
BENCHMARK(BM_UndoBucketFill)->Unit(benchmark::kMillisecond);

} // namespace
