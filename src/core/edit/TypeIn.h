#pragma once
// The type-in mode of the map view: keys name tiles by their offset from a
// base tile, and the cursor walks on after each.

#include "core/edit/MapEdit.h"

#include <optional>

namespace qm {

// Key codes as the editor's keyboard layer numbers them: 'A'..'Z', '0'..'9',
// space 0x20, the numeric keypad 0x60..0x6F and F1 0x70 (0x5F comes first).
inline constexpr int VK_TYPE_IN_FIRST = 0x5F;
inline constexpr int VK_TYPE_IN_LAST = 0x70;

// A..Z give 0..25, digits 26..35, space 36, codes 0x5F..0x70 their distance
// from 0x5F. None for any other key.
std::optional<int> typeInOffset(int keyCode);

// The cell after (x, y): one to the right, the start of the next row after
// the last column, (0, 0) after the last cell.
CellPos nextTypeInCell(const MapGrid& map, CellPos cell);

} // namespace qm
