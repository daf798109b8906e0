#pragma once
// The zoom levels of the map view: level n draws cells of ZOOM_CELL_SIZES[n]
// screen pixels, listed in the zoom box under ZOOM_LABELS[n].

#include <array>

namespace qm {

inline constexpr int ZOOM_LEVELS = 11;
inline constexpr int DEFAULT_ZOOM_LEVEL = 2;
inline constexpr std::array<int, ZOOM_LEVELS> ZOOM_CELL_SIZES = {4, 6, 8, 10, 12, 14, 16, 24, 32, 40, 48};
inline constexpr std::array<const char*, ZOOM_LEVELS> ZOOM_LABELS = {
    "25%", "50%", "100%", "125%", "150%", "175%", "200%", "300%", "400%", "500%", "700%"};

// The cell size of a level; 0 for a value that is no level.
constexpr int cellSizeOfZoom(long long level)
{
    return level >= 0 && level < ZOOM_LEVELS ? ZOOM_CELL_SIZES[static_cast<size_t>(level)] : 0;
}

// The level drawing cells of this size; -1 when none does.
constexpr int zoomOfCellSize(int cellSize)
{
    for (int i = 0; i < ZOOM_LEVELS; ++i)
        if (ZOOM_CELL_SIZES[static_cast<size_t>(i)] == cellSize)
            return i;
    return -1;
}

// The largest level at which a map of width x height cells fits a client
// area together with the ruler row and column; level 0 when none does.
constexpr int zoomToFit(int width, int height, int clientWidth, int clientHeight)
{
    for (int level = ZOOM_LEVELS - 1; level > 0; --level) {
        const long long cell = ZOOM_CELL_SIZES[static_cast<size_t>(level)];
        if ((width + 1LL) * cell <= clientWidth && (height + 1LL) * cell <= clientHeight)
            return level;
    }
    return 0;
}

} // namespace qm
