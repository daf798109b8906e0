#include "core/render/BlockCache.h"

#include <algorithm>

namespace qm {

BlockCache::BlockCache(std::size_t blockBytes, std::size_t budget) : blockBytes_(blockBytes), budget_(budget) {}

std::size_t BlockCache::maxSlots() const { return std::max(MIN_BLOCKS, budget_ / blockBytes_); }

void BlockCache::setBudget(std::size_t bytes)
{
    budget_ = bytes;
    while (slots_.size() > maxSlots()) {
        const std::size_t victim = leastRecentlyUsed();
        forget(slots_[victim]);
        slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(victim));
        // Slots after the erased one moved down by one.
        for (std::vector<std::int32_t>& of : slotOf_)
            for (std::int32_t& s : of)
                if (s > static_cast<std::int32_t>(victim))
                    --s;
    }
}

void BlockCache::reset(std::size_t blocksPerImage)
{
    for (Slot& s : slots_) {
        s.image = -1;
        s.lastUse = 0;
    }
    for (std::vector<std::int32_t>& of : slotOf_)
        of.assign(blocksPerImage, -1);
}

void BlockCache::release()
{
    slots_ = std::vector<Slot>();
    for (std::vector<std::int32_t>& of : slotOf_)
        of = {};
}

void BlockCache::forget(Slot& slot)
{
    if (slot.image >= 0)
        slotOf_[slot.image][slot.index] = -1;
    slot.image = -1;
}

std::size_t BlockCache::leastRecentlyUsed() const
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < slots_.size(); ++i)
        if (slots_[i].lastUse < slots_[best].lastUse)
            best = i;
    return best;
}

BlockCache::Block BlockCache::acquire(int image, std::size_t index)
{
    std::int32_t& of = slotOf_[image][index];
    if (of < 0) {
        if (slots_.size() < maxSlots()) {
            Slot fresh;
            fresh.pixels.reset(new std::uint8_t[blockBytes_]);
            slots_.push_back(std::move(fresh));
            of = static_cast<std::int32_t>(slots_.size() - 1);
        } else {
            const std::size_t victim = leastRecentlyUsed();
            forget(slots_[victim]);
            of = static_cast<std::int32_t>(victim);
        }
        Slot& s = slots_[static_cast<std::size_t>(of)];
        s.image = image;
        s.index = index;
        s.generation = 0;
    }
    Slot& s = slots_[static_cast<std::size_t>(of)];
    s.lastUse = ++clock_;
    const bool fresh = s.generation == generation_;
    s.generation = generation_;
    return {s.pixels.get(), fresh};
}

std::uint8_t* BlockCache::cached(int image, std::size_t index) const
{
    const std::int32_t of = slotOf_[image][index];
    if (of < 0)
        return nullptr;
    const Slot& s = slots_[static_cast<std::size_t>(of)];
    return s.generation == generation_ ? s.pixels.get() : nullptr;
}

} // namespace qm
