// Rendering the map images: a whole 1024 x 1024 map, one screen of it, and
// single cells.

#include "BenchSupport.h"
#include "core/project/Workspace.h"
#include "core/render/MapRenderer.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

// Both images of the whole map drawn, as the command line draws them: a band
// of cell rows at a time into a buffer that is used again.
void BM_RenderBothImages1024(benchmark::State& state)
{
    auto ws = makeWorkspace(1024, 1024);
    qm::MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objTransparent = state.range(0) != 0;
    renderer.reset();
    std::vector<std::uint8_t> band(1024 * 8 * 64 * 8);
    for (auto _ : state) {
        for (qm::MapImage image : {qm::MapImage::Map, qm::MapImage::Tags})
            for (int y = 0; y < 1024; y += 64)
                renderer.drawRows(image, y, 64, band.data(), 1024 * 8);
        benchmark::DoNotOptimize(band.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderBothImages1024)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What a reset costs: the blocks of one 1920 x 1080 screen drawn afresh.
void BM_CreateAndRenderImages1024(benchmark::State& state)
{
    auto ws = makeWorkspace(1024, 1024);
    std::vector<std::uint8_t> screen(1920 * 1080);
    for (auto _ : state) {
        qm::MapRenderer renderer(ws->project.map, ws->tiles);
        renderer.reset();
        renderer.readPixels(qm::MapImage::Map, 4096 - 960, 4096 - 540, 1920, 1080, screen.data(), 1920);
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_CreateAndRenderImages1024)->Unit(benchmark::kMillisecond);

// One cell of a cached block rendered again, as after a pencil stroke.
void BM_RenderCell(benchmark::State& state)
{
    auto ws = makeWorkspace(256, 256);
    qm::MapRenderer renderer(ws->project.map, ws->tiles);
    renderer.objTransparent = true;
    renderer.reset();
    std::vector<std::uint8_t> all(2048 * 2048);
    renderer.readPixels(qm::MapImage::Map, 0, 0, 2048, 2048, all.data(), 2048); // every block cached
    std::mt19937 rng(3);
    std::vector<std::pair<int, int>> cells(4096);
    for (auto& c : cells)
        c = {static_cast<int>(rng() % 256), static_cast<int>(rng() % 256)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& c = cells[i++ & 4095];
        renderer.renderCell(c.first, c.second);
    }
    benchmark::DoNotOptimize(renderer.mapPixel(0, 0));
}
BENCHMARK(BM_RenderCell);

// Resident memory of a 1024 x 1024 map with one screen of both images drawn,
// above what the process held before (reported as counters in MB). Run it
// alone (--benchmark_filter=Memory): memory freed by earlier benchmarks stays
// with the process and would hide part of the figure.
void BM_MemoryOf1024Map(benchmark::State& state)
{
    for (auto _ : state) {
        const long before = qm::bench::residentKb("VmRSS:");
        auto ws = makeWorkspace(1024, 1024);
        qm::MapRenderer renderer(ws->project.map, ws->tiles);
        renderer.reset();
        std::vector<std::uint8_t> screen(1920 * 1080);
        for (qm::MapImage image : {qm::MapImage::Map, qm::MapImage::Tags})
            renderer.readPixels(image, 0, 0, 1920, 1080, screen.data(), 1920);
        state.counters["residentMB"] = double(qm::bench::residentKb("VmRSS:") - before) / 1024.0;
        state.counters["peakMB"] = double(qm::bench::residentKb("VmHWM:")) / 1024.0;
    }
}
BENCHMARK(BM_MemoryOf1024Map)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
