#pragma once
// "Save Tiles as Picture…" of a tile page's context menu: the page's whole
// tile set as a tile sheet PNG (core's writeTileSheet: 16 tiles a row, each
// tile with its own palette), for paint programs and build tools.

#include "core/tiles/TileKind.h"

class QWidget;

namespace qm::ui {

class CTilesetMgr;

inline constexpr const char* SAVE_TILES_PICTURE = "Save Tiles as Picture\u2026";

// Asks for the file (the manager's picturePathPrompt, else a save-file
// dialog) and writes the sheet; a failure is shown through the manager.
// True when the picture was written.
bool saveTilesAsPicture(CTilesetMgr& manager, TileKind kind, QWidget* parent);

} // namespace qm::ui
