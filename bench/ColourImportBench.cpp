// GBC import of a 1024 x 1024-pixel PNG picture with 512 distinct 8x8 blocks
// in 8 palettes of 4 colours: decoding, planning and replacing the project's
// map, BG tiles and palettes. Target: under 300 ms.

#include "core/base/PngWriter.h"
#include "core/import/BitmapImport.h"
#include "core/import/PictureFile.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// Block b shows the 9 bits of (b / 8) % 64 ... in pixels of its second and
// third rows, palette b % 8 (colours 4p..4p+3), and every colour of it; the
// pattern and the palette together repeat every 512 blocks.
std::vector<std::uint8_t> pictureBytes(int size)
{
    const int blocks = size / 8;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(size) * size);
    for (int by = 0; by < blocks; ++by)
        for (int bx = 0; bx < blocks; ++bx) {
            const int b = (by * blocks + bx) % 512;
            const int base = (b % 8) * 4;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const int i = y * 8 + x;
                    int c = y == 7 ? x % 4 : 0;
                    if (i >= 8 && i < 17)
                        c = ((b >> (i - 8)) & 1) ? 2 : 1;
                    pixels[static_cast<size_t>(by * 8 + y) * size + bx * 8 + x] = static_cast<std::uint8_t>(base + c);
                }
        }
    std::vector<qm::PngColour> table;
    for (int c = 0; c < 32; ++c)
        table.push_back(qm::PngColour{static_cast<std::uint8_t>(c * 8), static_cast<std::uint8_t>(255 - c * 4),
                                      static_cast<std::uint8_t>((c % 4) * 64)});
    return qm::encodeIndexedPng(size, size, pixels.data(), static_cast<size_t>(size), table);
}

void BM_GbcImport1024(benchmark::State& state)
{
    const std::vector<std::uint8_t> png = pictureBytes(1024);
    qm::PictureImportOptions options;
    options.mode = qm::PictureMode::Gbc;
    options.placement = qm::MapPlacement::Replace;
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<qm::Workspace>();
        state.ResumeTiming();
        qm::BitmapImage image;
        qm::BitmapImportSummary summary;
        if (!qm::readPicture(png, "bench.png", image) || !qm::importPicture(image, *ws, options, &summary) ||
            summary.tilesMade != 512 || summary.palettes != 8)
            state.SkipWithError("the import did not make 512 tiles in 8 palettes");
        benchmark::DoNotOptimize(ws->project.map.cells.data());
    }
}
BENCHMARK(BM_GbcImport1024)->Unit(benchmark::kMillisecond);

} // namespace
