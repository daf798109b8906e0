#include "core/import/PalettePacking.h"

#include <algorithm>
#include <unordered_set>

namespace qm {

namespace {

// A set as one number: its colours in ascending order, 16 bits each, the
// unused places all ones (no 15-bit colour has bit 15).
std::uint64_t keyOf(const ColourSet& s)
{
    std::uint64_t key = 0;
    for (int i = 0; i < 4; ++i)
        key = key << 16 | (i < s.count ? s.colours[static_cast<size_t>(i)] : 0xFFFFu);
    return key;
}

// The union of two sets, or nothing (count 5) when it would not fit a palette.
ColourSet unite(const ColourSet& a, const ColourSet& b)
{
    ColourSet u = a;
    for (int i = 0; i < b.count; ++i) {
        const std::uint16_t c = b.colours[static_cast<size_t>(i)];
        if (u.contains(c))
            continue;
        if (u.count == 4)
            return ColourSet{{}, 5};
        u.colours[static_cast<size_t>(u.count++)] = c;
    }
    std::sort(u.colours.begin(), u.colours.begin() + u.count);
    return u;
}

// Largest first, then by value: a fixed order whatever order the sets came in.
bool packingOrder(const ColourSet& a, const ColourSet& b)
{
    return a.count != b.count ? a.count > b.count : keyOf(a) < keyOf(b);
}

std::vector<ColourSet> heuristic(const std::vector<ColourSet>& sets)
{
    std::vector<ColourSet> bins;
    for (const ColourSet& s : sets) {
        int best = -1;
        int bestGrowth = 5;
        for (size_t b = 0; b < bins.size(); ++b) {
            const ColourSet u = unite(bins[b], s);
            if (u.count <= 4 && u.count - bins[b].count < bestGrowth) {
                best = static_cast<int>(b);
                bestGrowth = u.count - bins[b].count;
            }
        }
        if (best < 0)
            bins.push_back(s);
        else
            bins[static_cast<size_t>(best)] = unite(bins[static_cast<size_t>(best)], s);
    }
    return bins;
}

// Depth-first search for a packing into fewer palettes than the best known.
class ExactSearch {
public:
    ExactSearch(const std::vector<ColourSet>& sets, std::vector<ColourSet> known) : sets_(sets), best_(std::move(known))
    {
    }

    std::vector<ColourSet> run(size_t lowerBound)
    {
        lowerBound_ = lowerBound;
        if (best_.size() > lowerBound_)
            search(0);
        return best_;
    }

private:
    void search(size_t i)
    {
        if (++steps_ > STEP_BUDGET || bins_.size() >= best_.size() || best_.size() <= lowerBound_)
            return;
        if (i == sets_.size()) {
            best_ = bins_;
            return;
        }
        const ColourSet& s = sets_[i];
        for (size_t b = 0; b < bins_.size(); ++b) {
            const ColourSet u = unite(bins_[b], s);
            if (u.count > 4)
                continue;
            const ColourSet before = bins_[b];
            bins_[b] = u;
            search(i + 1);
            bins_[b] = before;
        }
        if (bins_.size() + 1 < best_.size()) {
            bins_.push_back(s);
            search(i + 1);
            bins_.pop_back();
        }
    }

    static constexpr long STEP_BUDGET = 2'000'000;
    const std::vector<ColourSet>& sets_;
    std::vector<ColourSet> best_;
    std::vector<ColourSet> bins_;
    size_t lowerBound_ = 0;
    long steps_ = 0;
};

} // namespace

bool ColourSet::contains(std::uint16_t c) const
{
    for (int i = 0; i < count; ++i)
        if (colours[static_cast<size_t>(i)] == c)
            return true;
    return false;
}

PaletteRule packColourSets(const std::vector<ColourSet>& input)
{
    // The distinct sets, then those that no other set contains.
    std::unordered_set<std::uint64_t> seen;
    std::vector<ColourSet> distinct;
    for (ColourSet s : input) {
        std::sort(s.colours.begin(), s.colours.begin() + s.count);
        if (seen.insert(keyOf(s)).second)
            distinct.push_back(s);
    }
    std::unordered_set<std::uint64_t> covered; // proper subsets of some set
    for (const ColourSet& s : distinct)
        for (unsigned mask = 1; mask + 1 < (1u << s.count); ++mask) {
            ColourSet part;
            for (int i = 0; i < s.count; ++i)
                if (mask & (1u << i))
                    part.colours[static_cast<size_t>(part.count++)] = s.colours[static_cast<size_t>(i)];
            covered.insert(keyOf(part));
        }
    std::vector<ColourSet> maximal;
    std::unordered_set<std::uint16_t> colours;
    for (const ColourSet& s : distinct)
        if (!covered.count(keyOf(s))) {
            maximal.push_back(s);
            colours.insert(s.colours.begin(), s.colours.begin() + s.count);
        }
    std::sort(maximal.begin(), maximal.end(), packingOrder);

    std::vector<ColourSet> bins = heuristic(maximal);
    if (maximal.size() <= static_cast<size_t>(EXACT_PACKING_SETS)) {
        // No packing needs fewer palettes than a quarter of the colours, nor
        // fewer than the sets of four colours.
        const size_t full = static_cast<size_t>(
            std::count_if(maximal.begin(), maximal.end(), [](const ColourSet& s) { return s.count == 4; }));
        bins = ExactSearch(maximal, std::move(bins)).run(std::max((colours.size() + 3) / 4, full));
    }

    PaletteRule rule;
    rule.palettes = std::move(bins);
    rule.paletteOfSet.reserve(input.size());
    for (ColourSet s : input) {
        std::sort(s.colours.begin(), s.colours.begin() + s.count);
        int found = -1;
        for (size_t p = 0; p < rule.palettes.size() && found < 0; ++p)
            if (unite(rule.palettes[p], s).count == rule.palettes[p].count)
                found = static_cast<int>(p);
        rule.paletteOfSet.push_back(found);
    }
    return rule;
}

} // namespace qm
