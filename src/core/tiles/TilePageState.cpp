#include "core/tiles/TilePageState.h"

#include <algorithm>

namespace qm {

void TilePageState::setTopRow(int column, int top)
{
    topRows_[static_cast<size_t>(column & 1)] = std::clamp(top, 0, MAX_TOP);
}

int TilePageState::tileAtCell(int cell) const
{
    if (cell < 0 || cell >= columns_ * ROWS)
        return -1;
    const int column = cell / ROWS;
    return column * TILES_PER_BANK + topRow(column) + cell % ROWS;
}

int TilePageState::cellOfTile(int tile) const
{
    if (!reachable(tile))
        return -1;
    const int column = tile / TILES_PER_BANK;
    const int row = tile % TILES_PER_BANK - topRow(column);
    if (row < 0 || row >= ROWS)
        return -1;
    return column * ROWS + row;
}

void TilePageState::scrollToShow(int tile)
{
    if (!reachable(tile) || shown(tile))
        return;
    const int column = tile / TILES_PER_BANK;
    const int inBank = tile % TILES_PER_BANK;
    setTopRow(column, inBank < topRow(column) ? inBank : inBank - (ROWS - 1));
}

bool TilePageState::selectTile(int tile)
{
    if (!reachable(tile))
        return false;
    setTopRow(tile / TILES_PER_BANK, tile % TILES_PER_BANK);
    selection_.selectOnly(tile);
    return true;
}

void TilePageState::key(Key key, int n)
{
    const int c = std::clamp(current(), 0, tileCount() - 1);
    const int column = c / TILES_PER_BANK;
    const int inBank = c % TILES_PER_BANK;
    const int row = inBank - topRow(column);
    const bool isShown = row >= 0 && row < ROWS;
    int next = c;
    switch (key) {
    case Key::Down:
        if (isShown && row < ROWS - 1) {
            next = c + 1;
        } else if (isShown && inBank != TILES_PER_BANK - 1) {
            next = c + 1;
            setTopRow(column, topRow(column) + 1);
        } else {
            scrollToShow(c);
        }
        break;
    case Key::Up:
        if (isShown && row > 0) {
            next = c - 1;
        } else if (isShown && inBank != 0) {
            next = c - 1;
            setTopRow(column, topRow(column) - 1);
        } else {
            scrollToShow(c);
        }
        break;
    case Key::Left:
    case Key::Right: {
        const int to = key == Key::Left ? 0 : 1;
        if (columns_ == 2 && column != to) {
            const int r = std::clamp(row, 0, ROWS - 1);
            next = to * TILES_PER_BANK + topRow(to) + r;
        }
        break;
    }
    case Key::Back:
        next = std::max(0, c - n);
        scrollToShow(next);
        break;
    case Key::Forward:
        next = std::min(tileCount() - 1, c + n);
        scrollToShow(next);
        break;
    }
    selection_.selectOnly(next);
}

} // namespace qm
