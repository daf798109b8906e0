#include "core/tiles/TileLibrary.h"

namespace qm {

TileLibrary::TileLibrary() = default;

TileSet* TileLibrary::tileSet(TileKind kind)
{
    switch (kind) {
    case TILE_BG:
        return &bg;
    case TILE_OBJ:
        return &obj;
    case TILE_TAG:
        return &tag;
    default:
        return nullptr;
    }
}

const TileSet* TileLibrary::tileSet(TileKind kind) const { return const_cast<TileLibrary*>(this)->tileSet(kind); }

CTile* TileLibrary::tile(TileKind kind, int index)
{
    TileSet* set = tileSet(kind);
    return set ? set->tileAt(index) : nullptr;
}

const CTile* TileLibrary::tile(TileKind kind, int index) const
{
    return const_cast<TileLibrary*>(this)->tile(kind, index);
}

void TileLibrary::resetTileSet(TileKind kind)
{
    TileSet* set = tileSet(kind);
    if (!set)
        return;
    set->reset(kind);
    // The tag set is drawn with the BG colours but owns no palettes: resetting
    // it must not wipe the BG palettes that came with the BG tile set file.
    if (kind != TILE_TAG)
        palettes.resetPalettes(kind);
}

} // namespace qm
