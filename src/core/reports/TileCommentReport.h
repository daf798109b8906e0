#pragma once
// The tile-comment report: the palette and comment of every tile of one set,
// the main bank (tiles 0..255) first, then the alternate bank.

#include "core/base/Progress.h"
#include "core/project/ProjectState.h"
#include "core/tiles/TileSet.h"

#include <string>

namespace qm {

std::string tileCommentReportText(const TileSet& set, bool bgNames, const ProjectState& project, Progress& progress);

} // namespace qm
