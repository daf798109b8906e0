#pragma once
// The scroll position of the map view: the first column and row on screen,
// how many whole cells fit, and the two scroll bars, which appear only when
// the map does not fit and move by the steps of the scroll table.

#include "core/base/ScrollTable.h"

#include <QPoint>
#include <Qt>

namespace qm::ui {

class CQuiltmarkView;

class MapViewScroll {
public:
    explicit MapViewScroll(CQuiltmarkView& view);

    int firstColumn() const { return firstColumn_; }
    int firstRow() const { return firstRow_; }
    int visibleColumns() const { return visibleColumns_; }
    int visibleRows() const { return visibleRows_; }

    // How many cells fit at the view's cell size.
    void recomputeVisible();
    // Shows or hides the bars for the map size and sets their ranges.
    void resetScrollBars();
    // One request of the scroll table in a direction.
    void request(Qt::Orientation orientation, ScrollRequest request, int thumb = 0);
    void goToColumn(int v);
    void goToRow(int v);
    // The first column and row put the cell in the middle (as far as they can).
    void centreOn(QPoint cell);
    // The first column and row put the cell at a point of the viewport.
    void keepCellAt(QPoint cell, QPoint point);
    void toStart() { firstColumn_ = firstRow_ = 0; }

private:
    void setFirst(Qt::Orientation o, int value);
    void onScrollAction(Qt::Orientation o, int action);

    CQuiltmarkView& view_;
    int firstColumn_ = 0;
    int firstRow_ = 0;
    int visibleColumns_ = 39;
    int visibleRows_ = 28;
    bool adjusting_ = false;
};

} // namespace qm::ui
