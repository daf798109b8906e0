#include "core/reports/DuplicateTileReport.h"

#include "core/base/Format.h"

#include <array>

namespace qm {

std::string duplicateTileReportText(const TileSet& set, bool bgNames, Progress& progress)
{
    const char* prefix = bgNames ? "BG" : "OBJ";
    ProgressScope scope(progress, "analyzing tile...", TILES_PER_SET);
    // The pixel sums only save comparing tiles that cannot be equal.
    std::array<int, TILES_PER_SET> sums{};
    for (size_t t = 0; t < TILES_PER_SET; ++t)
        for (std::uint8_t p : set.tiles[t].pixels)
            sums[t] += p;
    std::array<bool, TILES_PER_SET> marked{};
    std::string text;
    for (int i = 0; i < TILES_PER_SET - 1; ++i) {
        scope.step();
        if (marked[static_cast<size_t>(i)])
            continue;
        for (int j = i + 1; j < TILES_PER_SET; ++j) {
            const auto a = static_cast<size_t>(i);
            const auto b = static_cast<size_t>(j);
            if (marked[b] || sums[b] != sums[a] || set.tiles[b].pixels != set.tiles[a].pixels)
                continue;
            text += formatText("%s%d: %d = %s%d: %d\r\n", prefix, i / TILES_PER_BANK, i % TILES_PER_BANK, prefix,
                               j / TILES_PER_BANK, j % TILES_PER_BANK);
            marked[b] = true;
        }
    }
    scope.step();
    return text;
}

} // namespace qm
