#include "core/base/ScrollTable.h"

#include <algorithm>

namespace qm {

std::optional<int> scrollTarget(ScrollRequest request, int current, int extent, int visible, int thumb)
{
    switch (request) {
    case ScrollRequest::LineBack:
        if (current < 1)
            return std::nullopt;
        return current - 1;
    case ScrollRequest::LineForward:
        if (current >= extent - 5)
            return std::nullopt;
        return current + 1;
    case ScrollRequest::PageBack:
        return std::max(0, current - visible + 1);
    case ScrollRequest::PageForward:
        if (current + visible >= extent - 5)
            return std::max(0, extent - visible + 10);
        return std::max(0, current + visible - 1);
    case ScrollRequest::Thumb:
        return std::max(0, thumb);
    case ScrollRequest::Start:
        return 0;
    case ScrollRequest::End:
        return std::max(0, extent - 5);
    }
    return std::nullopt;
}

ScrollBarsShown scrollBarsNeeded(int width, int height, int cellSize, int clientWidth, int clientHeight, int barWidth,
                                 int barHeight)
{
    ScrollBarsShown shown;
    // Twice: a bar that appears in the second round can call for the other.
    for (int round = 0; round < 2; ++round) {
        shown.horizontal = scrollBarNeeded(width, cellSize, clientWidth - (shown.vertical ? barWidth : 0));
        shown.vertical = scrollBarNeeded(height, cellSize, clientHeight - (shown.horizontal ? barHeight : 0));
    }
    return shown;
}

} // namespace qm
