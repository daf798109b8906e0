#pragma once
// Pasting a picture into a tile set: the picture is cut into 8x8 tiles laid
// out in rows of (width / 8) tiles from a first tile; the first four different
// pixel values become colour indices 0..3 and pixels of any other value leave
// the tile pixel as it was.

#include "core/base/Result.h"
#include "core/tiles/TileSet.h"
#include "core/undo/UndoStore.h"

#include <cstdint>
#include <vector>

namespace qm {

inline constexpr const char* MSG_INVALID_PICTURE = "Invalid avi file, make sure the image is 8,16,24 bits per pixel";

struct PictureData {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;              // only 8, 16 and 24 are taken
    std::vector<std::uint32_t> values; // pixel values, top row first: at least the
                                       // picturePasteLines of the paste, width a line
};

// How many pixel lines, from the top, a paste of a width x height picture at
// firstTile reads: those of the tile rows it puts into tiles up to 511 (the
// picture of a large map reaches far past them).
int picturePasteLines(int width, int height, int firstTile);

struct PicturePasteResult {
    Result result;
    int firstTile = -1; // tiles changed, inclusive; -1 when none
    int lastTile = -1;
};

PicturePasteResult pastePicture(TileSet& set, UndoStore& undo, int firstTile, const PictureData& picture);

} // namespace qm
