#pragma once
// The enlarged canvas of the tile editor: the frame's pixels drawn zoom times
// their size with the pixel and tile grid, and the pixel selection. The
// pencil paints the pixels the mouse passes over, the bucket fills, the pixel
// selector marks a rectangle, and the right button offers the palettes of the
// tile under the mouse. What it changes goes through the editor.

#include <QPoint>
#include <QWidget>

#include <optional>

class QMenu;

namespace qm::ui {

class CTileEditor;

class TileEditArea : public QWidget {
    Q_OBJECT
public:
    explicit TileEditArea(CTileEditor& editor);

    bool hasPixelSelection() const { return selection_.has_value(); }
    // Corners in frame pixels: the first where the button went down.
    QPoint selectionFirst() const { return selection_ ? selection_->first : QPoint(); }
    QPoint selectionSecond() const { return selection_ ? selection_->second : QPoint(); }
    void setPixelSelection(QPoint first, QPoint second);
    void clearPixelSelection();
    // A drag ends (the editor was hidden).
    void stopDragging();

    // The picture of the canvas as it is drawn now.
    QImage picture() const;
    // The right-button menu for a frame tile (built afresh; the caller owns it).
    QMenu* buildContextMenu(int tile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Selection {
        QPoint first, second;
    };

    void paint(QPainter& p) const;
    // Frame pixel under a point of the canvas; nothing off the frame.
    std::optional<QPoint> pixelAt(QPoint pos) const;

    CTileEditor& editor_;
    std::optional<Selection> selection_;
    bool painting_ = false;
    bool selecting_ = false;
};

} // namespace qm::ui
