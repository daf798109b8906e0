#pragma once
// The cells of the line tool: from (x1, y1) to (x2, y2), the start cell not
// listed. Straight and diagonal lines step one cell at a time; the others
// follow the integer error walk, and always end at (x2, y2).

#include "core/edit/MapEdit.h"

#include <vector>

namespace qm {

std::vector<CellPos> lineCells(int x1, int y1, int x2, int y2);

} // namespace qm
