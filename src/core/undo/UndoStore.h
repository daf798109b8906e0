#pragma once
// The undo history of the whole editor. Every edit begins a step, saves each
// cell, tile or colour before changing it, and then changes it; each step is
// one entry of the history. Undo and Redo exchange an entry's saved values
// with the current ones, so the two alternate on the same records: Undo walks
// back one entry at a time, Redo forward, and a new step drops the entries
// ahead of it. When the history holds more entries than its depth or more
// memory than its budget, the oldest entries go first; the step being
// recorded always stays, however large.

#include "core/base/Result.h"
#include "core/project/Workspace.h"
#include "core/tiles/CTile.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr const char* MSG_NO_MEMORY_UNDO = "Not enough memory to save undo data, operation aborted.";

enum UndoStepKind : int {
    STEP_NONE = 0,
    STEP_CELLS = 1,        // map cell edit
    STEP_TILES = 2,        // tile edit
    STEP_TILE_PALETTE = 3, // tile palette change followed by the map
    STEP_COLOURS = 4,      // palette colour edit
    // Lines that are out of the map: the exchange puts them back. A deletion
    // before its Undo, an insertion after its Undo.
    STEP_COLUMNS_DELETED = 5,
    STEP_ROWS_DELETED = 6,
    // Lines that are in the map: the exchange takes them out. A deletion
    // after its Undo, an insertion before its Undo.
    STEP_COLUMNS_RESTORED = 9,
    STEP_ROWS_RESTORED = 10,
};

// The command that began a step, named in the Edit menu and the history.
enum class StepName : std::uint8_t {
    None, Pencil, Line, BucketFill, BlockFill, ArrayFill, SetBaseTile, Delete, FlipHorizontally,
    FlipVertically, FlipAreaHorizontally, FlipAreaVertically, SetBank0, SetBank1, FlipBank, ObjPriority,
    BgPriority, CellPalette, Cut, Paste, TypeIn, InsertRow, InsertColumn, DeleteRow, DeleteColumn,
    TilePalette, PaletteColour, PasteColours, ClearTiles, CutTiles, PasteTiles, RemapColours, TilePencil,
    TileBucketFill, ScrollTiles, FlipTiles, RotateTiles, PastePicture,
};

// "Bucket Fill", "Insert Row", "Palette Colour"...; empty for None.
std::string_view stepNameText(StepName name);

// One part of a map cell (cells edited in the tag layer are saved as OBJ
// parts) with the cell's tag. Kept to 8 bytes: a fill of a whole map saves
// 16 million of them. The cell is its place in the map as it was when saved
// (y x width + x); a step is always exchanged on a map of that width.
struct CellRecord {
    std::uint32_t cell : 24 = 0;
    std::uint32_t tag : 8 = 0;
    std::uint16_t tile = 0;
    std::uint8_t attr = 0;
    TileKind layer = TILE_BG; // TILE_BG or TILE_OBJ

    int x(int width) const { return static_cast<int>(cell % static_cast<std::uint32_t>(width)); }
    int y(int width) const { return static_cast<int>(cell / static_cast<std::uint32_t>(width)); }
};
static_assert(sizeof(CellRecord) == 8);

// One palette colour: palette 0..7 BG, 8..15 OBJ; colour 0..3; stored components.
struct ColourRecord {
    std::uint8_t palette = 0;
    std::uint8_t colour = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The cells of a step are kept in chunks: a fill of a whole large map grows
// them by millions, and a single array would need its old and its new copy
// at once each time it grows.
using CellRecords = std::deque<CellRecord>;

// One entry of the history.
struct UndoStep {
    int kind = STEP_NONE;
    StepName name = StepName::None;
    CellRecords cells;
    std::vector<CTile> tiles;
    std::vector<ColourRecord> colours;
    int linesFirst = 0; // row and column steps: the first line and the number of lines
    int linesCount = 0;

    bool isLines() const;
    // Nothing was saved: Undo and Redo would change nothing.
    bool isEmpty() const { return !isLines() && cells.empty() && tiles.empty() && colours.empty(); }
    // The memory the entry holds.
    std::size_t bytes() const;
};

// What apply tells the editor so that it can redraw what changed.
class UndoListener {
public:
    virtual ~UndoListener() = default;
    // Cell (x, y) took other values: re-render it in both images.
    virtual void cellChanged(int x, int y) { (void)x, (void)y; }
    // Many cells of the rectangle x1..x2, y1..y2 took other values at once:
    // re-render the rectangle. By default each of its cells, as cellChanged.
    virtual void areaChanged(int x1, int y1, int x2, int y2)
    {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                cellChanged(x, y);
    }
    // Tiles first..last of a kind took other pixels or palettes.
    virtual void tilesChanged(TileKind kind, int first, int last) { (void)kind, (void)first, (void)last; }
    // Palette colours changed: flags 0x40 BG and/or 0x80 OBJ, mask bit p for palette p (0..15).
    virtual void coloursChanged(std::uint32_t flags, std::uint32_t mask) { (void)flags, (void)mask; }
    // Rows or columns came back or went again: the map size changed.
    virtual void linesChanged() {}
    // The exchange is over: redraw the map and its outline.
    virtual void redraw() {}
};

class UndoStore {
public:
    static constexpr std::size_t DEFAULT_DEPTH = 200;
    static constexpr std::size_t DEFAULT_BUDGET = std::size_t(256) << 20;

    UndoStore();

    // More records than this in one step are refused as if memory ran out.
    std::size_t maxRecords = std::size_t(1) << 26;

    // The most entries kept (at least 1), and the memory they may hold.
    void setDepth(std::size_t entries);
    void setMemoryBudget(std::size_t bytes) { budget_ = bytes; }
    std::size_t memoryBudget() const { return budget_; }
    std::size_t memoryUsed() const;

    // Begins a new entry, dropping the entries ahead of the current one. A
    // tile palette step joins the step being recorded when that is a tile or
    // tile palette step: the tiles sent first and the map cells that follow
    // them are one entry. A step that saved nothing gives its place to the
    // next one, and its Undo only removes it.
    void beginStep(int kind, StepName name);
    // Forgets every entry: Undo and Redo become unavailable.
    void clear();
    // Forgets the step being recorded: its command changed nothing after all.
    void dropStep();

    // Saves the part of cell (x, y) named by layer (the OBJ part for OBJ and
    // tag) and the cell's tag into the step being recorded. False when the
    // record cannot be stored. Ignored (true) during a colour step, for cells
    // off the map and when no step is being recorded.
    bool saveCell(const MapGrid& map, int x, int y, TileKind layer);
    // Ignored during a colour step. False when the record cannot be stored.
    bool saveTile(const CTile& tile);
    bool saveColour(int palette, int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // Deletions: saves every cell of columns (or rows) first..first+count-1
    // that holds anything, both parts and the tag, and records them as the
    // lines of the step. The caller deletes them.
    bool saveColumns(const MapGrid& map, int first, int count);
    bool saveRows(const MapGrid& map, int first, int count);
    // Insertions: the step's lines are the count blank lines the caller put
    // in at first.
    void insertedLines(int first, int count);

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // The entries, oldest first, and how many of them are done: Undo takes
    // back step(position() - 1), Redo does step(position()) again.
    std::size_t size() const { return steps_.size(); }
    std::size_t position() const { return position_; }
    const UndoStep& step(std::size_t i) const { return steps_[i]; }
    // The names the Edit menu shows: of the entry Undo takes back, of the one
    // Redo does again; empty when there is none.
    std::string_view undoName() const;
    std::string_view redoName() const;

    // The entry Undo would take back (also while it is recorded): its kind,
    // records and lines, or none and empty lists.
    int stepKind() const;
    const CellRecords& cellRecords() const;
    const std::vector<CTile>& tileRecords() const;
    const std::vector<ColourRecord>& colourRecords() const;
    int deletedFirst() const;
    int deletedCount() const;
    // The two packed as the file-era record had them: first line in the upper
    // 16 bits, count in the lower (both kept whole above).
    std::uint32_t deletedLines() const
    {
        return (static_cast<std::uint32_t>(deletedFirst() & 0xFFFF) << 16) |
               static_cast<std::uint32_t>(deletedCount() & 0xFFFF);
    }

    // Undo and Redo. Records are exchanged last to first for Undo and first
    // to last for Redo, so that a cell, tile or colour saved twice in one step
    // comes back to its first state. Each sets the change flags of what it
    // exchanged, and clears them where the project is back at what was last
    // saved. A failure with an empty text when there is nothing to do; with
    // MSG_NO_MEMORY_UNDO when the lines of a row or column step could not be
    // put back or saved (nothing changed then, and the entry stays where it
    // was).
    Result undo(Workspace& ws, UndoListener& listener);
    Result redo(Workspace& ws, UndoListener& listener);

    // The workspace now equals its files (saved, opened, or new): the current
    // position is where Undo and Redo find the project unchanged again.
    void markSaved(const Workspace& ws);

private:
    struct Fingerprint {
        std::uint64_t map = 0, bg = 0, obj = 0, tag = 0, palettes = 0;
    };
    static Fingerprint fingerprintOf(const Workspace& ws);

    UndoStep* recording();
    const UndoStep* current() const;
    bool append(CellRecords& list, const CellRecord& r);
    // Drops the oldest done entries while the history is over its depth or
    // budget; the newest entry always stays.
    void trim();
    void dropOldest();
    bool apply(UndoStep& step, Workspace& ws, UndoListener& listener, bool reverse, ChangeFlags& touched);
    void settleFlags(Workspace& ws, ChangeFlags touched) const;
    bool exchangeLines(UndoStep& step, Workspace& ws, UndoListener& listener);
    bool saveLines(UndoStep& step, const MapGrid& map, int first, int count, bool columns);

    std::vector<UndoStep> steps_;
    std::size_t position_ = 0;
    bool recording_ = false; // saves go into steps_.back()
    std::size_t depth_ = DEFAULT_DEPTH;
    std::size_t budget_ = DEFAULT_BUDGET;
    // The position where the project equals its files, and what it held then.
    static constexpr std::size_t NOT_SAVED = SIZE_MAX;
    std::size_t savedAt_ = NOT_SAVED;
    Fingerprint saved_;
};

} // namespace qm
