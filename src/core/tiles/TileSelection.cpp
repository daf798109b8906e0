#include "core/tiles/TileSelection.h"

#include <algorithm>

namespace qm {

bool TileSelection::contains(int tile) const
{
    return std::find(list_.begin(), list_.end(), tile) != list_.end();
}

void TileSelection::selectOnly(int tile)
{
    list_.assign(1, tile);
    current_ = tile;
}

void TileSelection::append(int tile)
{
    // No duplicates: a tile picked again moves to the end, so that the last
    // member is always the tile picked last.
    list_.erase(std::remove(list_.begin(), list_.end(), tile), list_.end());
    list_.push_back(tile);
    current_ = tile;
}

void TileSelection::click(int tile, bool shift, bool ctrl)
{
    const int c = current();
    if (shift) {
        if (tile < c) {
            list_.clear();
            for (int t = c; t >= tile; --t)
                list_.push_back(t);
            current_ = tile;
        } else {
            for (int t = c + 1; t <= tile; ++t)
                append(t);
        }
        return;
    }
    if (ctrl) {
        if (contains(tile)) {
            if (list_.size() >= 2) {
                list_.erase(std::remove(list_.begin(), list_.end(), tile), list_.end());
                current_ = list_.back();
            }
        } else {
            append(tile);
        }
        return;
    }
    selectOnly(tile);
}

void TileSelection::replaceCurrent(int tile)
{
    if (list_.empty()) {
        selectOnly(tile);
        return;
    }
    list_.pop_back();
    list_.erase(std::remove(list_.begin(), list_.end(), tile), list_.end());
    list_.push_back(tile);
    current_ = tile;
}

void TileSelection::replace(std::vector<int> tiles)
{
    list_ = std::move(tiles);
    if (!list_.empty())
        current_ = list_.back();
}

} // namespace qm
