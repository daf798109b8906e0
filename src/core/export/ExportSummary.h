#pragma once
// The one line the editor's status bar shows after an export.

#include "core/export/ExportReport.h"

#include <string>

namespace qm {

// "Exported 5 files to /home/u/game/gfx" (one file: "Exported 1 file to ...");
// the folders of the written files, once each. Empty when nothing was written.
std::string exportSummaryText(const ExportReport& report);

} // namespace qm
