#include "core/tiles/TileAnimation.h"

#include "core/tiles/TileKind.h"

#include <algorithm>

namespace qm {

int TileAnimation::play(int start, int frameSize, int frameCount)
{
    start_ = start;
    frameSize_ = std::max(frameSize, 1);
    frameCount_ = std::max(frameCount, 1);
    shown_ = 0;
    running_ = true;
    return current();
}

int TileAnimation::tick()
{
    ++shown_;
    if (shown_ >= frameCount_ || start_ + shown_ * frameSize_ >= TILES_PER_SET)
        shown_ = 0;
    return current();
}

std::optional<int> previousFrameTile(int tile, int frameSize)
{
    if (tile < 0 || tile >= TILES_PER_SET)
        return std::nullopt;
    if (tile % TILES_PER_BANK - frameSize < 0)
        return std::nullopt;
    return tile - frameSize;
}

std::optional<int> nextFrameTile(int tile, int frameSize)
{
    if (tile < 0 || tile >= TILES_PER_SET)
        return std::nullopt;
    if (tile % TILES_PER_BANK + frameSize >= TILES_PER_BANK)
        return std::nullopt;
    return tile + frameSize;
}

} // namespace qm
