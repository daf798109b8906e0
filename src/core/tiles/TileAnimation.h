#pragma once
// The tile editor's animation: from a start tile the frame steps forward by
// its own size on every tick and comes back to the start after a number of
// frames, or before it would run past the last tile of the set. Also the
// single steps Back Up Frame and Forward Frame, which stay in their bank.

#include <optional>

namespace qm {

class TileAnimation {
public:
    // Starts a cycle afresh at start; returns the first frame's tile.
    int play(int start, int frameSize, int frameCount);
    void stop() { running_ = false; }
    bool running() const { return running_; }
    // The next frame's first tile.
    int tick();
    int current() const { return start_ + shown_ * frameSize_; }

private:
    int start_ = 0;
    int frameSize_ = 1;
    int frameCount_ = 1;
    int shown_ = 0; // frames after the first in this cycle
    bool running_ = false;
};

// The tile one frame back or forward within the tile's bank of 256, or
// nullopt when that would leave the bank.
std::optional<int> previousFrameTile(int tile, int frameSize);
std::optional<int> nextFrameTile(int tile, int frameSize);

} // namespace qm
