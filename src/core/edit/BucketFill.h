#pragma once
// The bucket: fills the 4-connected area of cells around a start cell that
// show the same tile as it in the fill layer, breadth first (up, right, down,
// left from each filled cell). Palette, flips and priority are not compared,
// so an area drawn with several palettes fills as one and takes the new
// tile's palette.

#include "core/edit/MapEdit.h"

namespace qm {

// Begins a cell-edit step (when (sx, sy) is on the map) and fills. The fill
// layer is the chosen tile's kind; nothing is filled while the palette page
// is shown. changed counts the filled cells.
EditResult bucketFill(MapEdit& edit, int sx, int sy, const TileChoice& tile);

} // namespace qm
