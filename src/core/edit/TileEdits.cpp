#include "core/edit/TileEdits.h"

#include <algorithm>
#include <cstring>

namespace qm {

void TileEditResult::add(int tile)
{
    tiles.push_back(tile);
    first = first < 0 ? tile : std::min(first, tile);
    last = std::max(last, tile);
}

namespace {

// Saves the tile first; false (with the message set) when the store refuses.
bool snapshot(UndoStore& undo, const CTile& tile, TileEditResult& out)
{
    if (undo.saveTile(tile))
        return true;
    out.result = Result::failure(MSG_NO_MEMORY_UNDO);
    return false;
}

} // namespace

TileEditResult clearTiles(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, UndoStore& undo)
{
    TileEditResult out;
    undo.beginStep(STEP_TILES, StepName::ClearTiles);
    for (int index : tiles) {
        CTile* tile = lib.tile(kind, index);
        if (!tile)
            continue;
        if (!snapshot(undo, *tile, out))
            break;
        tile->pixels.fill(0);
        out.add(index);
    }
    return out;
}

TileEditResult setTilesPalette(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, int palette,
                               UndoStore& undo, const std::function<void(const TilePaletteChange&)>& report)
{
    TileEditResult out;
    if (palette < 0 || palette > 7)
        return out;
    undo.beginStep(STEP_TILES, StepName::TilePalette);
    for (int index : tiles) {
        CTile* tile = lib.tile(kind, index);
        if (!tile)
            continue;
        if (!snapshot(undo, *tile, out))
            break;
        TilePaletteChange change;
        change.oldPalette = tile->palette();
        change.newPalette = static_cast<std::uint8_t>(palette);
        change.layer = kind;
        change.firstTile = index;
        change.lastTile = index;
        tile->setPalette(palette);
        out.add(index);
        if (report)
            report(change);
    }
    return out;
}

std::vector<std::uint8_t> copyTiles(const TileLibrary& lib, TileKind kind, const std::vector<int>& tiles)
{
    std::vector<const CTile*> list;
    list.reserve(tiles.size());
    for (int index : tiles)
        if (const CTile* tile = lib.tile(kind, index))
            list.push_back(tile);
    return encodeTileClip(std::span<const CTile* const>(list.data(), list.size()));
}

TileEditResult cutTiles(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, UndoStore& undo)
{
    TileEditResult out;
    undo.beginStep(STEP_TILES, StepName::CutTiles);
    for (int index : tiles) {
        CTile* tile = lib.tile(kind, index);
        if (!tile)
            continue;
        if (!snapshot(undo, *tile, out))
            break;
        tile->clearContent();
        tile->setPalette(0);
        out.add(index);
    }
    return out;
}

TileEditResult pasteTiles(TileLibrary& lib, TileKind kind, int first, const std::vector<TileClipEntry>& entries,
                          UndoStore& undo)
{
    TileEditResult out;
    if (!lib.tileSet(kind))
        return out;
    undo.beginStep(STEP_TILES, StepName::PasteTiles);
    int index = std::max(first, 0);
    for (const TileClipEntry& e : entries) {
        CTile* tile = lib.tile(kind, index);
        if (!tile)
            break;
        if (!snapshot(undo, *tile, out))
            break;
        tile->setPixels(e.pixels);
        tile->setComment(e.comment);
        tile->setPalette(e.palette & 0x07);
        out.add(index);
        ++index;
    }
    return out;
}

TileEditResult pasteMapTiles(TileLibrary& lib, TileKind kind, int first, const std::vector<ClipboardEntry>& entries,
                             UndoStore& undo)
{
    TileEditResult out;
    if (!lib.tileSet(kind))
        return out;
    undo.beginStep(STEP_TILES, StepName::PasteTiles);
    int index = std::max(first, 0);
    for (const ClipboardEntry& e : entries) {
        CTile* target = lib.tile(kind, index);
        if (!target)
            break;
        const CTile* source = lib.tile(static_cast<TileKind>(e.attr & TILE_KIND_MASK), e.value);
        if (source) {
            if (!snapshot(undo, *target, out))
                break;
            // Copied first: source and target may be the same tile.
            const auto pixels = source->pixels;
            target->pixels = pixels;
            out.add(index);
        }
        ++index;
    }
    return out;
}

} // namespace qm
