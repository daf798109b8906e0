#pragma once
// The numbered rulers of the map view: the row ruler down the left edge and
// the column ruler along the top, each one cell thick. Numbers are drawn in
// the ruler digits of core/base/RulerNumbers: every line where its number
// fits its box, a regular step where it does not. Large boxes are etched,
// small ones are parted by single lines.

#include "core/base/RulerNumbers.h"

#include <QHash>
#include <QImage>

class QPainter;
class QRect;

namespace qm::ui {

class CQuiltmarkView;

class MapViewRuler {
public:
    explicit MapViewRuler(const CQuiltmarkView& view) : view_(view) {}

    void paint(QPainter& p);
    // The colours of the widget changed: the numbers are drawn again.
    void forgetNumbers() { labels_.clear(); }

private:
    // The picture of a number, across or digit over digit, on no background.
    const QImage& label(int number, bool stacked);
    void etchedBox(QPainter& p, const QRect& r) const;

    const CQuiltmarkView& view_;
    RulerPlan plan_;
    QHash<int, QImage> labels_; // by number * 2 + stacked, for plan_
};

} // namespace qm::ui
