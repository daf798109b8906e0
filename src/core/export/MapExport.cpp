#include "core/export/MapExport.h"

#include "core/base/Format.h"
#include "core/export/ExportFile.h"
#include "core/export/ExportFileName.h"
#include "core/export/TagRleExport.h"

#include <algorithm>
#include <cstdint>

namespace qm {

std::uint8_t mapAttributeByte(const MapCell& cell, TileKind layer)
{
    // Without branches: the bits are as good as random across a map.
    const bool obj = layer == TILE_OBJ;
    const unsigned attr = obj ? cell.objAttr : cell.bgAttr;
    const unsigned tile = obj ? cell.objTile : cell.bgTile;
    return static_cast<std::uint8_t>(((attr & ATTR_PALETTE_MASK) >> 2) | static_cast<unsigned>(tile > 255) << 3 |
                                     (attr & ATTR_FLIP_H) << 4 | (attr & ATTR_FLIP_V) << 6 |
                                     (cell.bgAttr & ATTR_PRIORITY) << 2);
}

namespace {

using Index = std::int64_t;

bool consistent(const MapGrid& map)
{
    return map.width > 0 && map.height > 0 &&
           static_cast<std::uint64_t>(map.width) * static_cast<std::uint64_t>(map.height) == map.cells.size();
}

// Steps the progress once for every tenth of limit bytes (when a tenth is at
// least one byte); checked once a row.
class TenthSteps {
public:
    TenthSteps(Progress* progress, size_t limit) : progress_(progress), tenth_(limit / 10), next_(tenth_) {}
    void count(size_t written)
    {
        if (!progress_ || tenth_ == 0)
            return;
        while (written >= next_ && done_ < 10) {
            progress_->step();
            next_ += tenth_;
            ++done_;
        }
    }

private:
    Progress* progress_;
    size_t tenth_;
    size_t next_;
    int done_ = 0;
};

// Writes the entries of a stream in file order into out, at most limit of
// them, and returns how many. The area is the whole map row by row, or with
// rotate square blocks of side min(width, height) left to right, each row by
// row. A step of 2 takes pairs; an odd area width raises the column bound so
// that the pair at a row's end takes the next cell as its second. With
// shiftRows (the 16-tag map of an odd-width map) row r starts r cells later,
// which makes the pairs one continuous row-major stream. Every index written
// is a different cell, so out never needs more than width x height bytes.
template <class Value>
size_t walkStream(int width, int height, int step, bool rotate, bool shiftRows, size_t limit, Value value,
                  std::uint8_t* out, TenthSteps& steps)
{
    const Index total = Index(width) * height;
    if (step == 1 && !rotate) {
        // Plain row order, one cell an entry: the stream is the cells in order.
        const size_t count = std::min(static_cast<size_t>(total), limit);
        for (size_t done = 0; done < count;) {
            const size_t end = std::min(count, done + static_cast<size_t>(width));
            for (size_t i = done; i < end; ++i)
                out[i] = value(static_cast<Index>(i));
            done = end;
            steps.count(done);
        }
        return count;
    }
    const int side = rotate ? std::min(width, height) : width;
    size_t n = 0;
    for (int base = 0; base < width; base += side) {
        const int areaWidth = std::min(side, width - base);
        const int bound = areaWidth + ((areaWidth & 1) ? step - 1 : 0);
        for (int row = 0; row < height; ++row) {
            const Index rowStart = Index(width) * row + base + (shiftRows ? row : 0);
            for (int col = 0; col < bound; col += step) {
                const Index idx = rowStart + col;
                if (idx >= total || n >= limit)
                    return n;
                out[n++] = value(idx);
                if (n >= limit || idx >= total - step)
                    return n;
            }
            steps.count(n);
        }
    }
    return n;
}

// The diagonal band: row r holds columns height-1-r .. width-1-r.
template <class Value>
size_t walkDiagonal(int width, int height, int step, Value value, std::uint8_t* out, TenthSteps& steps)
{
    const int band = width - height + 1;
    size_t n = 0;
    for (int r = 0; r < height; ++r) {
        const Index first = Index(width) * r + (height - 1 - r);
        for (int c = 0; c < band; c += step)
            out[n++] = value(first + c);
        steps.count(n);
    }
    return n;
}

struct EntryKindInfo {
    TileKind layer;
    MapEntryKind kind;
    bool eightBit;
    bool tags256;
    std::uint8_t offset;

    int step() const
    {
        if (kind == MapEntryKind::Attribute)
            return 1;
        if (kind == MapEntryKind::Tag && !tags256)
            return 2;
        return eightBit ? 1 : 2;
    }
};

EntryKindInfo entryInfo(std::uint16_t flags, TileKind layer, MapEntryKind kind, bool tags256)
{
    return EntryKindInfo{layer, kind, (flags & MAP_8BIT) != 0, tags256,
                         static_cast<std::uint8_t>((flags & MAP_SIGNED) ? 0x80 : 0)};
}

// Calls run with the function that gives the byte of the entry at a cell
// index, chosen once for the whole stream. A pair's second cell past the
// last cell of the map counts as 0.
template <class Run>
size_t withEntryValue(const MapGrid& map, const EntryKindInfo& e, Run&& run)
{
    const MapCell* cells = map.cells.data();
    const Index total = Index(map.width) * map.height;
    const std::uint8_t offset = e.offset;
    const bool obj = e.layer == TILE_OBJ;
    switch (e.kind) {
    case MapEntryKind::Attribute:
        if (obj)
            return run([cells](Index i) { return mapAttributeByte(cells[i], TILE_OBJ); });
        return run([cells](Index i) { return mapAttributeByte(cells[i], TILE_BG); });
    case MapEntryKind::Tag:
        if (e.tags256)
            return run([cells](Index i) { return cells[i].tag; });
        return run([cells, total](Index i) {
            return static_cast<std::uint8_t>(((cells[i].tag * 16) & 0xFF) | (i + 1 < total ? cells[i + 1].tag : 0));
        });
    case MapEntryKind::Data:
        break;
    }
    if (e.eightBit) {
        if (obj)
            return run([cells, offset](Index i) { return static_cast<std::uint8_t>(cells[i].objTile + offset); });
        return run([cells, offset](Index i) { return static_cast<std::uint8_t>(cells[i].bgTile + offset); });
    }
    auto nibbles = [cells, total, offset](auto tileOf) {
        return [cells, total, offset, tileOf](Index i) {
            const std::uint8_t hi = static_cast<std::uint8_t>((tileOf(cells[i]) + offset) & 0x0F);
            const std::uint8_t lo =
                i + 1 < total ? static_cast<std::uint8_t>((tileOf(cells[i + 1]) + offset) & 0x0F) : 0;
            return static_cast<std::uint8_t>(hi << 4 | lo);
        };
    };
    if (obj)
        return run(nibbles([](const MapCell& c) { return c.objTile; }));
    return run(nibbles([](const MapCell& c) { return c.bgTile; }));
}

std::vector<std::uint8_t> buildStream(const MapGrid& map, std::uint16_t flags, TileKind layer, MapEntryKind kind,
                                      bool tags256, size_t limit, Progress* progress)
{
    std::vector<std::uint8_t> out;
    if (!consistent(map))
        return out;
    const EntryKindInfo e = entryInfo(flags, layer, kind, tags256);
    const bool rotate = (flags & MAP_ROTATE_90) != 0;
    // Rotated blocks keep pairs in map order, so the continuous 16-tag
    // stream only applies to the plain row order.
    const bool shiftRows = kind == MapEntryKind::Tag && !tags256 && (map.width & 1) && !rotate;
    out.resize(std::min<size_t>(limit, map.cells.size()));
    TenthSteps steps(progress, limit);
    const size_t n = withEntryValue(map, e, [&](auto value) {
        return walkStream(map.width, map.height, e.step(), rotate, shiftRows, limit, value, out.data(), steps);
    });
    steps.count(n);
    out.resize(n);
    return out;
}

std::vector<std::uint8_t> buildDiagonal(const MapGrid& map, std::uint16_t flags, TileKind layer, MapEntryKind kind,
                                        Progress* progress)
{
    std::vector<std::uint8_t> out;
    if (!consistent(map) || map.width < map.height)
        return out;
    const EntryKindInfo e = entryInfo(flags, layer, kind, true);
    const int step = e.step();
    const int band = map.width - map.height + 1;
    out.resize(static_cast<size_t>(map.height) * static_cast<size_t>((band + step - 1) / step));
    TenthSteps steps(progress, out.size());
    const size_t n = withEntryValue(map, e, [&](auto value) {
        return walkDiagonal(map.width, map.height, step, value, out.data(), steps);
    });
    steps.count(n);
    out.resize(n);
    return out;
}

struct MapFile {
    TileKind layer;
    MapEntryKind kind;
    int code;              // exportFileName code of the one-file name
    const char* splitStem; // stem of split file names
    bool mayBeDiagonal;
};

class MapPageRun {
public:
    MapPageRun(const MapGrid& map, const ExportSettings& s, Prompter& prompter, Progress& progress,
               ExportFormat format)
        : map_(map), s_(s), prompter_(prompter), progress_(progress), format_(format)
    {
    }

    ExportReport run()
    {
        const std::uint16_t f = s_.mapFlags;
        if (f & MAP_EXPORT_BG)
            streamFiles({TILE_BG, MapEntryKind::Data, EXPORT_MAP_BG, "MapBG", true});
        if (f & MAP_EXPORT_OBJ)
            streamFiles({TILE_OBJ, MapEntryKind::Data, EXPORT_MAP_OBJ, "MapOBJ", true});
        if (f & MAP_EXPORT_BG_ATTR) {
            if (f & MAP_SPLIT_BG_ATTR)
                splitAttributes(TILE_BG, "MAPABG");
            else
                streamFiles({TILE_BG, MapEntryKind::Attribute, EXPORT_MAP_ATTR_BG, "MAPABG", true});
        }
        if (f & MAP_EXPORT_OBJ_ATTR) {
            if (f & MAP_SPLIT_OBJ_ATTR)
                splitAttributes(TILE_OBJ, "MAPAOBJ");
            else
                streamFiles({TILE_OBJ, MapEntryKind::Attribute, EXPORT_MAP_ATTR_OBJ, "MAPAOBJ", true});
        }
        if (f & MAP_EXPORT_TAG) {
            streamFiles({TILE_TAG, MapEntryKind::Tag, EXPORT_TAG, "Tag", false});
            if (f & MAP_RLE_TAG)
                writeTagRle(map_, s_.mapLocation, s_.mapPrefix, prompter_, progress_, report_, format_);
        }
        return std::move(report_);
    }

private:
    std::string splitPath(const char* stem, int number) const
    {
        return exportPath(s_.mapLocation, s_.mapPrefix + stem + formatText("%02d.bin", number));
    }

    void refuse(const std::string& binaryPath, const char* message)
    {
        const std::string path = shownExportPath(binaryPath, format_);
        const std::string text = formatText(message, path.c_str());
        prompter_.inform(text);
        report_.skipped(path, text);
    }

    void streamFiles(const MapFile& mf)
    {
        const std::uint16_t f = s_.mapFlags;
        const bool oneFile = (f & MAP_ONE_FILE) != 0;
        const bool diagonal = mf.mayBeDiagonal && (f & MAP_REMOVE_LEADING);
        const bool rotate = !diagonal && (f & MAP_ROTATE_90);
        const std::string firstPath = oneFile ? exportPath(s_.mapLocation, exportFileName(mf.code, s_.mapPrefix,
                                                                                            s_.mapSuffix))
                                              : splitPath(mf.splitStem, 1);
        if (!oneFile && s_.mapSplitCount <= 0)
            return refuse(firstPath, MSG_SPLIT_COUNT);
        if (map_.width < map_.height && diagonal)
            return refuse(firstPath, MSG_DIAGONAL_TALL);
        if (map_.width < map_.height && rotate)
            return refuse(firstPath, MSG_ROTATE_TALL);
        if (!consistent(map_)) {
            report_.skipped(shownExportPath(firstPath, format_), "The map has no cells.");
            return;
        }

        const bool tags256 = s_.tagCountMode == TAGS_256;
        const char* caption = diagonal && mf.kind == MapEntryKind::Attribute ? "Exporting map attributes data"
                                                                              : "Exporting map data";
        if (oneFile) {
            std::optional<ExportFile> file = openExportFile(s_.mapLocation, firstPath, prompter_, report_, format_);
            if (!file)
                return;
            ProgressScope scope(progress_, caption, 10);
            if (diagonal) {
                file->bytes() = buildDiagonal(map_, f, mf.layer, mf.kind, &progress_);
            } else {
                const int step = entryInfo(f, mf.layer, mf.kind, tags256).step();
                // Half the cells for pairs, but a one-cell map still gets its byte.
                const size_t limit = std::max<size_t>(1, static_cast<size_t>(Index(map_.width) * map_.height / step));
                file->bytes() = buildStream(map_, f, mf.layer, mf.kind, tags256, limit, &progress_);
            }
            commitExportFile(*file, prompter_, report_);
            return;
        }

        const std::vector<std::uint8_t> stream = diagonal ? buildDiagonal(map_, f, mf.layer, mf.kind, nullptr)
                                                          : buildStream(map_, f, mf.layer, mf.kind, tags256,
                                                                        SIZE_MAX, nullptr);
        const size_t chunk = static_cast<size_t>(s_.mapSplitCount);
        const size_t files = std::max<size_t>(1, (stream.size() + chunk - 1) / chunk);
        ProgressScope scope(progress_, caption, static_cast<int>(std::min<size_t>(files, INT32_MAX)));
        for (size_t n = 0; n < files; ++n) {
            std::optional<ExportFile> file = openExportFile(
                s_.mapLocation, splitPath(mf.splitStem, static_cast<int>(n + 1)), prompter_, report_, format_);
            if (!file)
                return;
            const size_t from = n * chunk;
            const size_t to = std::min(stream.size(), from + chunk);
            file->bytes().assign(stream.begin() + static_cast<std::ptrdiff_t>(from),
                                 stream.begin() + static_cast<std::ptrdiff_t>(to));
            commitExportFile(*file, prompter_, report_);
            scope.step();
        }
    }

    void splitAttributes(TileKind layer, const char* stem)
    {
        static const char* const PARTS[] = {"pal", "flipV", "flipH", "bank", "dp"};
        const std::string base = exportPath(s_.mapLocation, s_.mapPrefix);
        std::vector<ExportFile> files;
        for (const char* part : PARTS) {
            const std::string path = base + stem + part + s_.mapSuffix + ".bin";
            std::optional<ExportFile> file = openExportFile(s_.mapLocation, path, prompter_, report_, format_);
            if (!file) {
                for (const ExportFile& made : files)
                    skipExportFile(made, "Not written, as " + shownExportPath(path, format_) + " cannot be created.",
                                   report_);
                return;
            }
            files.push_back(std::move(*file));
        }
        if (!consistent(map_)) {
            for (const ExportFile& made : files)
                skipExportFile(made, "The map has no cells.", report_);
            return;
        }
        const Index total = Index(map_.width) * map_.height;
        for (ExportFile& file : files)
            file.bytes().reserve(static_cast<size_t>(total / 2));

        ProgressScope scope(progress_, "Exporting map attribute", map_.height);
        std::uint8_t pal = 0, flipV = 0, flipH = 0, bank = 0, dp = 0;
        Index k = 0;
        for (int row = 0; row < map_.height; ++row) {
            for (int col = 0; col < map_.width; ++col, ++k) {
                const MapCell& cell = map_.cells[static_cast<size_t>(k)];
                const std::uint8_t attr = layer == TILE_OBJ ? cell.objAttr : cell.bgAttr;
                const std::uint16_t tile = layer == TILE_OBJ ? cell.objTile : cell.bgTile;
                const std::uint8_t palette = (attr & ATTR_PALETTE_MASK) >> 2;
                if (k & 1)
                    files[0].put(static_cast<std::uint8_t>(pal | palette));
                else
                    pal = static_cast<std::uint8_t>(palette << 4);
                const int bit = 7 - static_cast<int>(k & 7);
                flipV |= static_cast<std::uint8_t>(((attr & ATTR_FLIP_V) ? 1 : 0) << bit);
                flipH |= static_cast<std::uint8_t>(((attr & ATTR_FLIP_H) ? 1 : 0) << bit);
                bank |= static_cast<std::uint8_t>((tile > 255 ? 1 : 0) << bit);
                dp |= static_cast<std::uint8_t>(((attr & ATTR_PRIORITY) ? 1 : 0) << bit);
                if (bit == 0) {
                    files[1].put(flipV);
                    files[2].put(flipH);
                    files[3].put(bank);
                    files[4].put(dp);
                    flipV = flipH = bank = dp = 0;
                }
            }
            scope.step();
        }
        for (ExportFile& file : files)
            commitExportFile(file, prompter_, report_);
    }

    const MapGrid& map_;
    const ExportSettings& s_;
    Prompter& prompter_;
    Progress& progress_;
    ExportFormat format_;
    ExportReport report_;
};

} // namespace

std::vector<std::uint8_t> mapStream(const MapGrid& map, std::uint16_t flags, TileKind layer, MapEntryKind kind,
                                    bool tags256)
{
    if ((flags & MAP_ROTATE_90) && map.width < map.height)
        return {};
    return buildStream(map, flags, layer, kind, tags256, SIZE_MAX, nullptr);
}

std::vector<std::uint8_t> mapDiagonalStream(const MapGrid& map, std::uint16_t flags, TileKind layer,
                                            MapEntryKind kind)
{
    return buildDiagonal(map, flags, layer, kind, nullptr);
}

ExportReport exportMapPage(const MapGrid& map, const ExportSettings& settings, Prompter& prompter,
                           Progress& progress, ExportFormat format)
{
    const std::uint16_t any = MAP_EXPORT_BG | MAP_EXPORT_OBJ | MAP_EXPORT_BG_ATTR | MAP_EXPORT_OBJ_ATTR |
                              MAP_EXPORT_TAG;
    if (settings.mapFlags & any) {
        ExportReport report;
        if (settings.mapLocation.empty()) {
            prompter.inform(MSG_EMPTY_LOCATION);
            report.skipped("", MSG_EMPTY_LOCATION);
            return report;
        }
        if (refuseExportNames(ExportPage::Map, settings.mapPrefix, settings.mapSuffix, prompter, report))
            return report;
    }
    return MapPageRun(map, settings, prompter, progress, format).run();
}

} // namespace qm
