// Exporting every map file of a 1024 x 1024 map: BG and OBJ map data, both
// attribute maps, the tag map and the run-length tag map. Target: under 40 ms
// for the whole page. As C source, the map data of a 1024 x 1024 map (a
// 1 MiB array, 6 MiB of text): under 150 ms.

#include "core/export/MapExport.h"
#include "core/export/TagRleExport.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

qm::MapGrid bigMap()
{
    qm::MapGrid map;
    map.create(1024, 1024);
    std::mt19937 rng(1);
    for (qm::MapCell& c : map.cells) {
        c.set(static_cast<std::uint8_t>(qm::TILE_BG | (rng() & 0x3F)), static_cast<std::uint16_t>(rng() % 512),
              static_cast<std::uint8_t>(qm::TILE_OBJ | (rng() & 0x3F)), static_cast<std::uint16_t>(rng() % 512),
              static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() % 16 : 0));
    }
    return map;
}

class Directory {
public:
    explicit Directory(const std::filesystem::path& parent)
    {
        path_ = parent / ("qmbench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directory(path_);
    }
    ~Directory()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void exportSettings(qm::ExportSettings& s, std::uint16_t structure)
{
    s.mapFlags = static_cast<std::uint16_t>(qm::MAP_EXPORT_BG | qm::MAP_EXPORT_OBJ | qm::MAP_EXPORT_BG_ATTR |
                                            qm::MAP_EXPORT_OBJ_ATTR | qm::MAP_EXPORT_TAG | qm::MAP_RLE_TAG |
                                            qm::MAP_ONE_FILE | structure);
}

void exportEveryMapFile(benchmark::State& state, const std::filesystem::path& parent)
{
    const qm::MapGrid map = bigMap();
    Directory dir(parent);
    qm::ExportSettings s;
    s.mapLocation = dir.path();
    exportSettings(s, static_cast<std::uint16_t>(state.range(0)));
    qm::FixedPrompter prompter;
    qm::NullProgress progress;
    for (auto _ : state) {
        const qm::ExportReport report = qm::exportMapPage(map, s, prompter, progress);
        if (!report.allWritten())
            state.SkipWithError("export failed");
    }
}
// Into the temporary directory: each file is synced to the disk before it
// replaces the old one, which is most of the time on a slow disk.
void BM_ExportEveryMapFile(benchmark::State& state)
{
    exportEveryMapFile(state, std::filesystem::temp_directory_path());
}
BENCHMARK(BM_ExportEveryMapFile)->Arg(qm::MAP_8BIT)->Arg(0)->Arg(qm::MAP_8BIT | qm::MAP_ROTATE_90)
    ->Unit(benchmark::kMillisecond);

// Into a memory file system (where there is one), without the disk's sync time.
void BM_ExportEveryMapFileToMemory(benchmark::State& state)
{
    std::error_code ec;
    if (!std::filesystem::is_directory("/dev/shm", ec)) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    exportEveryMapFile(state, "/dev/shm");
}
BENCHMARK(BM_ExportEveryMapFileToMemory)->Arg(qm::MAP_8BIT)->Arg(0)->Arg(qm::MAP_8BIT | qm::MAP_ROTATE_90)
    ->Unit(benchmark::kMillisecond);

// The BG map data (0: one layer) or every map file (1) as C or assembly source,
// into the temporary directory.
void BM_ExportMapAsSource(benchmark::State& state)
{
    const qm::MapGrid map = bigMap();
    Directory dir(std::filesystem::temp_directory_path());
    qm::ExportSettings s;
    s.mapLocation = dir.path();
    if (state.range(1))
        exportSettings(s, qm::MAP_8BIT);
    else
        s.mapFlags = qm::MAP_EXPORT_BG | qm::MAP_ONE_FILE | qm::MAP_8BIT;
    const auto format = static_cast<qm::ExportFormat>(state.range(0));
    qm::FixedPrompter prompter;
    qm::NullProgress progress;
    for (auto _ : state) {
        const qm::ExportReport report = qm::exportMapPage(map, s, prompter, progress, format);
        if (!report.allWritten())
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportMapAsSource)
    ->Args({int(qm::ExportFormat::C), 0})
    ->Args({int(qm::ExportFormat::Asm), 0})
    ->Args({int(qm::ExportFormat::C), 1})
    ->Unit(benchmark::kMillisecond);

// The same streams without the disk, to tell encoding time from writing time.
void BM_EncodeEveryMapStream(benchmark::State& state)
{
    const qm::MapGrid map = bigMap();
    for (auto _ : state) {
        for (auto layer : {qm::TILE_BG, qm::TILE_OBJ}) {
            benchmark::DoNotOptimize(qm::mapStream(map, qm::MAP_8BIT, layer, qm::MapEntryKind::Data, false));
            benchmark::DoNotOptimize(qm::mapStream(map, qm::MAP_8BIT, layer, qm::MapEntryKind::Attribute, false));
        }
        benchmark::DoNotOptimize(qm::mapStream(map, qm::MAP_8BIT, qm::TILE_TAG, qm::MapEntryKind::Tag, false));
        benchmark::DoNotOptimize(qm::encodeTagRle(map));
    }
}
BENCHMARK(BM_EncodeEveryMapStream)->Unit(benchmark::kMillisecond);

} // namespace
