#pragma once
// The data of the open project outside the tile sets: the map, the paths that
// tie the project to its files, the change flags and the export settings.

#include "core/project/ExportSettings.h"
#include "core/project/MapGrid.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qm {

using ChangeFlags = std::uint8_t;
inline constexpr ChangeFlags CHANGED_MAP = 0x04;
inline constexpr ChangeFlags CHANGED_PROJECT = 0x08;
inline constexpr ChangeFlags CHANGED_PALETTE = 0x10;
inline constexpr ChangeFlags OLD_VERSION = 0x20;
inline constexpr ChangeFlags CHANGED_BG_TILES = 0x40;
inline constexpr ChangeFlags CHANGED_OBJ_TILES = 0x80;

struct ProjectState {
    std::string projectPath;    // empty while untitled
    std::string projectDir;     // directory of projectPath, no trailing separator
    std::string bgTileSetPath;  // may be empty
    std::string objTileSetPath; // may be empty
    MapGrid map;
    ChangeFlags changeFlags = 0;
    ExportSettings exportSettings;

    // Called after every change of changeFlags (the editor rebuilds its title).
    std::function<void()> onFlagsChanged;

    void setChanged(ChangeFlags bits);
    void clearChanged();
    // Clears only the given bits.
    void clearChangedBits(ChangeFlags bits);
    // .qmd project becomes .qmm, .bts becomes .qmb, .ots becomes .qmo.
    void normalisePaths();
};

} // namespace qm
