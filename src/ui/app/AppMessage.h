#pragma once
// The notifications between the panes. Panes never call each other: they
// send one of these to CMainFrame, which routes it on.

namespace qm::ui {

enum AppMessage : unsigned {
    MSG_SET_ZOOM = 0x1402,             // main window -> map view: zoom level chosen in the zoom box
    MSG_MAP_RESET = 0x1403,            // main window, importers -> map view: re-render everything
    MSG_INIT_MAP = 0x1404,             // application -> main window: create the start-up map
    MSG_ZOOM_CHANGED = 0x1405,         // map view -> main window: the view changed its zoom
    MSG_SELECT_TOOL = 0x1406,          // map view -> main window: choose a tool by command
    MSG_GRID = 0x1407,                 // main window -> map view: grid on or off
    MSG_TILE_DOUBLE_CLICKED = 0x1409,  // manager -> main window: open the tile editor on a tile
    MSG_TILES_CHANGED = 0x1410,        // tile editor -> main window -> map view, manager
    MSG_COLOURS_CHANGED = 0x1411,      // palette page -> manager -> main window -> map view, tile editor
    MSG_TILE_PALETTE_CHANGED = 0x1412, // manager, tile editor -> main window -> map view, manager
    MSG_CURRENT_TILE_CHANGED = 0x1413, // manager -> main window -> tile editor
};

} // namespace qm::ui
