// Reading and writing a 1024 x 1024 project (7.3 MB of cells).

#include "core/base/FileIO.h"
#include "core/project/ProjectFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

using namespace qm;

namespace {

std::unique_ptr<Workspace> bigWorkspace(const std::string& path)
{
    auto ws = std::make_unique<Workspace>();
    ws->project.projectPath = path;
    ws->project.map.create(1024, 1024);
    std::uint32_t seed = 12345;
    for (MapCell& c : ws->project.map.cells) {
        seed = seed * 1103515245u + 12345u;
        c.set(static_cast<std::uint8_t>(0x40 | ((seed >> 8) & 0x1F)), static_cast<std::uint16_t>((seed >> 12) & 511),
              static_cast<std::uint8_t>(0x80 | ((seed >> 3) & 0x1F)), static_cast<std::uint16_t>((seed >> 20) & 511),
              static_cast<std::uint8_t>(seed >> 24));
    }
    return ws;
}

std::string benchPath()
{
    return (std::filesystem::temp_directory_path() / "quiltmark-bench.qmm").string();
}

void BM_WriteProject1024(benchmark::State& state)
{
    const std::string path = benchPath();
    auto ws = bigWorkspace(path);
    NullProgress quiet;
    for (auto _ : state) {
        if (!writeProject(*ws, quiet))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteProject1024)->Unit(benchmark::kMillisecond);

void BM_ReadProject1024(benchmark::State& state)
{
    const std::string path = benchPath();
    {
        auto ws = bigWorkspace(path);
        NullProgress quiet;
        writeProject(*ws, quiet);
    }
    auto target = std::make_unique<Workspace>();
    FixedPrompter prompter(Answer::No);
    NullProgress quiet;
    for (auto _ : state) {
        if (!readProject(path, *target, prompter, quiet))
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadProject1024)->Unit(benchmark::kMillisecond);

} // namespace
