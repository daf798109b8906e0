// Bitmap import of a 2048 x 2048 four-colour picture with 512 distinct 8x8 blocks.

#include "core/import/BitmapImport.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 4-bit bitmap whose first four pixels are the key colours 0..3. Block b
// shows pattern b % 512 in nine pixels of its second and third rows; the key
// pixels of block 0 become colour 0 in the import, so the picture holds
// exactly 512 distinct blocks.
std::vector<std::uint8_t> pictureBytes(int size)
{
    const int blocks = size / 8;
    std::vector<std::uint8_t> indices(static_cast<size_t>(size) * size, 0);
    for (int by = 0; by < blocks; ++by)
        for (int bx = 0; bx < blocks; ++bx) {
            const int p = (by * blocks + bx) % 512;
            for (int i = 0; i < 9; ++i) {
                const int x = bx * 8 + i % 8, y = by * 8 + 1 + i / 8;
                indices[static_cast<size_t>(y) * size + x] = static_cast<std::uint8_t>(((p >> i) & 1) ? 2 : 1);
            }
            indices[static_cast<size_t>(by * 8 + 7) * size + bx * 8 + 7] = 3;
        }
    for (int i = 0; i < 4; ++i)
        indices[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i);

    const size_t stride = static_cast<size_t>(size) / 2;
    std::vector<std::uint8_t> b = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 4 * 4;
    put32(b, offset + static_cast<std::uint32_t>(stride * size));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(size));
    put32(b, static_cast<std::uint32_t>(size));
    put16(b, 1);
    put16(b, 4);
    put32(b, 0);
    put32(b, static_cast<std::uint32_t>(stride * size));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 4);
    put32(b, 0);
    for (std::uint32_t c : {0x000000u, 0x606060u, 0xB0B0B0u, 0xF8F8F8u})
        put32(b, c);
    for (int fileRow = 0; fileRow < size; ++fileRow) {
        const std::uint8_t* row = indices.data() + static_cast<size_t>(size - 1 - fileRow) * size;
        for (size_t x = 0; x < stride; ++x)
            b.push_back(static_cast<std::uint8_t>((row[2 * x] << 4) | row[2 * x + 1]));
    }
    return b;
}

void BM_ImportBitmap2048(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = pictureBytes(2048);
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<qm::Workspace>();
        ws->project.map.create(20, 18);
        state.ResumeTiming();
        qm::BitmapImportSummary summary;
        const qm::Result r = qm::importBitmapBytes(bytes, *ws, qm::TILE_BG, &summary);
        if (!r || summary.tilesMade != 512)
            state.SkipWithError("the import did not make 512 tiles");
        benchmark::DoNotOptimize(ws->project.map.cells.data());
    }
}
BENCHMARK(BM_ImportBitmap2048)->Unit(benchmark::kMillisecond);

} // namespace
