#include "core/reports/PriorityReport.h"

#include "core/base/Format.h"

namespace qm {

std::string priorityReportText(const MapGrid& map)
{
    std::string text = "     ";
    for (int c = 0; c < map.width; ++c) {
        text += static_cast<char>('0' + c % 10);
        text += ' ';
    }
    text += "\r\n";
    for (int r = 0; r < map.height; ++r) {
        text += formatText("%-5d", r);
        for (int c = 0; c < map.width; ++c) {
            const MapCell* cell = map.cellAt(c, r);
            text += (cell && (cell->bgAttr & ATTR_PRIORITY)) ? "1 " : "0 ";
        }
        text += "\r\n";
    }
    return text;
}

} // namespace qm
