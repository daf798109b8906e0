#pragma once
// The tile editor's clipboard: Copy offers the frame's tiles as a
// "TileDesigner" record, or the pixel selection as a "TileDesignerPixel"
// record; Paste takes either back into the frame, or cuts a picture from the
// clipboard into tiles from the frame's first tile on.

namespace qm::ui {

class CTileEditor;

void copyTileEditorFrame(CTileEditor& editor);
// Copies, then clears what was copied (the pixel selection, or the frame's
// pixels) in one undo step.
void cutTileEditorFrame(CTileEditor& editor);
void pasteIntoTileEditor(CTileEditor& editor);

} // namespace qm::ui
