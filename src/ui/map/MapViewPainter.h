#pragma once
// The picture of the map view: the background, the numbered rulers along the
// top and left edges, the visible part of the map scaled to the cell size
// with the grid, and the outline of the selection. It keeps what painting
// reuses (the scaled map area, pictures of the ruler numbers) and reads
// everything else from the view.

#include "ui/map/MapViewRuler.h"

#include <QImage>

#include <cstdint>
#include <vector>

class QPainter;
class QRect;

namespace qm::ui {

class CQuiltmarkView;

class MapViewPainter {
public:
    explicit MapViewPainter(const CQuiltmarkView& view);

    // Draws the background, the rulers, the map area and the selection outline.
    void paint(QPainter& p, const QRect& area, bool outlineShown);

    // The colours of the widget changed: the ruler numbers are drawn again.
    void forgetRulerNumbers() { ruler_.forgetNumbers(); }
    // The map was replaced: the scaled picture of the old one goes.
    void forgetFrame() { frame_ = QImage(); }

private:
    void paintMapArea(QPainter& p);
    void paintOutline(QPainter& p);

    const CQuiltmarkView& view_;
    QImage frame_;                    // the scaled map area
    std::vector<std::uint8_t> topLine_;   // one source row of the image shown
    std::vector<std::uint8_t> underLine_; // and of the map under transparent tags
    MapViewRuler ruler_;
};

} // namespace qm::ui
