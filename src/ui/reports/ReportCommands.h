#pragma once
// The commands of the "&Report" menu. The file reports are written beside
// the project file with the progress window and end with a message naming
// the file; "Priority " shows its text in the "Priority Report" dialog.

#include "core/reports/ReportFile.h"

namespace qm::ui {

struct CommandHost;

// Writes one file report; true when the file was written.
bool runReportCommand(const CommandHost& host, ReportKind kind);
// Shows the priority report of the map.
void showPriorityReport(const CommandHost& host);

} // namespace qm::ui
