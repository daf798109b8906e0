#include "core/edit/MapClipboard.h"

namespace qm {

namespace {

constexpr std::size_t ENTRY_BYTES = 13;

void putInt(std::vector<std::uint8_t>& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

std::int32_t getInt(const std::uint8_t* p)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// The entry of a cell's part in the layer; in the tag layer the value is the tag.
ClipboardEntry entryOf(const MapCell& c, TileKind layer, int dx, int dy)
{
    const ConstLayerPart part = c.layerPart(layer);
    const std::int32_t value = layer == TILE_TAG ? c.tag : static_cast<std::int16_t>(part.tile);
    return ClipboardEntry{dx, dy, part.attr, value};
}

} // namespace

std::vector<std::uint8_t> encodeClipboard(const std::vector<ClipboardEntry>& entries)
{
    std::vector<std::uint8_t> out;
    out.reserve(4 + entries.size() * ENTRY_BYTES);
    putInt(out, static_cast<std::int32_t>(entries.size()));
    for (const ClipboardEntry& e : entries) {
        putInt(out, e.dx);
        putInt(out, e.dy);
        out.push_back(e.attr);
        putInt(out, e.value);
    }
    return out;
}

std::optional<std::vector<ClipboardEntry>> decodeClipboard(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 4)
        return std::nullopt;
    const std::int32_t count = getInt(data);
    if (count < 0 || (size - 4) / ENTRY_BYTES != static_cast<std::size_t>(count) || (size - 4) % ENTRY_BYTES != 0)
        return std::nullopt;
    std::vector<ClipboardEntry> out(static_cast<std::size_t>(count));
    const std::uint8_t* p = data + 4;
    for (ClipboardEntry& e : out) {
        e.dx = getInt(p);
        e.dy = getInt(p + 4);
        e.attr = p[8];
        e.value = getInt(p + 9);
        p += ENTRY_BYTES;
    }
    return out;
}

std::vector<ClipboardEntry> copyCells(const MapGrid& map, const std::vector<CellPos>& selection, TileKind layer)
{
    std::vector<ClipboardEntry> out;
    if (selection.empty())
        return out;
    const CellPos origin = selection.front();
    for (const CellPos& p : selection)
        if (const MapCell* c = map.cellAt(p.x, p.y))
            out.push_back(entryOf(*c, layer, p.x - origin.x, p.y - origin.y));
    return out;
}

CutResult cutCells(MapEdit& edit, const std::vector<CellPos>& selection)
{
    CutResult out;
    const TileKind layer = edit.layer;
    if (layer == TILE_TAG) {
        out.edit.result = Result::failure(MSG_TAG_MAP_CANNOT_BE_CUT);
        return out;
    }
    if (selection.empty())
        return out;
    const CellPos origin = selection.front();
    MapGrid& map = edit.map();
    edit.undo.beginStep(STEP_CELLS, StepName::Cut);
    for (const CellPos& p : selection) {
        MapCell* c = map.cellAt(p.x, p.y);
        if (!c)
            continue;
        if (!edit.undo.saveCell(map, p.x, p.y, layer)) {
            out.edit.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        out.entries.push_back(entryOf(*c, layer, p.x - origin.x, p.y - origin.y));
        LayerPart part = c->layerPart(layer);
        part.attr = 0;
        part.tile = 0;
        edit.renderer.renderCell(p.x, p.y);
        ++out.edit.changed;
    }
    return out;
}

EditResult pasteCells(MapEdit& edit, const std::vector<ClipboardEntry>& entries, CellPos cursor)
{
    EditResult out;
    const TileKind layer = edit.layer;
    MapGrid& map = edit.map();
    edit.undo.beginStep(STEP_CELLS, StepName::Paste);
    for (const ClipboardEntry& e : entries) {
        const std::int64_t tx = std::int64_t(cursor.x) + e.dx;
        const std::int64_t ty = std::int64_t(cursor.y) + e.dy;
        if (tx < 0 || ty < 0 || tx >= map.width || ty >= map.height)
            continue;
        const int x = static_cast<int>(tx), y = static_cast<int>(ty);
        MapCell& c = *map.cellAt(x, y);
        if (!edit.undo.saveCell(map, x, y, layer)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        const auto tile = static_cast<std::uint16_t>(e.value & 0xFFFF);
        if (layer == TILE_TAG) {
            c.tag = static_cast<std::uint8_t>(e.value & 0xFF);
        } else if (layer == TILE_BG) {
            // Only the BG mark belongs in bgAttr, whichever layer the entry came from.
            c.bgAttr = static_cast<std::uint8_t>((e.attr & ~TILE_OBJ) | TILE_BG);
            c.bgTile = tile;
        } else {
            c.objAttr = static_cast<std::uint8_t>((e.attr & ~TILE_BG) | TILE_OBJ);
            c.objTile = tile;
        }
        renderEdited(edit, x, y, layer);
        ++out.changed;
    }
    return out;
}

} // namespace qm
