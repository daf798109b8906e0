#pragma once
// The map tools held by the main window. The numbers are also the wParam of
// MSG_SELECT_TOOL.

#include <cstdint>

namespace qm::ui {

enum MapTool : std::uint8_t {
    TOOL_NONE = 0,
    TOOL_SELECT = 1,
    TOOL_ZOOM = 2,
    TOOL_ZOOM_OUT = 3,
    TOOL_HAND = 4,
    TOOL_PENCIL = 5,
    TOOL_BUCKET = 6,
    TOOL_EYEDROPPER = 7,
    TOOL_REV_EYEDROPPER = 8,
    TOOL_LINE = 9,
};

} // namespace qm::ui
