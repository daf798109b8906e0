#pragma once
// The map commands the view's keys and context menu ask for, and the map
// tools the main window holds. The view reports a command with
// CQuiltmarkView::mapCommand; the editing tools carry it out.

namespace qm::ui {

enum class MapCommand {
    BlockFill,
    ArrayFill,
    Delete,
    Copy,
    Paste,
    Cut,
    SetPalette, // argument: the palette 0..7
    FlipHorizontally,
    FlipVertically,
    FlipAreaHorizontally,
    FlipAreaVertically,
    InsertRow,
    DeleteRow,
    InsertColumn,
    DeleteColumn,
    BankSetTo0,
    BankSetTo1,
    BankFlip,
    PriorityObj,
    PriorityBg,
    CopyMapToTile,
};

enum MapTool : int {
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
