#include "ui/tiles/TileEditArea.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qm::ui {

TileEditArea::TileEditArea(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void TileEditArea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (paint)
        paint(p);
}

void TileEditArea::mousePressEvent(QMouseEvent* event)
{
    if (pressed)
        pressed(event);
}

void TileEditArea::mouseMoveEvent(QMouseEvent* event)
{
    if (moved)
        moved(event);
}

void TileEditArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (released)
        released(event);
}

void TileEditArea::contextMenuEvent(QContextMenuEvent* event)
{
    if (contextMenu)
        contextMenu(event);
}

} // namespace qm::ui
