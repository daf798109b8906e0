#pragma once
// The duplicated-tile report: every tile whose 64 pixels equal those of a
// lower-numbered tile, paired with the lowest such tile, one line each, as
// "BG0: 3 = BG1: 17" (prefix, bank digit, number within the bank). Flips
// and palettes are not considered.

#include "core/base/Progress.h"
#include "core/tiles/TileSet.h"

#include <string>

namespace qm {

std::string duplicateTileReportText(const TileSet& set, bool bgNames, Progress& progress);

} // namespace qm
