#include "core/project/MapGrid.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace qm {

bool MapGrid::sizeAllowed(std::int64_t w, std::int64_t h)
{
    // Each side is bounded on its own too: a map 0 cells wide and two billion
    // rows high holds no cells, but everything that walks its rows would hang.
    return w >= 0 && h >= 0 && w <= MAX_CELLS && h <= MAX_CELLS && (w == 0 || h <= MAX_CELLS / w);
}

bool MapGrid::create(int w, int h)
{
    if (!sizeAllowed(w, h))
        return false;
    try {
        std::vector<MapCell> fresh(static_cast<size_t>(w) * static_cast<size_t>(h));
        cells.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

std::string MapGrid::createFailureText(int w, int h)
{
    const std::string text = formatText("Not enought memory to create %dx%d map", w, h);
    if (w < 0 || h < 0)
        return text;
    if (sizeAllowed(w, h))
        return withOsReason(text, ENOMEM);
    std::string limit = std::to_string(MAX_CELLS);
    for (int at = static_cast<int>(limit.size()) - 3; at > 0; at -= 3)
        limit.insert(static_cast<size_t>(at), ",");
    if (std::int64_t(w) * h <= MAX_CELLS)
        return text + formatText(": a side of %d cells is over the limit of %s cells", std::max(w, h), limit.c_str());
    return text + formatText(": %d \u00d7 %d cells is over the limit of %s cells", w, h, limit.c_str());
}

bool MapGrid::setCell(int x, int y, const MapCell& cell)
{
    MapCell* c = cellAt(x, y);
    if (!c)
        return false;
    *c = cell;
    return true;
}

void MapGrid::deleteColumn(int x)
{
    if (width <= 1 || x < 0 || x >= width)
        return;
    size_t out = 0;
    for (int y = 0; y < height; ++y)
        for (int cx = 0; cx < width; ++cx)
            if (cx != x)
                cells[out++] = cells[static_cast<size_t>(y) * width + cx];
    --width;
    cells.resize(static_cast<size_t>(width) * height);
}

void MapGrid::deleteRow(int y)
{
    if (height < 2 || y < 0 || y >= height)
        return;
    cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(y) * width,
                cells.begin() + static_cast<std::ptrdiff_t>(y + 1) * width);
    --height;
}

bool MapGrid::insertRows(int y, int n)
{
    if (n <= 0)
        return n == 0;
    if (!sizeAllowed(width, std::int64_t(height) + n))
        return false;
    // Inserting "at" the last row appends after it.
    const int at = (height > 0 && y >= height - 1) ? height : std::clamp(y, 0, height);
    try {
        std::vector<MapCell> fresh(static_cast<size_t>(width) * static_cast<size_t>(height + n));
        std::copy(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(at) * width, fresh.begin());
        std::copy(cells.begin() + static_cast<std::ptrdiff_t>(at) * width, cells.end(),
                  fresh.begin() + static_cast<std::ptrdiff_t>(at + n) * width);
        cells.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    height += n;
    return true;
}

bool MapGrid::insertColumns(int x, int n)
{
    if (n <= 0)
        return n == 0;
    if (!sizeAllowed(std::int64_t(width) + n, height))
        return false;
    const int c = (width > 0 && x >= width - 1) ? width : std::clamp(x, 0, width);
    const int newWidth = width + n;
    try {
        std::vector<MapCell> fresh(static_cast<size_t>(newWidth) * static_cast<size_t>(height));
        for (int row = 0; row < height; ++row) {
            auto src = cells.begin() + static_cast<std::ptrdiff_t>(row) * width;
            auto dst = fresh.begin() + static_cast<std::ptrdiff_t>(row) * newWidth;
            std::copy(src, src + c, dst);
            std::copy(src + c, src + width, dst + c + n);
        }
        cells.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    width = newWidth;
    return true;
}

MapGrid::ResizeResult MapGrid::resize(int w, int h, bool cut)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (cut) {
        // Whole columns and rows go at once; the result equals deleting column w
        // (and row h) one at a time, which never goes below 1.
        const int keepW = std::max(1, std::min(w, width));
        const int keepH = std::max(1, std::min(h, height));
        if ((keepW < width || keepH < height) && width > 0 && height > 0) {
            size_t out = 0;
            for (int y = 0; y < keepH; ++y)
                for (int x = 0; x < keepW; ++x)
                    cells[out++] = cells[static_cast<size_t>(y) * width + x];
            width = keepW;
            height = keepH;
            cells.resize(static_cast<size_t>(width) * height);
        }
    }
    ResizeResult result = ResizeResult::Done;
    if (h > height && !insertRows(height - 1, h - height))
        result = ResizeResult::OutOfMemory;
    if (w > width && !insertColumns(width - 1, w - width))
        result = ResizeResult::OutOfMemory;
    return result;
}

} // namespace qm
