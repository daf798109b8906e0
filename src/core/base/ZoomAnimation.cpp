#include "core/base/ZoomAnimation.h"

namespace qm {

std::vector<FrameRect> zoomAnimationFrames(bool zoomIn, int clientWidth, int clientHeight)
{
    std::vector<FrameRect> out;
    if (zoomIn) {
        const int cx = clientWidth / 2;
        const int cy = clientHeight / 2;
        for (int half = 10; half * 2 <= 500; half += 40)
            out.push_back({cx - half, cy - half, half * 2, half * 2});
        return out;
    }
    int left = 50, top = 50, right = clientWidth - 50, bottom = clientHeight - 50;
    while (right - left > 50) {
        out.push_back({left, top, right - left, bottom - top});
        left += 45;
        right -= 45;
        top += 40;
        bottom -= 40;
    }
    out.push_back({left, top, right - left, bottom - top});
    return out;
}

} // namespace qm
