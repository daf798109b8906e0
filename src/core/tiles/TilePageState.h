#pragma once
// What one tile page of the manager shows: one column per bank (two for the
// BG and OBJ sets, one for the tag set), 20 rows of tiles in each, the top
// row of every column, and the page's selection. The keyboard moves and the
// scroll bars act on this state.

#include "core/tiles/TileKind.h"
#include "core/tiles/TileSelection.h"

#include <array>

namespace qm {

class TilePageState {
public:
    static constexpr int ROWS = 20;
    static constexpr int MAX_TOP = TILES_PER_BANK - ROWS; // 236

    enum class Key { Up, Down, Left, Right, Back, Forward };

    explicit TilePageState(int columns = 2) : columns_(columns == 1 ? 1 : 2) {}

    int columns() const { return columns_; }
    // Tiles this page can reach: 512 with two columns, 256 with one.
    int tileCount() const { return columns_ * TILES_PER_BANK; }
    bool reachable(int tile) const { return tile >= 0 && tile < tileCount(); }

    int topRow(int column) const { return topRows_[static_cast<size_t>(column & 1)]; }
    // Keeps the top row within 0..236.
    void setTopRow(int column, int top);
    // The tile in a grid cell (cell = column * 20 + row), or -1.
    int tileAtCell(int cell) const;
    // The grid cell that shows the tile, or -1 when it is scrolled away.
    int cellOfTile(int tile) const;
    bool shown(int tile) const { return cellOfTile(tile) >= 0; }
    // Scrolls the tile's column as little as needed to show it.
    void scrollToShow(int tile);

    TileSelection& selection() { return selection_; }
    const TileSelection& selection() const { return selection_; }
    int current() const { return selection_.current(); }
    int focusCell() const { return focusCell_; }
    void setFocusCell(int cell) { focusCell_ = cell; }

    // Shows the tile in the top row of its column (at most row 236) and makes
    // it the only selected tile. False for a tile the page cannot reach.
    bool selectTile(int tile);
    // A keyboard move (n for Back and Forward). Afterwards the new current
    // tile is the only selected one.
    void key(Key key, int n = 1);

private:
    int columns_;
    std::array<int, 2> topRows_{0, 0};
    TileSelection selection_;
    int focusCell_ = 0;
};

} // namespace qm
