#include "core/tiles/TileFrame.h"

#include "core/base/Format.h"

#include <algorithm>

namespace qm {

int TileFrame::lastInSet() const
{
    const int last = std::min(start + size() - 1, TILES_PER_SET - 1);
    return last >= start ? last : -1;
}

FrameLimits frameLimits(int screenHeight)
{
    if (screenHeight < 600)
        return {18, 11};
    return {30, 16};
}

int frameZoom(int width, int height, int maxHeight)
{
    if (width >= 9)
        return 4;
    if (height > (maxHeight == 11 ? 6 : 8))
        return 4;
    if (width < 3 && height < 3)
        return 16;
    return 8;
}

FrameGeometry frameGeometry(int width, int height, int maxHeight)
{
    FrameGeometry g;
    g.zoom = frameZoom(width, height, maxHeight);
    g.areaWidth = width * g.zoom * 8;
    g.areaHeight = height * g.zoom * 8;
    g.barWidth = std::max(225, g.areaWidth + 40);
    g.barHeight = std::max(228, g.areaHeight + 100);
    if (height == 1 && width >= 3)
        g.barHeight += g.zoom * 8;
    return g;
}

std::optional<std::string> frameSizeError(int value, int maximum, bool width)
{
    if (value >= 0 && value <= maximum)
        return std::nullopt;
    return formatText(width ? MSG_FRAME_WIDTH_RANGE : MSG_FRAME_HEIGHT_RANGE, maximum);
}

} // namespace qm
