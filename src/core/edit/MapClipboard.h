#pragma once
// Map cells on the clipboard, in the "CQuiltmarkView" format: an int32 count,
// then per cell dx, dy (int32, relative to the first selected cell, so they
// may be negative), the attribute byte of the copied part and an int32 value
// (the tile number, or the tag in the tag layer). Little-endian, 13 bytes a
// cell.

#include "core/edit/MapEdit.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qm {

inline constexpr const char* MAP_CLIPBOARD_FORMAT = "CQuiltmarkView";
inline constexpr const char* MSG_TAG_MAP_CANNOT_BE_CUT = "The tag map cannot be cut.";
inline constexpr const char* MSG_NO_MEMORY_COPY = "Not enough memory to copy.";

struct ClipboardEntry {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::uint8_t attr = 0;
    std::int32_t value = 0;
    bool operator==(const ClipboardEntry&) const = default;
};

std::vector<std::uint8_t> encodeClipboard(const std::vector<ClipboardEntry>& entries);
// None unless the byte count is exactly what the count announces.
std::optional<std::vector<ClipboardEntry>> decodeClipboard(const std::uint8_t* data, std::size_t size);

// The entries of the selected cells in the layer (BG or OBJ part; objAttr and
// the tag in the tag layer), in selection order.
std::vector<ClipboardEntry> copyCells(const MapGrid& map, const std::vector<CellPos>& selection, TileKind layer);

// Copies the selected cells and empties their part of the view's layer, as
// one cell-edit step. Refused in the tag layer (MSG_TAG_MAP_CANNOT_BE_CUT,
// nothing changed). A failed save stops the cut; the entries copied so far are
// returned with the failure.
struct CutResult {
    EditResult edit;
    std::vector<ClipboardEntry> entries;
};
CutResult cutCells(MapEdit& edit, const std::vector<CellPos>& selection);

// Writes the entries at cursor + (dx, dy) into the view's layer, skipping
// targets off the map, as one cell-edit step. The part's layer mark is always
// set; in the tag layer the tag takes the value's low byte.
EditResult pasteCells(MapEdit& edit, const std::vector<ClipboardEntry>& entries, CellPos cursor);

} // namespace qm
