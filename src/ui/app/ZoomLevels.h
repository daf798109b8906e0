#pragma once
// The zoom levels of the zoom box and the map view's cell size at each.

#include <array>

namespace qm::ui {

inline constexpr int ZOOM_LEVELS = 11;
inline constexpr int DEFAULT_ZOOM_INDEX = 2; // "100%"
inline constexpr std::array<const char*, ZOOM_LEVELS> ZOOM_LABELS = {
    "25%", "50%", "100%", "125%", "150%", "175%", "200%", "300%", "400%", "500%", "700%"};
inline constexpr std::array<int, ZOOM_LEVELS> ZOOM_CELL_SIZES = {4, 6, 8, 10, 12, 14, 16, 24, 32, 40, 48};

} // namespace qm::ui
