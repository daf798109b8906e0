#pragma once
// The map commands the view's keys and context menu ask for. The view reports a command with
// CQuiltmarkView::mapCommand; MapViewCommands carries it out.

#include "ui/app/MapTool.h"

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
    SetBaseTile,
    CopyMapToClipboard,
    ResetMapPalette,
};


} // namespace qm::ui
