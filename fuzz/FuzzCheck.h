#pragma once
// What the fuzz targets share: a check that stops the run with a message, so
// that libFuzzer keeps the input that broke an invariant as a crash, and the
// invariants every reader must keep in what it accepted.

#include "core/project/Workspace.h"
#include "core/undo/UndoStore.h"

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                                   \
    do {                                                                                                   \
        if (!(cond)) {                                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                   \
            std::abort();                                                                                  \
        }                                                                                                  \
    } while (0)

namespace fuzz {

// Every tile holds colour indices 0..3, a comment of at most 32 characters
// ended by a NUL and, when kind is given, the kind bits of its set.
inline void checkTiles(const qm::TileSet& set, int kind = -1)
{
    for (const qm::CTile& t : set.tiles) {
        FUZZ_CHECK(kind < 0 || t.kind() == kind);
        FUZZ_CHECK(t.commentLength <= qm::CTile::MAX_COMMENT && t.comment[t.commentLength] == 0);
        for (std::uint8_t p : t.pixels)
            FUZZ_CHECK(p <= 3);
    }
}

// Every colour of the group is a 5-bit colour.
inline void checkColours(const qm::GbcPaletteGroup& group)
{
    for (const qm::GbcPalette& p : group)
        for (const qm::GbcColor& c : p)
            FUZZ_CHECK(c.red <= 31 && c.green <= 31 && c.blue <= 31);
}

inline bool sameTiles(const qm::TileSet& a, const qm::TileSet& b)
{
    for (size_t i = 0; i < a.tiles.size(); ++i)
        if (!a.tiles[i].sameContent(b.tiles[i]))
            return false;
    return true;
}

// Undoes the edit's step when it left one.
inline void undoStep(qm::UndoStore& undo, qm::Workspace& ws)
{
    qm::UndoListener listener;
    if (undo.canUndo())
        FUZZ_CHECK(undo.undo(ws, listener));
}

} // namespace fuzz
