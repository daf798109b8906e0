#include "core/export/ExportSummary.h"

#include "core/base/Format.h"
#include "core/project/ProjectFile.h"

#include <algorithm>
#include <vector>

namespace qm {

std::string exportSummaryText(const ExportReport& report)
{
    const int count = report.writtenCount();
    if (count == 0)
        return {};
    std::vector<std::string> folders;
    for (const ExportOutcome& f : report.files) {
        const std::string folder = directoryOf(f.path);
        if (f.written && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    std::string where;
    for (const std::string& folder : folders)
        where += (where.empty() ? "" : ", ") + folder;
    return formatText(count == 1 ? "Exported %d file to %s" : "Exported %d files to %s", count, where.c_str());
}

} // namespace qm
