#pragma once
// The tiles picked on one page of the tile set manager, in the order in which
// they were picked. Its last member is the current tile.

#include <vector>

namespace qm {

class TileSelection {
public:
    TileSelection() = default;

    const std::vector<int>& tiles() const { return list_; }
    // The last member; while the list is empty, the tile that was current last.
    int current() const { return list_.empty() ? current_ : list_.back(); }
    bool contains(int tile) const;
    int size() const { return static_cast<int>(list_.size()); }

    // The selection becomes {tile}.
    void selectOnly(int tile);
    // A left click on tile with the modifier keys held. Shift extends from
    // the current tile to the clicked one (downwards the selection restarts
    // at the current tile), Ctrl toggles the tile but never empties the list.
    void click(int tile, bool shift, bool ctrl);
    // A double click: the tile takes the place of the last member.
    void replaceCurrent(int tile);
    // Taken unchanged, repetitions included. An empty list keeps the tile
    // that was current as the current tile.
    void replace(std::vector<int> tiles);

private:
    void append(int tile);

    std::vector<int> list_{0};
    int current_ = 0;
};

} // namespace qm
