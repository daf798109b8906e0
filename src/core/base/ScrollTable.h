#pragma once
// How the map view scrolls. Scroll positions are cell numbers: the first
// column (or row) shown. The same rules serve both directions.

#include <optional>

namespace qm {

enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Thumb, Start, End };

// The new first line for a request, or nothing when the request does nothing.
// extent: map width (or height) in cells; visible: whole cells in the client
// area; thumb: the thumb position for Thumb. The result is never negative.
std::optional<int> scrollTarget(ScrollRequest request, int current, int extent, int visible, int thumb = 0);

// A scroll bar is shown only while the map, with the ruler's cell before its
// first line, does not fit the client area in that direction.
inline bool scrollBarNeeded(int extent, int cellSize, int clientExtent)
{
    return (static_cast<long long>(extent) + 1) * cellSize > clientExtent;
}

struct ScrollBarsShown {
    bool horizontal = false;
    bool vertical = false;
};

// Both bars at once for a client area measured without bars: a bar takes
// room from the other direction (barWidth for the vertical one, barHeight
// for the horizontal one), which may then need its own bar as well.
ScrollBarsShown scrollBarsNeeded(int width, int height, int cellSize, int clientWidth, int clientHeight, int barWidth,
                                 int barHeight);

// The range of a shown scroll bar: 0..extent + 5.
inline int scrollMaximum(int extent) { return extent + 5; }

// The first line that shows line v (Go to): the end of the range when the
// rest of the map would not fill the view.
inline int goToTarget(int v, int extent, int visible)
{
    if (visible + v >= extent - 5)
        return extent - 5 > 0 ? extent - 5 : 0;
    return v < 0 ? 0 : v;
}

} // namespace qm
