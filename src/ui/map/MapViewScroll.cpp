#include "ui/map/MapViewScroll.h"

#include "ui/map/CQuiltmarkView.h"

#include <QScrollBar>

#include <algorithm>

namespace qm::ui {

MapViewScroll::MapViewScroll(CQuiltmarkView& view) : view_(view)
{
    QScrollBar* bars[2] = {view.horizontalScrollBar(), view.verticalScrollBar()};
    for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = bars[o == Qt::Horizontal ? 0 : 1];
        QObject::connect(bar, &QScrollBar::actionTriggered, &view,
                         [this, o](int action) { onScrollAction(o, action); });
        QObject::connect(bar, &QScrollBar::valueChanged, &view, [this, o](int v) {
            if (!adjusting_)
                setFirst(o, v);
        });
    }
}

void MapViewScroll::recomputeVisible()
{
    visibleColumns_ = view_.viewport()->width() / view_.cellSize();
    visibleRows_ = view_.viewport()->height() / view_.cellSize();
}

void MapViewScroll::resetScrollBars()
{
    if (adjusting_)
        return;
    adjusting_ = true;
    const MapGrid& map = view_.map();
    // Both bars are decided together from the room without any, whichever
    // are shown now: one bar can take away the room the map needed in the
    // other direction.
    const int barWidth = view_.verticalScrollBar()->sizeHint().width();
    const int barHeight = view_.horizontalScrollBar()->sizeHint().height();
    QSize full = view_.maximumViewportSize(); // less the bars that are always on
    if (view_.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        full.rwidth() += barWidth;
    if (view_.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        full.rheight() += barHeight;
    const ScrollBarsShown shown =
        scrollBarsNeeded(map.width, map.height, view_.cellSize(), full.width(), full.height(), barWidth, barHeight);
    const bool needH = map.hasCells() && shown.horizontal;
    const bool needV = map.hasCells() && shown.vertical;
    view_.setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    view_.setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    recomputeVisible();
    struct Direction {
        QScrollBar* bar;
        bool needed;
        int extent;
        int visible;
        int& first;
    };
    Direction dirs[2] = {{view_.horizontalScrollBar(), needH, map.width, visibleColumns_, firstColumn_},
                         {view_.verticalScrollBar(), needV, map.height, visibleRows_, firstRow_}};
    for (Direction& d : dirs) {
        if (!d.needed) {
            d.first = 0;
            continue;
        }
        d.bar->setRange(0, scrollMaximum(d.extent));
        d.bar->setPageStep(std::max(1, d.visible));
        d.bar->setSingleStep(1);
        d.first = std::clamp(d.first, 0, scrollMaximum(d.extent));
        d.bar->setValue(d.first);
    }
    adjusting_ = false;
}

void MapViewScroll::onScrollAction(Qt::Orientation o, int action)
{
    QScrollBar* bar = o == Qt::Horizontal ? view_.horizontalScrollBar() : view_.verticalScrollBar();
    ScrollRequest request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollRequest::LineForward;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollRequest::LineBack;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollRequest::PageForward;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollRequest::PageBack;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollRequest::Start;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollRequest::End;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollRequest::Thumb;
        break;
    default:
        return;
    }
    const bool horizontal = o == Qt::Horizontal;
    const int current = horizontal ? firstColumn_ : firstRow_;
    const std::optional<int> target =
        scrollTarget(request, current, horizontal ? view_.map().width : view_.map().height,
                     horizontal ? visibleColumns_ : visibleRows_, bar->sliderPosition());
    bar->setSliderPosition(target ? std::clamp(*target, bar->minimum(), bar->maximum()) : current);
}

void MapViewScroll::request(Qt::Orientation o, ScrollRequest request, int thumb)
{
    const bool horizontal = o == Qt::Horizontal;
    const Qt::ScrollBarPolicy policy = horizontal ? view_.horizontalScrollBarPolicy() : view_.verticalScrollBarPolicy();
    if (policy == Qt::ScrollBarAlwaysOff)
        return; // the map fits: nothing to scroll
    QScrollBar* bar = horizontal ? view_.horizontalScrollBar() : view_.verticalScrollBar();
    const int current = horizontal ? firstColumn_ : firstRow_;
    const std::optional<int> target =
        scrollTarget(request, current, horizontal ? view_.map().width : view_.map().height,
                     horizontal ? visibleColumns_ : visibleRows_, thumb);
    if (target)
        bar->setValue(std::clamp(*target, bar->minimum(), bar->maximum()));
}

void MapViewScroll::setFirst(Qt::Orientation o, int value)
{
    if (o == Qt::Horizontal) {
        firstColumn_ = value;
        view_.showCellInfo(view_.cursorCell().x(), view_.cursorCell().y());
    } else {
        firstRow_ = value;
    }
    view_.viewport()->update();
}

void MapViewScroll::goToColumn(int v)
{
    if (view_.map().width <= visibleColumns_)
        return;
    view_.horizontalScrollBar()->setValue(goToTarget(v, view_.map().width, visibleColumns_));
}

void MapViewScroll::goToRow(int v)
{
    if (view_.map().height <= visibleRows_)
        return;
    view_.verticalScrollBar()->setValue(goToTarget(v, view_.map().height, visibleRows_));
}

void MapViewScroll::keepCellAt(QPoint cell, QPoint point)
{
    const int size = view_.cellSize();
    firstColumn_ = std::max(0, cell.x() + 1 - point.x() / size);
    firstRow_ = std::max(0, cell.y() + 1 - point.y() / size);
}

void MapViewScroll::centreOn(QPoint cell)
{
    firstColumn_ = std::max(0, cell.x() - visibleColumns_ / 2);
    firstRow_ = std::max(0, cell.y() - visibleRows_ / 2);
}

} // namespace qm::ui
