#pragma once
// The memory of the map's rendered blocks: equal-sized blocks of two images,
// each found by its number, held up to a budget of bytes. When the budget is
// reached the least recently used block gives its memory to the next one.
// Blocks are never freed one by one: a reset forgets what they show and
// keeps their memory for the blocks drawn next.

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
    // Forgets every block and frees the memory.
    void release();
    // Every cached block is to be drawn again before it is read.
    void markAllStale() { ++generation_; }

    struct Block {
        std::uint8_t* pixels = nullptr;
        bool fresh = false; // false: the caller draws the block now
    };
    // The memory of block index of image, the most recently used from now on.
    Block acquire(int image, std::size_t index);
    // The memory of a cached block that is up to date, or nullptr.
    std::uint8_t* cached(int image, std::size_t index) const;
    // f(image, index, pixels) for every cached block that is up to date.
    template <class F>
    void forEachFresh(F f) const
    {
        for (const Slot& s : slots_)
            if (s.image >= 0 && s.generation == generation_)
                f(s.image, s.index, s.pixels.get());
    }

    std::size_t bytesHeld() const { return slots_.size() * blockBytes_; }

private:
    struct Slot {
        std::unique_ptr<std::uint8_t[]> pixels;
        int image = -1; // -1: holds no block
        std::size_t index = 0;
        std::uint64_t lastUse = 0;
        std::uint64_t generation = 0;
    };
    std::size_t maxSlots() const;
    std::size_t leastRecentlyUsed() const;
    void forget(Slot& slot);

    std::size_t blockBytes_;
    std::size_t budget_;
    std::uint64_t clock_ = 0;
    std::uint64_t generation_ = 1;
    std::vector<Slot> slots_;
    std::vector<std::int32_t> slotOf_[2]; // per block: its slot, or -1
};

} // namespace qm
