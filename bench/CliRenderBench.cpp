// `quiltmark-cli render` of a 1024 x 1024 map (random, and the demo project
// repeated) and of a random 4096 x 4096 map, run as the build tools run it: a
// process of its own. Reported: its time and its peak
// memory (counters peakMB and pngMB). Targets: 1024 x 1024 under 1.5 s and
// 100 MB; 4096 x 4096 under 400 MB.

#include "core/project/ProjectFile.h"
#include "core/tiles/TileSetFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A project with random tiles, and every cell a random BG tile, an OBJ tile in
// every third and a random tag, with its two tile set files.
fs::path writeRandomProject(const fs::path& dir, int side)
{
    qm::Workspace ws;
    ws.project.projectPath = (dir / "map.qmm").string();
    ws.project.bgTileSetPath = (dir / "map.qmb").string();
    ws.project.objTileSetPath = (dir / "map.qmo").string();
    ws.project.map.create(side, side);
    std::mt19937 rng(7);
    for (qm::TileSet* set : {&ws.tiles.bg, &ws.tiles.obj, &ws.tiles.tag})
        for (qm::CTile& t : set->tiles)
            for (auto& p : t.pixels)
                p = static_cast<std::uint8_t>(rng() & 3);
    for (qm::MapCell& c : ws.project.map.cells) {
        c.place(qm::TILE_BG, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
        c.bgAttr |= static_cast<std::uint8_t>(rng() & 3);
        if (rng() % 3 == 0)
            c.place(qm::TILE_OBJ, static_cast<int>(rng() % 512), static_cast<int>(rng() % 8));
        c.tag = static_cast<std::uint8_t>(rng());
    }
    qm::NullProgress quiet;
    qm::writeProject(ws, quiet);
    qm::saveTileSetFile(ws.project.bgTileSetPath, qm::TILE_BG, ws.tiles, quiet);
    qm::saveTileSetFile(ws.project.objTileSetPath, qm::TILE_OBJ, ws.tiles, quiet);
    return dir / "map.qmm";
}

// The demo project of examples/ repeated over a side x side map: the tiles and
// cells of a real game's screens.
fs::path writeDemoProject(const fs::path& dir, int side)
{
    qm::Workspace demo;
    qm::FixedPrompter no(qm::Answer::No);
    qm::NullProgress quiet;
    if (!qm::readProject(QM_EXAMPLES_DIR "/demo.qmm", demo, no, quiet))
        return {};
    qm::Workspace ws;
    ws.project.projectPath = (dir / "map.qmm").string();
    ws.project.bgTileSetPath = (dir / "map.qmb").string();
    ws.project.objTileSetPath = (dir / "map.qmo").string();
    ws.tiles = demo.tiles;
    ws.project.map.create(side, side);
    const qm::MapGrid& from = demo.project.map;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            *ws.project.map.cellAt(x, y) = *from.cellAt(x % from.width, y % from.height);
    qm::writeProject(ws, quiet);
    qm::saveTileSetFile(ws.project.bgTileSetPath, qm::TILE_BG, ws.tiles, quiet);
    qm::saveTileSetFile(ws.project.objTileSetPath, qm::TILE_OBJ, ws.tiles, quiet);
    return dir / "map.qmm";
}

// Arg 0: the side of the map; arg 1: 0 random cells and tiles, 1 the demo.
void BM_CliRender(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const fs::path dir = fs::temp_directory_path() / ("qm-cli-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string project =
        (state.range(1) ? writeDemoProject(dir, side) : writeRandomProject(dir, side)).string();
    const std::string png = (dir / "map.png").string();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(QM_CLI_PATH, QM_CLI_PATH, "render", project.c_str(), png.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("quiltmark-cli render failed");
        state.counters["peakMB"] = double(usage.ru_maxrss) / 1024.0;
        // The machine may be shared: the processor time of the program too.
        state.counters["cpuMs"] = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                                  double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    state.counters["pngMB"] = double(fs::file_size(png)) / (1 << 20);
    if (!std::getenv("QM_KEEP_BENCH_FILES"))
        fs::remove_all(dir);
}
BENCHMARK(BM_CliRender)->Args({1024, 0})->Args({1024, 1})->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliRender)->Args({4096, 0})->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
