#include "core/import/PicturePlan.h"

#include "core/base/Format.h"
#include "core/import/BitmapImport.h"
#include "core/import/PalettePacking.h"
#include "core/project/MapCell.h"
#include "core/tiles/TileKind.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace qm {

namespace {

using Block = std::array<std::uint8_t, 64>;

// The 64 indices of a block, two bits each.
struct BlockKey {
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
    bool operator==(const BlockKey&) const = default;
};

struct BlockKeyHash {
    size_t operator()(const BlockKey& k) const
    {
        std::uint64_t h = k.lo * 0x9E3779B97F4A7C15ull ^ (k.hi + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

BlockKey keyOf(const Block& b)
{
    BlockKey key;
    for (int i = 0; i < 32; ++i) {
        key.lo |= std::uint64_t(b[static_cast<size_t>(i)] & 3) << (2 * i);
        key.hi |= std::uint64_t(b[static_cast<size_t>(32 + i)] & 3) << (2 * i);
    }
    return key;
}

Block flipped(const Block& b, bool h, bool v)
{
    Block out;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            out[static_cast<size_t>(y * 8 + x)] = b[static_cast<size_t>((v ? 7 - y : y) * 8 + (h ? 7 - x : x))];
    return out;
}

std::uint16_t gbcOf(std::uint32_t rgb)
{
    return static_cast<std::uint16_t>(((rgb >> 19) & 0x1F) | (((rgb >> 11) & 0x1F) << 5) | (((rgb >> 3) & 0x1F) << 10));
}

GbcColor colourOf(std::uint16_t c)
{
    return GbcColor{static_cast<std::uint8_t>(c & 0x1F), static_cast<std::uint8_t>((c >> 5) & 0x1F),
                    static_cast<std::uint8_t>((c >> 10) & 0x1F)};
}

int lightness(std::uint16_t c)
{
    const GbcColor g = colourOf(c);
    return 299 * g.red + 587 * g.green + 114 * g.blue;
}

// The heading, then the first LISTED_BLOCKS lines and the count of the rest.
Result refusal(std::string heading, const std::vector<std::string>& lines, int total)
{
    std::string text = std::move(heading);
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    if (total > static_cast<int>(lines.size()))
        text += "\n" + formatText(MSG_MORE_BLOCKS, total - static_cast<int>(lines.size()), total);
    return Result::failure(text);
}

// Turns blocks into tiles, reusing what the options allow.
class TileMaker {
public:
    TileMaker(const PlanOptions& options, PicturePlan& plan) : options_(options), plan_(plan) {}

    PlannedCell add(const Block& block, std::uint8_t palette)
    {
        PlannedCell cell;
        cell.palette = palette;
        if (options_.reuse != TileReuse::None) {
            const int variants = options_.reuse == TileReuse::Flips ? 4 : 1;
            for (int f = 0; f < variants; ++f) {
                const bool h = f & 1, v = f & 2;
                const auto found = known_.find(keyOf(f ? flipped(block, h, v) : block));
                if (found != known_.end()) {
                    cell.tile = static_cast<std::uint16_t>(found->second);
                    cell.flips = static_cast<std::uint8_t>((h ? ATTR_FLIP_H : 0) | (v ? ATTR_FLIP_V : 0));
                    return cell;
                }
            }
        }
        const int last = TILES_PER_SET - 1;
        if (options_.lastTileTakesRest && static_cast<int>(plan_.tiles.size()) > last) {
            plan_.tiles[static_cast<size_t>(last)] = block;
            cell.tile = static_cast<std::uint16_t>(last);
            return cell;
        }
        const int tile = static_cast<int>(plan_.tiles.size());
        plan_.tiles.push_back(block);
        plan_.tilePalettes.push_back(palette);
        if (!(options_.lastTileTakesRest && tile == last) && options_.reuse != TileReuse::None)
            known_.emplace(keyOf(block), tile);
        cell.tile = static_cast<std::uint16_t>(std::min(tile, last));
        return cell;
    }

private:
    const PlanOptions& options_;
    PicturePlan& plan_;
    std::unordered_map<BlockKey, int, BlockKeyHash> known_;
};

Result tooManyTiles(const PicturePlan& plan)
{
    return Result::failure(formatText(MSG_TOO_MANY_TILES, static_cast<int>(plan.tiles.size())));
}

Result planDmg(const BitmapImage& image, const PlanOptions& options, PicturePlan& plan)
{
    if (options.reuse == TileReuse::Flips)
        return Result::failure(MSG_FLIPS_NEED_GBC);
    if (countColours(image, 257) > 256)
        return Result::failure(MSG_BITMAP_TOO_MANY_COLOURS);
    // The key: the first four pixels (of a picture narrower than 4, the first
    // four in reading order; black where the picture has fewer).
    std::array<std::uint32_t, 4> keys{};
    for (size_t i = 0; i < 4; ++i)
        keys[i] = i < image.pixels.size() ? image.pixels[i] : 0;
    GbcPalette palette;
    for (size_t i = 0; i < 4; ++i)
        palette[i] = GbcColor{static_cast<std::uint8_t>((keys[i] >> 16 & 0xFF) >> 3),
                              static_cast<std::uint8_t>((keys[i] >> 8 & 0xFF) >> 3),
                              static_cast<std::uint8_t>((keys[i] & 0xFF) >> 3)};
    plan.palettes.push_back(palette);

    TileMaker maker(options, plan);
    Block block;
    for (int by = 0; by < plan.blocksHigh; ++by)
        for (int bx = 0; bx < plan.blocksWide; ++bx) {
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const std::uint32_t c = image.at(bx * 8 + x, by * 8 + y);
                    std::uint8_t index = 0;
                    while (index < 4 && keys[index] != c)
                        ++index;
                    block[static_cast<size_t>(y * 8 + x)] = index < 4 ? index : 0;
                }
            if (by == 0 && bx == 0)
                std::fill(block.begin(), block.begin() + 4, 0); // the key pixels
            plan.cells.push_back(maker.add(block, 0));
        }
    if (static_cast<int>(plan.tiles.size()) > TILES_PER_SET)
        return tooManyTiles(plan);
    return Result::success();
}

Result planGbc(const BitmapImage& image, const PlanOptions& options, PicturePlan& plan)
{
    const size_t blockCount = static_cast<size_t>(plan.blocksWide) * static_cast<size_t>(plan.blocksHigh);
    // Each block's colour set, and the distinct sets.
    std::vector<int> setOfBlock(blockCount, 0);
    std::vector<ColourSet> sets;
    std::unordered_map<std::uint64_t, int> setIds;
    std::vector<std::string> lines;
    int crowded = 0;
    for (int by = 0; by < plan.blocksHigh; ++by)
        for (int bx = 0; bx < plan.blocksWide; ++bx) {
            std::array<std::uint16_t, 64> seen;
            int count = 0;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const std::uint16_t c = gbcOf(image.at(bx * 8 + x, by * 8 + y));
                    if (std::find(seen.begin(), seen.begin() + count, c) == seen.begin() + count)
                        seen[static_cast<size_t>(count++)] = c;
                }
            if (count > 4) {
                if (++crowded <= LISTED_BLOCKS)
                    lines.push_back(formatText(MSG_BLOCK_COLOURS, bx, by, count));
                continue;
            }
            ColourSet s;
            s.count = count;
            std::copy(seen.begin(), seen.begin() + count, s.colours.begin());
            std::sort(s.colours.begin(), s.colours.begin() + count);
            std::uint64_t key = 0;
            for (int i = 0; i < 4; ++i)
                key = key << 16 | (i < count ? s.colours[static_cast<size_t>(i)] : 0xFFFFu);
            const auto [at, added] = setIds.emplace(key, static_cast<int>(sets.size()));
            if (added)
                sets.push_back(s);
            setOfBlock[static_cast<size_t>(by * plan.blocksWide + bx)] = at->second;
        }
    if (crowded > 0)
        return refusal({}, lines, crowded);

    PaletteRule rule = packColourSets(sets);
    const int needed = static_cast<int>(rule.palettes.size());
    if (needed > GBC_PALETTE_COUNT) {
        int unserved = 0;
        for (size_t b = 0; b < blockCount; ++b)
            if (rule.paletteOfSet[static_cast<size_t>(setOfBlock[b])] >= GBC_PALETTE_COUNT &&
                ++unserved <= LISTED_BLOCKS)
                lines.push_back(formatText(MSG_BLOCK_WITHOUT_PALETTE, static_cast<int>(b) % plan.blocksWide,
                                           static_cast<int>(b) / plan.blocksWide));
        return refusal(formatText(MSG_TOO_MANY_PALETTES, needed), lines, unserved);
    }
    for (ColourSet& p : rule.palettes) {
        std::sort(p.colours.begin(), p.colours.begin() + p.count, [](std::uint16_t a, std::uint16_t b) {
            return lightness(a) != lightness(b) ? lightness(a) < lightness(b) : a < b;
        });
        GbcPalette palette{}; // places without a colour stay black
        for (int i = 0; i < p.count; ++i)
            palette[static_cast<size_t>(i)] = colourOf(p.colours[static_cast<size_t>(i)]);
        plan.palettes.push_back(palette);
    }

    TileMaker maker(options, plan);
    Block block;
    for (int by = 0; by < plan.blocksHigh; ++by)
        for (int bx = 0; bx < plan.blocksWide; ++bx) {
            const int p = rule.paletteOfSet[static_cast<size_t>(setOfBlock[static_cast<size_t>(by * plan.blocksWide + bx)])];
            const ColourSet& palette = rule.palettes[static_cast<size_t>(p)];
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const std::uint16_t c = gbcOf(image.at(bx * 8 + x, by * 8 + y));
                    std::uint8_t index = 0;
                    while (palette.colours[index] != c)
                        ++index;
                    block[static_cast<size_t>(y * 8 + x)] = index;
                }
            plan.cells.push_back(maker.add(block, static_cast<std::uint8_t>(p)));
        }
    if (static_cast<int>(plan.tiles.size()) > TILES_PER_SET)
        return tooManyTiles(plan);
    return Result::success();
}

} // namespace

int countColours(const BitmapImage& image, int limit)
{
    std::unordered_set<std::uint32_t> colours;
    std::uint32_t last = ~0u;
    for (std::uint32_t c : image.pixels) {
        if (c == last)
            continue;
        last = c;
        colours.insert(c);
        if (static_cast<int>(colours.size()) >= limit)
            break;
    }
    return static_cast<int>(colours.size());
}

PictureMode defaultModeFor(const BitmapImage& image)
{
    return countColours(image, 5) <= 4 ? PictureMode::Dmg : PictureMode::Gbc;
}

Result planPicture(const BitmapImage& image, const PlanOptions& options, PicturePlan& out)
{
    PicturePlan plan;
    plan.mode = options.mode;
    plan.blocksWide = image.width / 8;
    plan.blocksHigh = image.height / 8;
    plan.cells.reserve(static_cast<size_t>(plan.blocksWide) * static_cast<size_t>(plan.blocksHigh));
    const Result r = options.mode == PictureMode::Dmg ? planDmg(image, options, plan) : planGbc(image, options, plan);
    if (r)
        out = std::move(plan);
    return r;
}

} // namespace qm
