#pragma once
// The priority report shown in the "Priority Report" dialog: a grid of the
// BG priority bits of the map (1 = BG over OBJ), with column digits on top
// and row numbers on the left, lines ending in CR LF.

#include "core/project/MapGrid.h"

#include <string>

namespace qm {

inline constexpr const char* PRIORITY_REPORT_TITLE = "Priority Report";
inline constexpr const char* PRIORITY_REPORT_LEGEND = "0 = OBJ, 1 = BG";

std::string priorityReportText(const MapGrid& map);

} // namespace qm
