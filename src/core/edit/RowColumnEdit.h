#pragma once
// Inserting and deleting whole rows and columns of the map. Each is one
// undoable step: deleted lines come back with everything they held, inserted
// lines go again.

#include "core/base/Result.h"
#include "core/project/Workspace.h"
#include "core/undo/UndoStore.h"

namespace qm {

inline constexpr const char* MSG_NO_MEMORY_INSERT_COLUMN = "Not enough memory to perform the addtion";
inline constexpr const char* MSG_NO_MEMORY_INSERT_ROW = "Not enough memory to perform row the addtion";

struct LineEdit {
    Result result;
    int lines = 0; // lines inserted or removed
};

// n blank columns at column x (appended when x is the last column). n < 1
// changes nothing; a failure leaves the map as it was.
LineEdit insertColumnsAt(Workspace& ws, UndoStore& undo, int x, int n);
LineEdit insertRowsAt(Workspace& ws, UndoStore& undo, int y, int n);

// Deletes columns from..to (to clamped to the last column) as a step of kind
// STEP_COLUMNS_DELETED. The map never loses its last column, so deleting
// every column removes all but one and the step records only those.
// Nothing happens unless 0 <= from <= min(to, width - 1).
LineEdit deleteColumns(Workspace& ws, UndoStore& undo, int from, int to);
LineEdit deleteRows(Workspace& ws, UndoStore& undo, int from, int to);

} // namespace qm
