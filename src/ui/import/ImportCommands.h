#pragma once
// The commands of the File menu's "Import" submenu: each shows its dialogs,
// runs the import in core and tells the panes what changed, so the map, the
// tile set manager and the tile editor follow at once. Each sets the change
// flags of everything it changed in one place, after a successful import, and
// then tells the panes (which sets no more flags). Each returns true when
// something was imported.

namespace qm::ui {

struct CommandHost;

bool importTileSetCommand(const CommandHost& host);
bool importBitmapCommand(const CommandHost& host);
bool importGbrCommand(const CommandHost& host);
bool importTilerRawCommand(const CommandHost& host);
bool importMapCommand(const CommandHost& host);
bool importPaletteCommand(const CommandHost& host);
bool importMapAttributeCommand(const CommandHost& host);

} // namespace qm::ui
