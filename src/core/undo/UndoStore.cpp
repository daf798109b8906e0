#include "core/undo/UndoStore.h"

#include "core/base/Fnv.h"
#include "core/render/MapRenderer.h"

#include <algorithm>
#include <new>
#include <utility>

namespace qm {

std::string_view stepNameText(StepName name)
{
    switch (name) {
    case StepName::None: return {};
    case StepName::Pencil: return "Pencil";
    case StepName::Line: return "Line";
    case StepName::BucketFill: return "Bucket Fill";
    case StepName::BlockFill: return "Block Fill";
    case StepName::ArrayFill: return "Array Fill";
    case StepName::SetBaseTile: return "Set Base Tile";
    case StepName::Delete: return "Delete";
    case StepName::FlipHorizontally: return "Flip Horizontally";
    case StepName::FlipVertically: return "Flip Vertically";
    case StepName::FlipAreaHorizontally: return "Flip Area Horizontally";
    case StepName::FlipAreaVertically: return "Flip Area Vertically";
    case StepName::SetBank0: return "Set To Bank 0";
    case StepName::SetBank1: return "Set To Bank 1";
    case StepName::FlipBank: return "Flip Bank";
    case StepName::ObjPriority: return "OBJ Priority";
    case StepName::BgPriority: return "BG Priority";
    case StepName::CellPalette: return "Cell Palette";
    case StepName::Cut: return "Cut";
    case StepName::Paste: return "Paste";
    case StepName::TypeIn: return "Type In";
    case StepName::InsertRow: return "Insert Row";
    case StepName::InsertColumn: return "Insert Column";
    case StepName::DeleteRow: return "Delete Row";
    case StepName::DeleteColumn: return "Delete Column";
    case StepName::TilePalette: return "Tile Palette";
    case StepName::PaletteColour: return "Palette Colour";
    case StepName::PasteColours: return "Paste Colours";
    case StepName::ClearTiles: return "Clear Tiles";
    case StepName::CutTiles: return "Cut Tiles";
    case StepName::PasteTiles: return "Paste Tiles";
    case StepName::RemapColours: return "Remap Colours";
    case StepName::TilePencil: return "Tile Pencil";
    case StepName::TileBucketFill: return "Tile Bucket Fill";
    case StepName::ScrollTiles: return "Scroll Tiles";
    case StepName::FlipTiles: return "Flip Tiles";
    case StepName::RotateTiles: return "Rotate Tiles";
    case StepName::PastePicture: return "Paste Picture";
    }
    return {};
}

namespace {

const CellRecords NO_CELLS;
const std::vector<CTile> NO_TILES;
const std::vector<ColourRecord> NO_COLOURS;

bool columnsKind(int kind) { return kind == STEP_COLUMNS_DELETED || kind == STEP_COLUMNS_RESTORED; }

// A vector append that reports failure instead of throwing.
template <typename List> bool appendTo(List& list, const typename List::value_type& value, std::size_t limit)
{
    if (list.size() >= limit)
        return false;
    try {
        list.push_back(value);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

template <typename List> void shrink(List& list)
{
    try {
        list.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        // The spare room stays; it is counted as used.
    }
}

// Undo of a deletion: n cleared columns that occupy columns first..first+n-1
// afterwards (appended when first is the width). The grid's own insertion
// appends when given its last column, so that case moves the last column out
// of the way.
bool reopenColumns(MapGrid& map, int first, int n)
{
    first = std::clamp(first, 0, map.width);
    if (map.width > 0 && first == map.width - 1) {
        if (!map.insertColumns(first, n))
            return false;
        for (int y = 0; y < map.height; ++y) {
            *map.cellAt(first + n, y) = *map.cellAt(first, y);
            map.cellAt(first, y)->clear();
        }
        return true;
    }
    return map.insertColumns(first, n);
}

bool reopenRows(MapGrid& map, int first, int n)
{
    first = std::clamp(first, 0, map.height);
    if (map.height > 0 && first == map.height - 1) {
        if (!map.insertRows(first, n))
            return false;
        for (int x = 0; x < map.width; ++x) {
            *map.cellAt(x, first + n) = *map.cellAt(x, first);
            map.cellAt(x, first)->clear();
        }
        return true;
    }
    return map.insertRows(first, n);
}

void exchangeCells(CellRecords& records, MapGrid& map, UndoListener& listener, bool reverse)
{
    const std::size_t n = records.size();
    // A large step (a fill) may be rendered again as one area.
    if (map.width < 1)
        return;
    const int w = map.width;
    // The rows follow from the lowest and highest cell number; the columns
    // need each cell's own.
    int x1 = map.width, x2 = -1;
    std::uint32_t low = UINT32_MAX, high = 0;
    for (const CellRecord& r : records) {
        const int x = r.x(w);
        x1 = std::min(x1, x);
        x2 = std::max(x2, x);
        low = std::min<std::uint32_t>(low, r.cell);
        high = std::max<std::uint32_t>(high, r.cell);
    }
    const int y1 = n ? static_cast<int>(low / static_cast<std::uint32_t>(w)) : map.height;
    const int y2 = n ? static_cast<int>(high / static_cast<std::uint32_t>(w)) : -1;
    const bool asArea = rendersAsOneArea(n, x1, y1, x2, y2);
    for (std::size_t k = 0; k < n; ++k) {
        CellRecord& r = records[reverse ? n - 1 - k : k];
        if (r.cell >= map.cells.size())
            continue;
        MapCell* cell = &map.cells[r.cell];
        // Exactly the values saved, an empty part too, so that every entry
        // of a long history puts back the very bytes it found.
        LayerPart part = cell->layerPart(r.layer);
        std::swap(part.attr, r.attr);
        std::swap(part.tile, r.tile);
        const std::uint8_t tag = cell->tag;
        cell->tag = static_cast<std::uint8_t>(r.tag);
        r.tag = tag;
        if (!asArea)
            listener.cellChanged(r.x(w), r.y(w));
    }
    if (asArea)
        listener.areaChanged(std::max(x1, 0), std::max(y1, 0), std::min(x2, map.width - 1), std::min(y2, map.height - 1));
    listener.redraw();
}

ChangeFlags tileFlag(TileKind kind)
{
    return kind == TILE_BG ? CHANGED_BG_TILES : kind == TILE_OBJ ? CHANGED_OBJ_TILES : CHANGED_BG_TILES | CHANGED_OBJ_TILES;
}

ChangeFlags exchangeTiles(std::vector<CTile>& records, TileLibrary& tiles, UndoListener& listener, bool reverse)
{
    struct Range {
        TileKind kind;
        int first = TILES_PER_SET;
        int last = -1;
    };
    Range ranges[3] = {{TILE_BG}, {TILE_OBJ}, {TILE_TAG}};
    ChangeFlags flags = 0;
    const std::size_t n = records.size();
    for (std::size_t k = 0; k < n; ++k) {
        CTile& r = records[reverse ? n - 1 - k : k];
        CTile* tile = tiles.tile(r.kind(), r.index);
        if (!tile)
            continue;
        std::swap(tile->pixels, r.pixels);
        std::swap(tile->attr, r.attr);
        std::swap(tile->commentLength, r.commentLength);
        std::swap(tile->comment, r.comment);
        for (Range& range : ranges) {
            if (range.kind == tile->kind()) {
                range.first = std::min(range.first, int(tile->index));
                range.last = std::max(range.last, int(tile->index));
            }
        }
    }
    for (const Range& range : ranges) {
        if (range.last >= 0) {
            flags |= tileFlag(range.kind);
            listener.tilesChanged(range.kind, range.first, range.last);
        }
    }
    return flags;
}

void exchangeColours(std::vector<ColourRecord>& records, TileLibrary& tiles, UndoListener& listener, bool reverse)
{
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
    const std::size_t n = records.size();
    for (std::size_t k = 0; k < n; ++k) {
        ColourRecord& r = records[reverse ? n - 1 - k : k];
        if (r.palette >= 16 || r.colour >= 4)
            continue;
        GbcColor& c = tiles.palettes.row(r.palette)[r.colour];
        std::swap(c.red, r.red);
        std::swap(c.green, r.green);
        std::swap(c.blue, r.blue);
        flags |= r.palette < 8 ? TILE_BG : TILE_OBJ;
        mask |= std::uint32_t(1) << r.palette;
    }
    if (flags & TILE_BG)
        tiles.palettes.recomputeDisplay(TILE_BG);
    if (flags & TILE_OBJ)
        tiles.palettes.recomputeDisplay(TILE_OBJ);
    listener.coloursChanged(flags, mask);
}

// A 64-bit value a field at a time: the FNV-1a of its eight bytes.
std::uint64_t hashValue(std::uint64_t hash, std::uint64_t v)
{
    std::uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    return fnv1a64(b, hash);
}

std::uint64_t hashTiles(const TileSet& set)
{
    std::uint64_t h = hashValue(FNV_OFFSET, set.attr);
    for (const CTile& t : set.tiles) {
        h = hashValue(h, std::uint64_t(t.attr) | std::uint64_t(t.commentLength) << 8);
        h = fnv1a64({reinterpret_cast<const std::uint8_t*>(t.comment), t.commentLength}, h);
        h = fnv1a64(t.pixels, h);
    }
    return h;
}

std::uint64_t hashMap(const MapGrid& map)
{
    // One word a cell: cheaper than a byte at a time over a large map.
    std::uint64_t h = std::uint64_t(map.width) << 32 | std::uint32_t(map.height);
    for (const MapCell& c : map.cells) {
        const std::uint64_t v = std::uint64_t(c.bgAttr) | std::uint64_t(c.bgTile) << 8 |
                                std::uint64_t(c.objAttr) << 24 | std::uint64_t(c.objTile) << 32 |
                                std::uint64_t(c.tag) << 48;
        h = (h ^ v) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    return h;
}

} // namespace

bool UndoStep::isLines() const
{
    return kind == STEP_COLUMNS_DELETED || kind == STEP_ROWS_DELETED || kind == STEP_COLUMNS_RESTORED ||
           kind == STEP_ROWS_RESTORED;
}

std::size_t UndoStep::bytes() const
{
    // The chunks of the cells are counted whole.
    constexpr std::size_t CHUNK = 512;
    const std::size_t cellBytes = (cells.size() * sizeof(CellRecord) + CHUNK - 1) / CHUNK * CHUNK;
    return sizeof(UndoStep) + cellBytes + tiles.capacity() * sizeof(CTile) +
           colours.capacity() * sizeof(ColourRecord);
}

UndoStore::UndoStore() { steps_.reserve(depth_ + 1); }

void UndoStore::setDepth(std::size_t entries)
{
    depth_ = std::max<std::size_t>(entries, 1);
    try {
        steps_.reserve(depth_ + 1);
    } catch (const std::bad_alloc&) {
    }
    trim();
}

std::size_t UndoStore::memoryUsed() const
{
    std::size_t total = 0;
    for (const UndoStep& s : steps_)
        total += s.bytes();
    return total;
}

UndoStep* UndoStore::recording() { return recording_ && !steps_.empty() ? &steps_.back() : nullptr; }

const UndoStep* UndoStore::current() const { return position_ > 0 ? &steps_[position_ - 1] : nullptr; }

void UndoStore::beginStep(int kind, StepName name)
{
    if (UndoStep* open = recording()) {
        if (kind == STEP_TILE_PALETTE && (open->kind == STEP_TILES || open->kind == STEP_TILE_PALETTE)) {
            open->kind = STEP_TILE_PALETTE;
            return;
        }
    }
    // The entries ahead go, and with them a saved position among them.
    if (savedAt_ != NOT_SAVED && savedAt_ > position_)
        savedAt_ = NOT_SAVED;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (!steps_.empty() && steps_.back().isEmpty()) {
        // Nothing was saved by the last step: this one takes its place.
        if (savedAt_ == steps_.size())
            --savedAt_;
        steps_.pop_back();
    } else if (!steps_.empty()) {
        UndoStep& done = steps_.back();
        shrink(done.cells);
        shrink(done.tiles);
        shrink(done.colours);
    }
    try {
        steps_.emplace_back();
    } catch (const std::bad_alloc&) {
        // No room even for an empty entry: the history starts over.
        clear();
        steps_.emplace_back();
    }
    steps_.back().kind = kind;
    steps_.back().name = name;
    position_ = steps_.size();
    recording_ = true;
    trim();
}

void UndoStore::clear()
{
    steps_.clear();
    position_ = 0;
    recording_ = false;
    savedAt_ = NOT_SAVED;
}

void UndoStore::dropStep()
{
    if (!recording())
        return;
    // While a step is recorded it is the last one and done.
    if (savedAt_ == position_)
        --savedAt_;
    steps_.pop_back();
    position_ = steps_.size();
    recording_ = false;
}

void UndoStore::dropOldest()
{
    steps_.erase(steps_.begin());
    --position_;
    if (savedAt_ != NOT_SAVED)
        savedAt_ = savedAt_ == 0 ? NOT_SAVED : savedAt_ - 1;
}

void UndoStore::trim()
{
    // Only done entries go; the newest one always stays.
    while (position_ > 1 && (steps_.size() > depth_ || memoryUsed() > budget_))
        dropOldest();
}

bool UndoStore::append(CellRecords& list, const CellRecord& r)
{
    if (!appendTo(list, r, maxRecords))
        return false;
    // The budget is checked as the records grow: at every power of two, and
    // every 65536 records beyond.
    const std::size_t n = list.size();
    if ((n & (n - 1)) == 0 || n % 65536 == 0)
        trim();
    return true;
}

bool UndoStore::saveCell(const MapGrid& map, int x, int y, TileKind layer)
{
    UndoStep* step = recording();
    if (!step || step->kind == STEP_COLOURS)
        return true;
    const MapCell* cell = map.cellAt(x, y);
    if (!cell)
        return true;
    CellRecord r;
    r.layer = layer == TILE_BG ? TILE_BG : TILE_OBJ;
    r.cell = static_cast<std::uint32_t>(y * map.width + x) & 0xFFFFFFu;
    const ConstLayerPart part = cell->layerPart(r.layer);
    r.attr = part.attr;
    r.tile = part.tile;
    r.tag = cell->tag;
    return append(step->cells, r);
}

bool UndoStore::saveTile(const CTile& tile)
{
    UndoStep* step = recording();
    if (!step || step->kind == STEP_COLOURS)
        return true;
    const bool grows = step->tiles.size() == step->tiles.capacity();
    if (!appendTo(step->tiles, tile, maxRecords))
        return false;
    if (grows)
        trim();
    return true;
}

bool UndoStore::saveColour(int palette, int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    UndoStep* step = recording();
    if (!step)
        return true;
    ColourRecord r{static_cast<std::uint8_t>(palette), static_cast<std::uint8_t>(colour), red, green, blue};
    return appendTo(step->colours, r, maxRecords);
}

bool UndoStore::saveLines(UndoStep& step, const MapGrid& map, int first, int count, bool columns)
{
    step.linesFirst = first;
    step.linesCount = count;
    const int end = std::min(first + count, columns ? map.width : map.height);
    const int across = columns ? map.height : map.width;
    for (int line = std::max(first, 0); line < end; ++line) {
        for (int i = 0; i < across; ++i) {
            const int x = columns ? line : i;
            const int y = columns ? i : line;
            const MapCell& c = *map.cellAt(x, y);
            // Lines come back blank: only cells holding something are saved,
            // but those whole.
            if (c == MapCell{})
                continue;
            const auto at = static_cast<std::uint32_t>(y * map.width + x);
            if (!append(step.cells, CellRecord{at, c.tag, c.bgTile, c.bgAttr, TILE_BG}) ||
                !append(step.cells, CellRecord{at, c.tag, c.objTile, c.objAttr, TILE_OBJ}))
                return false;
        }
    }
    return true;
}

bool UndoStore::saveColumns(const MapGrid& map, int first, int count)
{
    UndoStep* step = recording();
    return !step || saveLines(*step, map, first, count, true);
}

bool UndoStore::saveRows(const MapGrid& map, int first, int count)
{
    UndoStep* step = recording();
    return !step || saveLines(*step, map, first, count, false);
}

void UndoStore::insertedLines(int first, int count)
{
    if (UndoStep* step = recording()) {
        step->linesFirst = first;
        step->linesCount = count;
    }
}

std::string_view UndoStore::undoName() const
{
    return canUndo() ? stepNameText(steps_[position_ - 1].name) : std::string_view();
}

std::string_view UndoStore::redoName() const
{
    return canRedo() ? stepNameText(steps_[position_].name) : std::string_view();
}

int UndoStore::stepKind() const { return current() ? current()->kind : STEP_NONE; }
const CellRecords& UndoStore::cellRecords() const { return current() ? current()->cells : NO_CELLS; }
const std::vector<CTile>& UndoStore::tileRecords() const { return current() ? current()->tiles : NO_TILES; }
const std::vector<ColourRecord>& UndoStore::colourRecords() const
{
    return current() ? current()->colours : NO_COLOURS;
}
int UndoStore::deletedFirst() const { return current() ? current()->linesFirst : 0; }
int UndoStore::deletedCount() const { return current() ? current()->linesCount : 0; }

Result UndoStore::undo(Workspace& ws, UndoListener& listener)
{
    if (position_ == 0)
        return Result::failure(std::string());
    if (steps_[position_ - 1].isEmpty()) {
        // A step that saved nothing has nothing to put back: it only goes.
        dropStep();
        return Result::success();
    }
    recording_ = false;
    ChangeFlags touched = 0;
    if (!apply(steps_[position_ - 1], ws, listener, true, touched))
        return Result::failure(MSG_NO_MEMORY_UNDO);
    --position_;
    settleFlags(ws, touched);
    return Result::success();
}

Result UndoStore::redo(Workspace& ws, UndoListener& listener)
{
    recording_ = false;
    if (!canRedo())
        return Result::failure(std::string());
    ChangeFlags touched = 0;
    if (!apply(steps_[position_], ws, listener, false, touched))
        return Result::failure(MSG_NO_MEMORY_UNDO);
    ++position_;
    settleFlags(ws, touched);
    return Result::success();
}

bool UndoStore::apply(UndoStep& step, Workspace& ws, UndoListener& listener, bool reverse, ChangeFlags& touched)
{
    switch (step.kind) {
    case STEP_CELLS:
        exchangeCells(step.cells, ws.project.map, listener, reverse);
        break;
    case STEP_TILES:
    case STEP_TILE_PALETTE:
        touched |= exchangeTiles(step.tiles, ws.tiles, listener, reverse);
        exchangeCells(step.cells, ws.project.map, listener, reverse);
        break;
    case STEP_COLOURS:
        exchangeColours(step.colours, ws.tiles, listener, reverse);
        if (!step.colours.empty())
            touched |= CHANGED_PALETTE;
        break;
    default:
        if (!step.isLines())
            break;
        if (!exchangeLines(step, ws, listener))
            return false;
        touched |= CHANGED_MAP;
        break;
    }
    if (!step.cells.empty())
        touched |= CHANGED_MAP;
    return true;
}

void UndoStore::settleFlags(Workspace& ws, ChangeFlags touched) const
{
    ProjectState& project = ws.project;
    if (touched)
        project.setChanged(touched);
    if (position_ != savedAt_ || project.changeFlags == 0)
        return;
    // Back where the files were written: each part that holds again what was
    // saved counts as unchanged (a change made outside the history keeps
    // its part changed).
    const Fingerprint now = fingerprintOf(ws);
    ChangeFlags same = 0;
    if (now.map == saved_.map)
        same |= CHANGED_MAP;
    if (now.palettes == saved_.palettes)
        same |= CHANGED_PALETTE;
    if (now.tag == saved_.tag && now.bg == saved_.bg)
        same |= CHANGED_BG_TILES;
    if (now.tag == saved_.tag && now.obj == saved_.obj)
        same |= CHANGED_OBJ_TILES;
    if (project.changeFlags & same)
        project.clearChangedBits(same);
}

bool UndoStore::exchangeLines(UndoStep& step, Workspace& ws, UndoListener& listener)
{
    MapGrid& map = ws.project.map;
    const int f = step.linesFirst;
    const int n = step.linesCount;
    const bool columns = columnsKind(step.kind);
    if (step.kind == STEP_COLUMNS_DELETED || step.kind == STEP_ROWS_DELETED) {
        if (!(columns ? reopenColumns(map, f, n) : reopenRows(map, f, n)))
            return false;
        for (const CellRecord& r : step.cells) {
            if (r.cell >= map.cells.size())
                continue;
            MapCell* cell = &map.cells[r.cell];
            LayerPart part = cell->layerPart(r.layer);
            part.attr = r.attr;
            part.tile = r.tile;
            cell->tag = static_cast<std::uint8_t>(r.tag);
        }
        step.cells.clear();
        step.kind = columns ? STEP_COLUMNS_RESTORED : STEP_ROWS_RESTORED;
    } else {
        CellRecords kept;
        kept.swap(step.cells);
        if (!saveLines(step, map, f, n, columns)) {
            step.cells.swap(kept);
            return false;
        }
        for (int i = 0; i < n; ++i) {
            if (columns ? f >= map.width : f >= map.height)
                break;
            if (columns)
                map.deleteColumn(f);
            else
                map.deleteRow(f);
        }
        step.kind = columns ? STEP_COLUMNS_DELETED : STEP_ROWS_DELETED;
    }
    listener.linesChanged();
    listener.redraw();
    return true;
}

UndoStore::Fingerprint UndoStore::fingerprintOf(const Workspace& ws)
{
    Fingerprint f;
    f.map = hashMap(ws.project.map);
    f.bg = hashTiles(ws.tiles.bg);
    f.obj = hashTiles(ws.tiles.obj);
    f.tag = hashTiles(ws.tiles.tag);
    std::uint64_t h = FNV_OFFSET;
    const PaletteStore& p = ws.tiles.palettes;
    for (const GbcPaletteGroup* group : {&p.bgPalettes, &p.objPalettes, &p.bgMonoPalettes, &p.objMonoPalettes})
        for (const GbcPalette& palette : *group)
            for (const GbcColor& c : palette)
                h = hashValue(h, std::uint64_t(c.red) | std::uint64_t(c.green) << 8 | std::uint64_t(c.blue) << 16);
    f.palettes = h;
    return f;
}

void UndoStore::markSaved(const Workspace& ws)
{
    savedAt_ = position_;
    saved_ = fingerprintOf(ws);
}

} // namespace qm
