#include "core/render/BlockCache.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace qm {

namespace {

constexpr std::size_t CHUNK_BYTES = std::size_t(2) << 20;

} // namespace

BlockCache::BlockCache(std::size_t blockBytes, std::size_t budget) : blockBytes_(blockBytes), budget_(budget) {}

void BlockCache::FreeChunk::operator()(std::uint8_t* p) const { std::free(p); }

std::uint8_t* BlockCache::spareBlock()
{
    if (spare_.empty()) {
        const std::size_t stride = blockBytes_;
        const std::size_t count = std::max<std::size_t>(1, CHUNK_BYTES / stride);
        const std::size_t bytes = (count * stride + CHUNK_BYTES - 1) / CHUNK_BYTES * CHUNK_BYTES;
        auto* chunk = static_cast<std::uint8_t*>(std::aligned_alloc(CHUNK_BYTES, bytes));
        if (!chunk)
            throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        ::madvise(chunk, bytes, MADV_HUGEPAGE);
#endif
        chunks_.emplace_back(chunk);
        for (std::size_t i = count; i-- > 0;)
            spare_.push_back(chunk + i * stride);
    }
    std::uint8_t* p = spare_.back();
    spare_.pop_back();
    return p;
}

std::size_t BlockCache::maxSlots() const { return std::max(MIN_BLOCKS, budget_ / blockBytes_); }

void BlockCache::setBudget(std::size_t bytes)
{
    budget_ = bytes;
    shrinkToBudget();
}

void BlockCache::shrinkToBudget()
{
    while (slots_.size() > maxSlots()) {
        const std::size_t victim = leastRecentlyUsed();
        if (victim == slots_.size())
            return;
        forget(slots_[victim]);
        spare_.push_back(slots_[victim].pixels);
        // The last slot takes the victim's place.
        if (victim != slots_.size() - 1) {
            slots_[victim] = std::move(slots_.back());
            if (slots_[victim].image >= 0)
                slotOf_[slots_[victim].image][slots_[victim].index] = static_cast<std::int32_t>(victim);
        }
        slots_.pop_back();
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

void BlockCache::forget(Slot& slot)
{
    if (slot.image >= 0)
        slotOf_[slot.image][slot.index] = -1;
    slot.image = -1;
}

std::size_t BlockCache::leastRecentlyUsed() const
{
    std::size_t best = slots_.size();
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].lastUse <= pinnedAfter_ && (best == slots_.size() || slots_[i].lastUse < slots_[best].lastUse))
            best = i;
    return best;
}

void BlockCache::unpin()
{
    pinnedAfter_ = UINT64_MAX;
    shrinkToBudget();
}

BlockCache::Block BlockCache::acquireNew(int image, std::size_t index)
{
    std::size_t slot = slots_.size() < maxSlots() ? slots_.size() : leastRecentlyUsed();
    if (slot == slots_.size()) {
        Slot fresh;
        try {
            fresh.pixels = spareBlock();
        } catch (const std::bad_alloc&) {
            // Out of memory below the budget: an older block gives its place.
            slot = leastRecentlyUsed();
            if (slot == slots_.size())
                throw;
        }
        if (fresh.pixels)
            slots_.push_back(fresh);
    }
    forget(slots_[slot]);
    Slot& s = slots_[slot];
    slotOf_[image][index] = static_cast<std::int32_t>(slot);
    s.image = image;
    s.index = index;
    s.lastUse = ++clock_;
    s.generation = generation_;
    return {s.pixels, false};
}

} // namespace qm
