#pragma once
// The map: width x height cells, row-major (cell (x, y) at y * width + x).

#include "core/project/MapCell.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class MapGrid {
public:
    // The largest map we agree to hold: 16M cells (4096 x 4096). Larger
    // requests fail like an allocation failure instead of exhausting memory.
    static constexpr std::int64_t MAX_CELLS = std::int64_t(1) << 24;

    int width = 0;
    int height = 0;
    std::vector<MapCell> cells;

    bool hasCells() const { return !cells.empty(); }
    // True when a w x h grid may be allocated (non-negative, each side and the
    // cell count within MAX_CELLS).
    static bool sizeAllowed(std::int64_t w, std::int64_t h);

    // w x h cleared cells. On failure the grid is left exactly as it was.
    bool create(int w, int h);
    // Why create(w, h) failed: "Not enought memory to create %dx%d map",
    // followed by the limit the size is over or the system's reason.
    static std::string createFailureText(int w, int h);

    MapCell* cellAt(int x, int y)
    {
        return inside(x, y) ? &cells[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]
                            : nullptr;
    }
    const MapCell* cellAt(int x, int y) const { return const_cast<MapGrid*>(this)->cellAt(x, y); }
    bool setCell(int x, int y, const MapCell& cell);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    void deleteColumn(int x);
    void deleteRow(int y);
    // n cleared rows before row y, or after the last row when y is the last row.
    bool insertRows(int y, int n);
    // n cleared columns before column x, or after the last column when x is the last.
    bool insertColumns(int x, int n);

    enum class ResizeResult { Done, OutOfMemory };
    // The Map Properties change: when cut, shrinking dimensions lose their
    // columns and rows (never below 1); growing ones get blank cells.
    ResizeResult resize(int w, int h, bool cut);
};

} // namespace qm
