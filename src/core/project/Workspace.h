#pragma once
// Everything one open project consists of: the project state, the three tile
// sets with their palettes, and the four display colours stored with it.

#include "core/project/ProjectState.h"
#include "core/tiles/TileLibrary.h"

#include <cstdint>

namespace qm {

// Colours are 0x00BBGGRR values, as stored in the project file.
struct ProjectColours {
    std::uint32_t bgSelection = 0x000000FF;  // frame of selected tiles on the BG page
    std::uint32_t objSelection = 0x000000FF; // the same on the OBJ page
    std::uint32_t cursor = 0x000000FF;       // the map view's cursor and selection outlines
    std::uint32_t grid = 0x00000080;         // the map view's grid lines
    bool operator==(const ProjectColours&) const = default;
};

struct Workspace {
    ProjectState project;
    TileLibrary tiles;
    ProjectColours colours;
};

} // namespace qm
