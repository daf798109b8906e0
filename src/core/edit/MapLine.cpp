#include "core/edit/MapLine.h"

#include <cstdlib>

namespace qm {

std::vector<CellPos> lineCells(int x1, int y1, int x2, int y2)
{
    std::vector<CellPos> out;
    const int sx = x2 < x1 ? -1 : 1;
    const int sy = y2 < y1 ? -1 : 1;
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx == 0) {
        for (int k = 1; k <= dy; ++k)
            out.push_back({x1, y1 + k * sy});
        return out;
    }
    if (dy == 0) {
        for (int k = 1; k <= dx; ++k)
            out.push_back({x1 + k * sx, y1});
        return out;
    }
    if (dx == dy) {
        for (int k = 1; k <= dx; ++k)
            out.push_back({x1 + k * sx, y1 + k * sy});
        return out;
    }
    int x = x1;
    int y = y1;
    if (dy > dx) {
        int e = dy / 2 - dx;
        for (int i = 0; i < dy; ++i) {
            e += dx;
            if (e >= dy) {
                e -= dy;
                x += sx;
            }
            y += sy;
            out.push_back({x, y});
        }
    } else {
        int e = dx / 2 - dy;
        for (int i = 0; i < dx; ++i) {
            e += dy;
            if (e >= dx) {
                e -= dx;
                y += sy;
            }
            x += sx;
            out.push_back({x, y});
        }
    }
    if (!(out.back() == CellPos{x2, y2}))
        out.push_back({x2, y2});
    return out;
}

} // namespace qm
