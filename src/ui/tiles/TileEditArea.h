#pragma once
// The enlarged pixel grid of the tile editor. It owns nothing: painting and
// every mouse event go to the callbacks its bar sets.

#include <QWidget>

#include <functional>

namespace qm::ui {

class TileEditArea : public QWidget {
    Q_OBJECT
public:
    explicit TileEditArea(QWidget* parent = nullptr);

    std::function<void(QPainter&)> paint;
    std::function<void(QMouseEvent*)> pressed;
    std::function<void(QMouseEvent*)> moved;
    std::function<void(QMouseEvent*)> released;
    std::function<void(QContextMenuEvent*)> contextMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace qm::ui
