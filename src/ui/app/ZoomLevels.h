#pragma once
// The zoom levels of the zoom box are the map view's zoom table.

#include "core/base/ZoomTable.h"

namespace qm::ui {

inline constexpr int DEFAULT_ZOOM_INDEX = DEFAULT_ZOOM_LEVEL; // "100%"

} // namespace qm::ui
