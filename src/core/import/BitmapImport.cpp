#include "core/import/BitmapImport.h"

#include "core/base/FileIO.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace qm {

namespace {

// A bitmap of 32M pixels of 8 bits with its colour table stays well below this.
constexpr std::uintmax_t MAX_BITMAP_FILE = std::uintmax_t(1) << 30;

// The 64 indices of a block, two bits each.
struct BlockKey {
    std::uint64_t lo = 0; // pixels 0..31
    std::uint64_t hi = 0; // pixels 32..63
    bool operator==(const BlockKey&) const = default;
};

// Finds the tile made from a block. The tiles 0..n-1 of an import are all
// different (a block only becomes a tile when none equals it), so a lookup
// by content gives the same tile as comparing with each tile in turn.
class BlockTable {
public:
    BlockTable() { slots_.fill(Slot{}); }

    int find(const BlockKey& key) const
    {
        for (size_t i = hash(key);; i = (i + 1) & MASK) {
            const Slot& s = slots_[i];
            if (s.tile < 0)
                return -1;
            if (s.key == key)
                return s.tile;
        }
    }
    void add(const BlockKey& key, int tile)
    {
        size_t i = hash(key);
        while (slots_[i].tile >= 0)
            i = (i + 1) & MASK;
        slots_[i] = Slot{key, tile};
    }

private:
    // At most 511 entries: never more than half full, so probing ends quickly.
    static constexpr size_t SIZE = 1024;
    static constexpr size_t MASK = SIZE - 1;
    struct Slot {
        BlockKey key;
        int tile = -1;
    };
    static size_t hash(const BlockKey& k)
    {
        std::uint64_t h = k.lo * 0x9E3779B97F4A7C15ull ^ (k.hi + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 29;
        return static_cast<size_t>(h) & MASK;
    }
    std::array<Slot, SIZE> slots_;
};

// Grows the map at index 0 to hold at least w x h cells; the map never shrinks.
bool growMap(MapGrid& map, int w, int h)
{
    if (map.width >= w && map.height >= h)
        return true;
    if (!MapGrid::sizeAllowed(std::max(map.width, w), std::max(map.height, h)))
        return false;
    MapGrid grown = map;
    if (grown.width < w && !grown.insertColumns(0, w - grown.width))
        return false;
    if (grown.height < h && !grown.insertRows(0, h - grown.height))
        return false;
    map = std::move(grown);
    return true;
}

} // namespace

Result importBitmapImage(const BitmapImage& image, Workspace& ws, TileKind layer, BitmapImportSummary* summary)
{
    const int w = image.width;
    const int h = image.height;
    const size_t total = image.pixels.size();

    // The key: the first four pixels (of a picture narrower than 4, the first
    // four in reading order; black where the picture has fewer).
    std::array<std::uint32_t, 4> keys{};
    for (size_t i = 0; i < 4; ++i)
        keys[i] = i < total ? image.pixels[i] : 0;
    const auto indexOf = [&keys](std::uint32_t colour) -> std::uint8_t {
        for (std::uint8_t i = 0; i < 4; ++i)
            if (keys[i] == colour)
                return i;
        return 0;
    };

    const int tilesX = w / 8;
    const int tilesY = h / 8;
    try {
        std::vector<std::uint8_t> band(static_cast<size_t>(tilesX) * 64);
        if (!growMap(ws.project.map, tilesX, tilesY))
            return Result::failure(MSG_MAP_GROWTH_FAILED);

        TileSet& bg = ws.tiles.bg;
        BlockTable known;
        int n = 0;
        bool lastTileUsed = false;
        for (int ty = 0; ty < tilesY; ++ty) {
            // The indices of one band of 8 pixel rows, block after block.
            for (int row = 0; row < 8; ++row) {
                const std::uint32_t* src = image.pixels.data() + size_t(ty * 8 + row) * size_t(w);
                for (int x = 0; x < tilesX * 8; ++x)
                    band[size_t(x / 8) * 64 + size_t(row) * 8 + size_t(x % 8)] = indexOf(src[x]);
            }
            if (ty == 0 && tilesX > 0)
                for (size_t i = 0; i < 4; ++i)
                    band[i] = 0; // the key pixels
            for (int tx = 0; tx < tilesX; ++tx) {
                const std::uint8_t* block = band.data() + size_t(tx) * 64;
                BlockKey key;
                for (int i = 0; i < 32; ++i) {
                    key.lo |= std::uint64_t(block[i]) << (2 * i);
                    key.hi |= std::uint64_t(block[32 + i]) << (2 * i);
                }
                int k = known.find(key);
                if (k < 0) {
                    k = n;
                    std::copy(block, block + 64, bg.tiles[static_cast<size_t>(k)].pixels.begin());
                    if (n < TILES_PER_SET - 1) {
                        known.add(key, n);
                        ++n;
                    } else {
                        lastTileUsed = true;
                    }
                }
                if (MapCell* cell = ws.project.map.cellAt(tx, ty))
                    cell->place(layer, k, 0);
            }
        }
        if (summary) {
            summary->tilesMade = n + (lastTileUsed ? 1 : 0);
            summary->blocksWide = tilesX;
            summary->blocksHigh = tilesY;
        }
    } catch (const std::bad_alloc&) {
        return Result::failure(MSG_MAP_GROWTH_FAILED);
    }

    GbcPalette& palette0 = ws.tiles.palettes.bgPalettes[0];
    for (size_t i = 0; i < 4; ++i)
        palette0[i] = GbcColor{static_cast<std::uint8_t>((keys[i] >> 16 & 0xFF) >> 3),
                               static_cast<std::uint8_t>((keys[i] >> 8 & 0xFF) >> 3),
                               static_cast<std::uint8_t>((keys[i] & 0xFF) >> 3)};
    ws.tiles.palettes.recomputeDisplay(TILE_BG);
    ws.project.setChanged(CHANGED_MAP);
    return Result::success();
}

Result importBitmapBytes(std::span<const std::uint8_t> bytes, Workspace& ws, TileKind layer,
                         BitmapImportSummary* summary)
{
    BitmapImage image;
    switch (decodeBitmap(bytes, image)) {
    case BitmapReadStatus::Ok:
        return importBitmapImage(image, ws, layer, summary);
    case BitmapReadStatus::TooManyColours:
        return Result::failure(MSG_BITMAP_TOO_MANY_COLOURS);
    case BitmapReadStatus::NotBitmap:
    case BitmapReadStatus::Damaged:
        break;
    }
    return Result::failure(std::string());
}

Result importBitmapFile(const std::string& path, Workspace& ws, TileKind layer, BitmapImportSummary* summary)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readWholeFile(path, bytes, MAX_BITMAP_FILE);
    if (read == ReadStatus::NotRegular)
        return Result::failure(readFailureText(read, path, {}));
    if (read != ReadStatus::Ok)
        return Result::failure(std::string());
    return importBitmapBytes(bytes, ws, layer, summary);
}

} // namespace qm
