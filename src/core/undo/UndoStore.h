#pragma once
// The one-step undo store of the whole editor. Every edit begins a step,
// saves each cell, tile or colour before changing it, and then changes it.
// Undo and Redo exchange the saved values with the current ones, so the two
// alternate on the same records.

#include "core/project/Workspace.h"
#include "core/tiles/CTile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

inline constexpr const char* MSG_NO_MEMORY_UNDO = "Not enough memory to save undo data, operation aborted.";

enum UndoStepKind : int {
    STEP_NONE = 0,
    STEP_CELLS = 1,           // map cell edit
    STEP_TILES = 2,           // tile edit
    STEP_TILE_PALETTE = 3,    // tile palette change followed by the map
    STEP_COLOURS = 4,         // palette colour edit
    STEP_COLUMNS_DELETED = 5, // Undo pending
    STEP_ROWS_DELETED = 6,    // Undo pending
    STEP_COLUMNS_RESTORED = 9, // column deletion undone, Redo pending
    STEP_ROWS_RESTORED = 10,   // row deletion undone, Redo pending
};

// One part of a map cell (cells edited in the tag layer are saved as OBJ parts).
struct CellRecord {
    TileKind layer = TILE_BG; // TILE_BG or TILE_OBJ
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint8_t attr = 0;
    std::int32_t tile = 0;
    std::uint8_t tag = 0;
};

// One palette colour: palette 0..7 BG, 8..15 OBJ; colour 0..3; stored components.
struct ColourRecord {
    std::uint8_t palette = 0;
    std::uint8_t colour = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
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
    int stepKind = STEP_NONE;
    bool canUndo = false;
    bool canRedo = false;
    bool holdCells = false;
    std::vector<CellRecord> cellRecords;
    std::vector<CTile> tileRecords;
    std::vector<ColourRecord> colourRecords;

    // More records than this are refused as if memory ran out.
    std::size_t maxRecords = std::size_t(1) << 26;

    void beginStep(int kind);
    // Forgets every step: Undo and Redo become unavailable.
    void clear();
    void holdCellRecords();
    void releaseCellRecords() { holdCells = false; }

    // Saves the part of cell (x, y) named by layer (the OBJ part for OBJ and
    // tag) and the cell's tag. False when the record cannot be stored. Ignored
    // (true) during a colour step and for cells off the map.
    bool saveCell(const MapGrid& map, int x, int y, TileKind layer);
    // Ignored during a colour step. False when the record cannot be stored.
    bool saveTile(const CTile& tile);
    bool saveColour(int palette, int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // Saves every part holding a tile in columns (or rows) first..first+count-1
    // and records them as the deleted lines. The caller deletes them.
    bool saveColumns(const MapGrid& map, int first, int count);
    bool saveRows(const MapGrid& map, int first, int count);
    int deletedFirst() const { return deletedFirst_; }
    int deletedCount() const { return deletedCount_; }
    // The two packed as the file-era record had them: first line in the upper
    // 16 bits, count in the lower (both kept whole above).
    std::uint32_t deletedLines() const
    {
        return (static_cast<std::uint32_t>(deletedFirst_ & 0xFFFF) << 16) |
               static_cast<std::uint32_t>(deletedCount_ & 0xFFFF);
    }

    // Exchanges the saved values with the current ones for the current step.
    // Records are exchanged last to first when reverse is set, so that a
    // cell, tile or colour saved twice in one step comes back to its first
    // state; Undo goes in reverse and Redo forward. False when the lines of a
    // row or column step could not be put back for want of memory (nothing
    // changed then).
    bool apply(Workspace& ws, UndoListener& listener, bool reverse);

    // The two commands: false when not available (or apply failed).
    bool undo(Workspace& ws, UndoListener& listener);
    bool redo(Workspace& ws, UndoListener& listener);

private:
    bool reserveOne(std::size_t size) const;
    void exchangeCells(MapGrid& map, UndoListener& listener, bool reverse);
    void exchangeTiles(TileLibrary& tiles, UndoListener& listener, bool reverse);
    void exchangeColours(TileLibrary& tiles, UndoListener& listener, bool reverse);
    bool exchangeLines(Workspace& ws, UndoListener& listener);
    bool saveLines(const MapGrid& map, int first, int count, bool columns);

    int deletedFirst_ = 0;
    int deletedCount_ = 0;
};

} // namespace qm
