#pragma once
// The memory of the map's rendered blocks: equal-sized blocks of two images,
// each found by its number, held up to a budget of bytes. When the budget is
// reached the least recently used block gives its memory to the next one.
// Blocks are never freed one by one: a reset forgets what they show and
// keeps their memory for the blocks drawn next. The memory comes in chunks
// of 2 MB, which the system may map as single large pages: a picture read
// from many blocks then does not run out of address translations.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qm {

class BlockCache {
public:
    // At least this many blocks are kept whatever the budget.
    static constexpr std::size_t MIN_BLOCKS = 4;

    BlockCache(std::size_t blockBytes, std::size_t budget);

    // Evicts down to the new budget.
    void setBudget(std::size_t bytes);
    // Forgets every block; each image has blocksPerImage of them now.
    void reset(std::size_t blocksPerImage);
    // Every cached block is to be drawn again before it is read.
    void markAllStale() { ++generation_; }
    // From pin() to unpin() no block asked for in between is evicted: the
    // cache grows past its budget instead, and shrinks back at unpin.
    void pin() { pinnedAfter_ = clock_; }
    void unpin();

    struct Block {
        std::uint8_t* pixels = nullptr;
        bool fresh = false; // false: the caller draws the block now
    };
    // The memory of block index of image, the most recently used from now on.
    // Throws std::bad_alloc only when no memory can be had and no block can
    // give its place.
    Block acquire(int image, std::size_t index)
    {
        const std::int32_t of = slotOf_[image][index];
        if (of < 0)
            return acquireNew(image, index);
        Slot& s = slots_[static_cast<std::size_t>(of)];
        s.lastUse = ++clock_;
        const bool fresh = s.generation == generation_;
        s.generation = generation_;
        return {s.pixels, fresh};
    }
    // The memory of a cached block that is up to date, or nullptr.
    std::uint8_t* cached(int image, std::size_t index) const
    {
        const std::int32_t of = slotOf_[image][index];
        if (of < 0)
            return nullptr;
        const Slot& s = slots_[static_cast<std::size_t>(of)];
        return s.generation == generation_ ? s.pixels : nullptr;
    }
    // f(image, index, pixels) for every cached block that is up to date.
    template <class F>
    void forEachFresh(F f) const
    {
        for (const Slot& s : slots_)
            if (s.image >= 0 && s.generation == generation_)
                f(s.image, s.index, s.pixels);
    }

    // The memory of the blocks held.
    std::size_t bytesHeld() const { return slots_.size() * blockBytes_; }

private:
    struct FreeChunk {
        void operator()(std::uint8_t* p) const;
    };
    struct Slot {
        std::uint8_t* pixels = nullptr;
        int image = -1; // -1: holds no block
        std::size_t index = 0;
        std::uint64_t lastUse = 0;
        std::uint64_t generation = 0;
    };
    Block acquireNew(int image, std::size_t index);
    std::uint8_t* spareBlock();
    std::size_t maxSlots() const;
    void shrinkToBudget();
    // The slot to reuse, or slots_.size() when every slot is pinned.
    std::size_t leastRecentlyUsed() const;
    void forget(Slot& slot);

    std::size_t blockBytes_;
    std::size_t budget_;
    std::uint64_t clock_ = 0;
    std::uint64_t pinnedAfter_ = UINT64_MAX; // blocks used after this are pinned
    std::uint64_t generation_ = 1;
    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<std::uint8_t, FreeChunk>> chunks_;
    std::vector<std::uint8_t*> spare_; // block memory that no slot holds
    std::vector<std::int32_t> slotOf_[2]; // per block: its slot, or -1
};

} // namespace qm
