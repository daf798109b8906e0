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

} // namespace qm
