// Rendering the map images: a whole 1024 x 1024 map, and single cells.

#include "core/project/Workspace.h"
#include "core/render/MapRenderer.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace {

// A map with a BG tile in every cell, an OBJ tile in every third, random
// flips, palettes, banks and tags, and tile sets of random pixels.
std::unique_ptr<qm::Workspace> makeWorkspace(int w, int h)
{
    auto ws = std::make_unique<qm::Workspace>();
    ws->project.map.create(w, h);
    std::mt19937 rng(7);
    for (qm::TileSet* set : {&ws->tiles.bg, &ws->tiles.obj, &ws->tiles.tag})
        for (qm::CTile& t : set->tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() & 3);
    for (qm::MapCell& c : ws->project.map.cells) {
        c.place(qm::TILE_BG, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
        c.bgAttr |= static_cast<std::uint8_t>(rng() & 3);
        if (rng() % 3 == 0) {
            c.place(qm::TILE_OBJ, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
            c.objAttr |= static_cast<std::uint8_t>(rng() & 3);
        }
        c.tag = static_cast<std::uint8_t>(rng());
    }
    return ws;
}

long residentKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return 0;
}

void BM_RenderBothImages1024(benchmark::State& state)
{
    auto ws = makeWorkspace(1024, 1024);
    qm::MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objTransparent = state.range(0) != 0;
    renderer.createImages();
    for (auto _ : state) {
        renderer.renderAll();
        benchmark::DoNotOptimize(renderer.mapImage());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderBothImages1024)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What a reset costs: fresh images and everything rendered into them.
void BM_CreateAndRenderImages1024(benchmark::State& state)
{
    auto ws = makeWorkspace(1024, 1024);
    for (auto _ : state) {
        qm::MapRenderer renderer(ws->project.map, ws->tiles);
        renderer.createImages();
        renderer.renderAll();
        benchmark::DoNotOptimize(renderer.mapImage());
    }
}
BENCHMARK(BM_CreateAndRenderImages1024)->Unit(benchmark::kMillisecond);

void BM_RenderCell(benchmark::State& state)
{
    auto ws = makeWorkspace(256, 256);
    qm::MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objTransparent = true;
    renderer.createImages();
    std::mt19937 rng(3);
    std::vector<std::pair<int, int>> cells(4096);
    for (auto& c : cells)
        c = {static_cast<int>(rng() % 256), static_cast<int>(rng() % 256)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& c = cells[i++ & 4095];
        renderer.renderCell(c.first, c.second);
    }
    benchmark::DoNotOptimize(renderer.mapImage());
}
BENCHMARK(BM_RenderCell);

// Resident memory of a 1024 x 1024 map with both images, above what the
// process held before (reported as counters in MB). Run it alone
// (--benchmark_filter=Memory): memory freed by earlier benchmarks stays with
// the process and would hide part of the figure.
void BM_MemoryOf1024Map(benchmark::State& state)
{
    for (auto _ : state) {
        const long before = residentKb("VmRSS:");
        auto ws = makeWorkspace(1024, 1024);
        qm::MapRenderer renderer(ws->project.map, ws->tiles);
        renderer.createImages();
        renderer.renderAll();
        state.counters["residentMB"] = double(residentKb("VmRSS:") - before) / 1024.0;
        state.counters["peakMB"] = double(residentKb("VmHWM:")) / 1024.0;
    }
}
BENCHMARK(BM_MemoryOf1024Map)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
