#pragma once
// The map view's mouse tools: selecting (with Shift and the A key),
// zooming, scrolling by hand, painting with the pencil, the line and the
// bucket, and picking tiles from the map with the eyedroppers. A double
// click on a ruler asks where to go; Shift and a double click start the
// type-in mode. It draws what a tool shows while the button is down.

#include "core/base/ZoomAnimation.h"
#include "ui/map/CurrentTile.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>

#include <vector>

class QMouseEvent;
class QWheelEvent;
class QPainter;
class QTimer;

namespace qm::ui {

class CQuiltmarkView;

class MapViewTools : public QObject {
    Q_OBJECT
public:
    explicit MapViewTools(CQuiltmarkView& view);

    // The mouse events of the view; false when the tool does not take it.
    void press(QMouseEvent* event);
    bool move(QMouseEvent* event);
    bool release();
    bool doubleClick(QMouseEvent* event);
    // Ctrl and the wheel zoom through the zoom table around the pointer.
    bool wheel(QWheelEvent* event);

    // The selection becomes every cell showing the tile in the layer (the
    // manager's current tile without arguments), with "%d Used" or "Unuse".
    void selectCellsUsingTile();
    void selectCellsUsingTile(int layer, int tile);
    // The same for cells whose palette in the layer is p.
    void selectCellsUsingPalette(int layer, int p);

    // Drag states.
    bool buttonDown() const { return buttonDown_; }
    bool lineActive() const { return lineActive_; }
    // The cells the line would paint on release.
    const QList<QPoint>& workList() const { return workList_; }
    void forgetPreview() { workList_.clear(); }
    bool zoomAnimating() const { return zoomFrame_ >= 0; }

    // The line preview, the rectangle of an A-drag and the zoom frames.
    void paintOverlay(QPainter& p) const;

private:
    void selectorPress(QPoint cell, Qt::KeyboardModifiers mods);
    void selectorDrag(QPoint cell);
    void selectorRelease();
    void zoomAt(QPoint cell, bool in);
    void zoomStep();
    void handDrag(QPoint cell, QPoint pos);
    void bucketAt(QPoint cell);
    void eyedropAt(QPoint cell);
    void reverseEyedropAt(QPoint cell);
    QImage tileImage(const CurrentTile& tile) const;

    CQuiltmarkView& view_;
    bool buttonDown_ = false;
    bool lineActive_ = false;
    bool selectionAdded_ = false;
    bool aRectActive_ = false;
    bool paintFailed_ = false;
    QPoint dragCell_{0, 0};
    QPoint lineStart_{0, 0};
    QPoint aRectStart_{0, 0};
    QPoint aRectEnd_{0, 0};
    QPoint grab_{0, 0};
    QList<QPoint> workList_;
    QTimer* zoomTimer_ = nullptr;
    std::vector<FrameRect> zoomFrames_;
    int zoomFrame_ = -1;
    bool zoomingIn_ = true;
    int wheelTurn_ = 0; // the wheel's turn not yet taken, in eighths of a degree
};

} // namespace qm::ui
