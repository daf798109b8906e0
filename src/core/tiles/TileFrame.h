#pragma once
// The frame of the tile editor: width x height consecutive tiles of one set,
// laid out row by row from a first tile, shown enlarged as one picture. Also
// the sizes that follow from it (zoom, editing area, bar) and the checks of a
// typed frame size.

#include "core/tiles/TileKind.h"

#include <optional>
#include <string>

namespace qm {

inline constexpr const char* MSG_FRAME_WIDTH_RANGE = "Frame width must be between 1 to %d";
inline constexpr const char* MSG_FRAME_HEIGHT_RANGE = "Frame hight must be between 1 to %d";

struct TileFrame {
    int start = 0;  // first tile, 0..511
    int width = 1;  // in tiles
    int height = 1; // in tiles

    int size() const { return width * height; }
    // The tile at frame row r, column c (may be 512 or more: never edited).
    int tileAt(int row, int column) const { return start + row * width + column; }
    // The last tile of the frame that lies inside the set, or -1 for none.
    int lastInSet() const;
    // No position of the frame lies at tile 512 or beyond.
    bool insideSet() const { return start >= 0 && start + size() <= TILES_PER_SET; }
    int pixelWidth() const { return width * 8; }
    int pixelHeight() const { return height * 8; }
};

struct FrameLimits {
    int maxWidth = 30;
    int maxHeight = 16;
};

// 30 x 16 tiles, or 18 x 11 on a screen less than 600 pixels high.
FrameLimits frameLimits(int screenHeight);

// Screen pixels per tile pixel for a frame size: 4, 8 or 16.
int frameZoom(int width, int height, int maxHeight);

struct FrameGeometry {
    int zoom = 16;
    int areaLeft = 23;
    int areaTop = 45;
    int areaWidth = 128;
    int areaHeight = 128;
    int barWidth = 225;
    int barHeight = 228;
};

// The editing area and the bar around it for a frame size.
FrameGeometry frameGeometry(int width, int height, int maxHeight);

// A number typed into the width (or height) box: nullopt to take it, or the
// message to show. Zero is not a size and is left to the caller to ignore.
std::optional<std::string> frameSizeError(int value, int maximum, bool width);

} // namespace qm
