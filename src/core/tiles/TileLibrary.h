#pragma once
// The three tile sets of a project (BG, OBJ, tag) together with the palette
// store they are drawn with. The tile set manager of the editor owns one.

#include "core/tiles/PaletteStore.h"
#include "core/tiles/TileSet.h"

namespace qm {

class TileLibrary {
public:
    TileLibrary();

    TileSet bg{TILE_BG};
    TileSet obj{TILE_OBJ};
    TileSet tag{TILE_TAG};
    PaletteStore palettes;
    bool dmgMode = false;

    // None for any kind other than TILE_BG, TILE_OBJ, TILE_TAG.
    TileSet* tileSet(TileKind kind);
    const TileSet* tileSet(TileKind kind) const;
    // None outside 0..511 or for another kind.
    CTile* tile(TileKind kind, int index);
    const CTile* tile(TileKind kind, int index) const;

    // Resets the set of that kind, then the palettes of that kind (the tag set
    // has none of its own).
    void resetTileSet(TileKind kind);

    // The display table the set of this kind is drawn with now.
    const DisplayTable& coloursOf(TileKind kind) const { return palettes.tableForTileSet(kind, dmgMode); }
};

} // namespace qm
