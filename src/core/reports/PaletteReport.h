#pragma once
// The palette report: the display colours of the 8 BG and 8 OBJ colour
// palettes, one palette a line, and of both monochrome palettes.

#include "core/base/Progress.h"
#include "core/project/ProjectState.h"
#include "core/tiles/PaletteStore.h"

#include <string>

namespace qm {

std::string paletteReportText(const PaletteStore& palettes, const ProjectState& project, Progress& progress);

} // namespace qm
