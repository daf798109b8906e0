#pragma once
// The frames the zoom tool draws over the view while the cell size changes,
// one every ZOOM_FRAME_MS: zooming in, a frame growing from 20 x 20 pixels at
// the centre by 40 pixels a side until it is 500 wide; zooming out, a frame
// 50 pixels inside the client area shrinking by 45 pixels a side across and
// 40 down until it is at most 50 wide (that last one is drawn white).

#include <vector>

namespace qm {

inline constexpr int ZOOM_FRAME_MS = 30;

struct FrameRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

std::vector<FrameRect> zoomAnimationFrames(bool zoomIn, int clientWidth, int clientHeight);

} // namespace qm
