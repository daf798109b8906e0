#pragma once
// The built-in pictures of tag tiles 0..15: the numbers 0 to 15 in colour 3.

#include "core/tiles/TileSet.h"

namespace qm {

// Resets the tag set and draws the number pictures into tiles 0..15.
void fillDefaultTagTiles(TileSet& tagSet);

// Draws the picture of number n (0..15) into the tile's pixels.
void drawDefaultTagPicture(CTile& tile, int n);

} // namespace qm
