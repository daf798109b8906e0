#pragma once
// One tile page of the tile set manager: the BG and OBJ pages show the two
// banks of their set side by side in two columns of 20 tiles, the tag page
// one column over tiles 0..255. Each tile is drawn at twice its size with
// its number within its bank on its left; selected tiles are framed in the
// selection colour. The page turns clicks, keys, scroll bars and its context
// menu into calls on the manager, which owns every change.

#include "core/tiles/TilePageState.h"
#include "core/tiles/TileKind.h"

#include <QColor>
#include <QWidget>

#include <array>

class QLabel;
class QMenu;
class QScrollBar;

namespace qm::ui {

class CTilesetMgr;

class CTilesetPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int CELL = 16;     // a tile at twice its size
    static constexpr int PITCH = 18;    // from one row of cells to the next
    static constexpr int GRID_TOP = 34; // under the file label and the headings
    static constexpr int COLUMN_WIDTH = 78;
    static constexpr int LABEL_WIDTH = 26;

    CTilesetPage(CTilesetMgr& manager, TileKind kind, QWidget* parent = nullptr);

    TileKind kind() const { return kind_; }
    TilePageState& state() { return state_; }
    const TilePageState& state() const { return state_; }

    QScrollBar* scrollBar(int column) const { return bars_[static_cast<size_t>(column & 1)]; }
    QLabel* paletteLabel() const { return paletteLabel_; }
    QLabel* fileLabel() const { return fileLabel_; }
    QLabel* heading(int column) const { return headings_[static_cast<size_t>(column & 1)]; }

    // Screen rectangle of a grid cell (cell = column * 20 + row).
    QRect cellRect(int cell) const;
    int cellAt(QPoint p) const;

    QColor selectionColour() const { return selectionColour_; }
    void setSelectionColour(const QColor& c);
    void setFileName(const QString& path);

    // Scroll bars follow the state's top rows; the label the current tile.
    void syncFromState();
    // Tiles first..last changed: only their cells are drawn again (the whole
    // page when the state's top rows moved meanwhile).
    void redrawTiles(int first, int last);
    // The right-button menu as it is shown now (built afresh).
    QMenu* buildContextMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void scrolled(int column, int value);

    CTilesetMgr& mgr_;
    TileKind kind_;
    TilePageState state_;
    QColor selectionColour_{255, 0, 0};
    std::array<QScrollBar*, 2> bars_{};
    std::array<QLabel*, 2> headings_{};
    QLabel* fileLabel_ = nullptr;
    QLabel* paletteLabel_ = nullptr;
    bool syncing_ = false;
    int dragStartY_ = -1;
};

} // namespace qm::ui
