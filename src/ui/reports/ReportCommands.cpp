#include "ui/reports/ReportCommands.h"

#include "core/reports/PriorityReport.h"
#include "ui/app/CommandHost.h"
#include "ui/reports/PriorityReportDialog.h"

namespace qm::ui {

bool runReportCommand(const CommandHost& host, ReportKind kind)
{
    ReportWritten written;
    const Result r = writeReport(kind, *host.workspace, static_cast<TileKind>(host.tileSetShown()), *host.progress,
                                 written);
    if (!r) {
        host.prompter->inform(r.text());
        return false;
    }
    host.prompter->inform(written.message);
    return true;
}

void showPriorityReport(const CommandHost& host)
{
    PriorityReportDialog dialog(QString::fromStdString(priorityReportText(host.workspace->project.map)), host.parent);
    host.run(dialog);
}

} // namespace qm::ui
