#pragma once
// The notifications between the panes. Panes never call each other: they
// send one of these to the main window's PaneRouter, which routes it on.
//
// Every pane has the signal
//     void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// which CMainFrame connects to PaneRouter::route, and the public receiver
//     void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// that the router calls for the messages the pane is to get.

#include "core/tiles/TilePaletteChange.h"

#include <QtGlobal>

#include <cstdint>

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

// wParam of MSG_TILES_CHANGED: the kind in the low byte, plus these bits.
inline constexpr qint64 TILES_CHANGED_RANGE = 0x10000;     // lParam points to a TileRange
inline constexpr qint64 TILES_CHANGED_KEEP_PAGE = 0x100000; // the manager does not switch pages

// wParam of MSG_GRID.
inline constexpr qint64 GRID_SHOW = 256;
inline constexpr qint64 GRID_HIDE = 512;

// wParam of MSG_MAP_RESET.
inline constexpr qint64 MAP_RESET_SIZE = 0;
inline constexpr qint64 MAP_RESET_NEW = 1;
inline constexpr qint64 MAP_RESET_IMPORT = 2;

// Inclusive range of tiles named by MSG_TILES_CHANGED with TILES_CHANGED_RANGE.
struct TileRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// lParam of MSG_TILE_PALETTE_CHANGED points to a qm::TilePaletteChange.
using qm::TilePaletteChange;


// A record passed by address in lParam; it lives for the duration of the
// synchronous call that delivers the message.
template <class T>
qint64 messageParam(const T* record)
{
    return static_cast<qint64>(reinterpret_cast<quintptr>(record));
}
template <class T>
const T* messageRecord(qint64 lParam)
{
    return reinterpret_cast<const T*>(static_cast<quintptr>(lParam));
}

} // namespace qm::ui
