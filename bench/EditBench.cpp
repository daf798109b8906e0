// The bucket fill of a uniform 1024 x 1024 map (one million cells, each saved
// for undo and re-rendered as it is filled); the Undo and the Redo of that
// fill, each putting every cell back and rendering it again in both images;
// and the memory that 200 history entries of 256 x 256 fills hold.

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

// Times Undo (undo set) or Redo of the fill; the other one runs untimed.
void undoOrRedo(benchmark::State& state, bool undo)
{
    Editor editor;
    RenderingListener listener(*editor.renderer, editor.ws->project.map);
    editor.fill(4);
    const auto exchange = [&](bool back) {
        const qm::Result r = back ? editor.undo.undo(*editor.ws, listener) : editor.undo.redo(*editor.ws, listener);
        if (!r)
            state.SkipWithError("the step was not there");
    };
    for (auto _ : state) {
        if (!undo) {
            state.PauseTiming();
            exchange(true);
            state.ResumeTiming();
        }
        exchange(undo);
        if (undo) {
            state.PauseTiming();
            exchange(false);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * SIDE * SIDE);
}

void BM_UndoBucketFill(benchmark::State& state) { undoOrRedo(state, true); }
BENCHMARK(BM_UndoBucketFill)->Unit(benchmark::kMillisecond);

void BM_RedoBucketFill(benchmark::State& state) { undoOrRedo(state, false); }
BENCHMARK(BM_RedoBucketFill)->Unit(benchmark::kMillisecond);

// 200 fills of a uniform 256 x 256 map, each a history entry of 65536 cells,
// under the default budget: the counters report the entries kept and the
// megabytes they hold.
void BM_HistoryOf200Fills(benchmark::State& state)
{
    for (auto _ : state) {
        auto ws = std::make_unique<qm::Workspace>();
        ws->project.map.create(256, 256);
        qm::MapRenderer renderer(ws->project.map, ws->tiles);
        renderer.reset();
        qm::UndoStore undo;
        for (int i = 0; i < 200; ++i) {
            qm::MapEdit edit{*ws, undo, renderer, qm::TILE_BG};
            qm::bucketFill(edit, 0, 0, {qm::TILE_BG, 1 + i % 2, 0});
        }
        state.counters["entries"] = static_cast<double>(undo.size());
        state.counters["MB"] = static_cast<double>(undo.memoryUsed()) / (1 << 20);
        state.counters["budgetMB"] = static_cast<double>(undo.memoryBudget()) / (1 << 20);
    }
}
BENCHMARK(BM_HistoryOf200Fills)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
