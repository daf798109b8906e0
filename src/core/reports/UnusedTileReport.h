#pragma once
// The unused-tile reports: the tile numbers of the BG (or OBJ) set that no
// map cell stores, bank by bank. A cell counts with the tile number it
// stores whether or not its layer is present, so an empty cell uses tile 0.

#include "core/base/Progress.h"
#include "core/project/ProjectState.h"

#include <string>

namespace qm {

// layer is TILE_BG, or TILE_OBJ for any other value.
std::string unusedTileReportText(const ProjectState& project, TileKind layer, Progress& progress);

} // namespace qm
