#include "core/edit/RowColumnEdit.h"

#include <algorithm>

namespace qm {

namespace {

LineEdit insertLines(Workspace& ws, UndoStore& undo, int at, int n, bool columns)
{
    LineEdit out;
    MapGrid& map = ws.project.map;
    if (n < 1 || !map.hasCells())
        return out;
    const int extent = columns ? map.width : map.height;
    at = std::clamp(at, 0, extent - 1);
    const bool done = columns ? map.insertColumns(at, n) : map.insertRows(at, n);
    if (!done) {
        out.result = Result::failure(columns ? MSG_NO_MEMORY_INSERT_COLUMN : MSG_NO_MEMORY_INSERT_ROW);
        return out;
    }
    // Inserted before at, or appended after the last line.
    const int first = at == extent - 1 ? extent : at;
    undo.beginStep(columns ? STEP_COLUMNS_RESTORED : STEP_ROWS_RESTORED,
                   columns ? StepName::InsertColumn : StepName::InsertRow);
    undo.insertedLines(first, n);
    out.lines = n;
    return out;
}

LineEdit deleteLines(Workspace& ws, UndoStore& undo, int from, int to, bool columns)
{
    LineEdit out;
    MapGrid& map = ws.project.map;
    const int extent = columns ? map.width : map.height;
    const int last = std::min(to, extent - 1);
    if (from < 0 || from > last)
        return out;
    // A map keeps at least one line: deleting at from stops there.
    const int removed = std::min(last - from + 1, extent - 1);
    if (removed <= 0)
        return out;
    undo.beginStep(columns ? STEP_COLUMNS_DELETED : STEP_ROWS_DELETED,
                   columns ? StepName::DeleteColumn : StepName::DeleteRow);
    const bool saved = columns ? undo.saveColumns(map, from, removed) : undo.saveRows(map, from, removed);
    if (!saved) {
        undo.dropStep(); // nothing was deleted
        out.result = Result::failure(MSG_NO_MEMORY_UNDO);
        return out;
    }
    for (int i = 0; i < removed; ++i) {
        if (columns)
            map.deleteColumn(from);
        else
            map.deleteRow(from);
    }
    out.lines = removed;
    return out;
}

} // namespace

LineEdit insertColumnsAt(Workspace& ws, UndoStore& undo, int x, int n) { return insertLines(ws, undo, x, n, true); }
LineEdit insertRowsAt(Workspace& ws, UndoStore& undo, int y, int n) { return insertLines(ws, undo, y, n, false); }
LineEdit deleteColumns(Workspace& ws, UndoStore& undo, int from, int to) { return deleteLines(ws, undo, from, to, true); }
LineEdit deleteRows(Workspace& ws, UndoStore& undo, int from, int to) { return deleteLines(ws, undo, from, to, false); }

} // namespace qm
