#pragma once
// The pixel work of the tile editor on a frame of tiles: painting, bucket
// fill, scrolling, flipping, rotating, palettes and comments. Every change
// saves the tiles it may touch into the undo store first, as one tile step;
// positions at tile 512 or beyond are never touched.

#include "core/base/Result.h"
#include "core/tiles/TileFrame.h"
#include "core/tiles/TilePaletteChange.h"
#include "core/tiles/TileSet.h"
#include "core/undo/UndoStore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace qm {

inline constexpr const char* MSG_SCROLL_EMPTY_TILES = "Unable to scroll tiles because of number of the empty tile(s)";
inline constexpr const char* MSG_ROTATE_EMPTY_TILES = "Unable to rotate tiles because of number of the empty tile(s)";
inline constexpr const char* MSG_FLIP_EMPTY_TILES = "Unable to flip tiles because of number of the empty tile(s)";
inline constexpr const char* MSG_ROTATE_NOT_SQUARE = "You only can rotate a square frame";
inline constexpr const char* MSG_ROTATE_PAST_END = "Unable to rotate tiles because of the empty tile(s)";

enum class ScrollDirection { Up, Down, Left, Right };

// Begins a tile step of that name and saves tiles first..last (only those
// inside the set).
Result snapshotTiles(const TileSet& set, UndoStore& undo, int first, int last, StepName name);
// The same for every frame tile inside the set.
Result snapshotFrame(const TileSet& set, UndoStore& undo, const TileFrame& frame, StepName name);

// The tile under pixel (x, y) of the frame picture, or -1 when the pixel lies
// outside the frame or on a tile at 512 or beyond.
int frameTileAtPixel(const TileFrame& frame, int x, int y);
// The colour of pixel (x, y) of the frame picture; 0 where nothing is edited.
std::uint8_t framePixel(const TileSet& set, const TileFrame& frame, int x, int y);
// Sets one pixel without saving anything. True when it changed.
bool setFramePixel(TileSet& set, const TileFrame& frame, int x, int y, std::uint8_t colour);

struct EditOutcome {
    Result result;
    bool changed = false;
};

// Pencil press: saves the frame, then sets the pixel.
EditOutcome pencilPress(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y, std::uint8_t colour);

// Replaces the 4-connected region of pixels of the clicked colour by colour,
// across tile borders inside the frame. Saves nothing and changes nothing
// when the clicked pixel already has that colour or lies outside.
EditOutcome bucketFill(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y, std::uint8_t colour);

// One pixel, wrapping: the whole frame as one picture, or each tile by itself.
Result scrollFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, ScrollDirection direction, bool eachTile);
// Mirrors every tile; as a whole picture the tiles also change places with
// their palettes.
Result flipFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, bool horizontal, bool eachTile);
// Turns a square frame 90 degrees clockwise.
Result rotateFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, bool eachTile);

using PaletteNotice = std::function<void(const TilePaletteChange&)>;

// Gives palette p to every frame tile inside the set and makes p the set's
// current palette. The notices go out (one per tile whose palette changed)
// while the step is recorded, so that the map cells that follow join it.
Result setFramePalette(TileSet& set, UndoStore& undo, const TileFrame& frame, int palette, const PaletteNotice& notice);
// One tile gets palette p, in a step of its own (none when it has p already).
Result setTilePalette(TileSet& set, UndoStore& undo, int tile, int palette, const PaletteNotice& notice);

// Copies the text (at most 32 characters) into the comment of every frame
// tile inside the set. Typing a comment is not undoable.
void setFrameComment(TileSet& set, const TileFrame& frame, std::string_view text);

} // namespace qm
