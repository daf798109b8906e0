#pragma once
// The map view: the centre pane of the main window. It shows the map of the
// open project scaled to the zoom level, with numbered rulers along its top
// and left edges, keeps the renderer of the map's indexed images, the
// cursor, the selection, the scroll position and the display switches, and
// writes the cell information into the status bar. It does not own the
// map: it works on the workspace and the undo store it is given.
//
// Its jobs are shared among classes: this widget keeps the state and takes
// the messages; MapViewScroll keeps the scroll position; MapViewPainter draws
// the view; MapViewTools and MapViewKeys turn the mouse and the keys into
// tool actions; MapViewCommands runs the edits of the menus, the keys and the
// context menu; MapViewActions holds Undo, Redo and the View menu's switches.
//
// Messages from the main window arrive through handleMessage; the view's own
// notifications leave through the message signal, status texts through
// statusText. Neither reaches into the main window.

#include "core/render/ColourTable.h"
#include "core/render/MapRenderer.h"
#include "core/undo/UndoStore.h"
#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"
#include "ui/map/CurrentTile.h"
#include "ui/map/MapCommand.h"
#include "ui/map/MapViewPainter.h"
#include "ui/map/MapViewScroll.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QVector>

#include <functional>
#include <optional>

namespace qm::ui {

class MapViewActions;
class MapViewCommands;
class MapViewKeys;
class MapViewTools;

class CQuiltmarkView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CQuiltmarkView(Workspace& workspace, UndoStore& undoStore, QWidget* parent = nullptr);
    ~CQuiltmarkView() override;

    MapViewTools& tools() const { return *tools_; }
    MapViewKeys& keys() const { return *keys_; }
    MapViewCommands& commands() const { return *commands_; }
    MapViewActions& actions() const { return *actions_; }
    MapViewScroll& scroll() { return scroll_; }

    // View state.
    int cellSize() const { return cellSize_; }
    int zoomLevel() const;
    int firstColumn() const { return scroll_.firstColumn(); }
    int firstRow() const { return scroll_.firstRow(); }
    int visibleColumns() const { return scroll_.visibleColumns(); }
    int visibleRows() const { return scroll_.visibleRows(); }
    QPoint cursorCell() const { return cursor_; }
    const QList<QPoint>& selection() const { return selection_; }
    bool gridVisible() const { return gridVisible_; }
    bool objHidden() const { return renderer_.objHidden; }
    bool objTransparent() const { return renderer_.objTransparent; }
    bool tagsVisible() const { return tagsVisible_; }
    bool tagsTransparent() const { return tagsTransparent_; }
    bool isModified() const { return modified_; }
    void clearModified() { modified_ = false; }
    QColor cursorColour() const;
    QColor gridColour() const;
    const QString& lastStatusText() const { return statusText_; }

    // The tool the main window holds (the view reads it on every event).
    int currentTool() const { return currentTool_; }
    void setCurrentTool(int tool);
    // Layer code of the manager page shown: 0x40, 0x80 or 0xC0.
    TileKind currentLayer() const { return currentLayer_; }
    void setCurrentLayer(TileKind layer) { currentLayer_ = layer; }
    // The tile the painting tools put down: the provider's, or BG tile 0.
    CurrentTile currentTile() const;

    Workspace& workspace() const { return ws_; }
    const MapGrid& map() const { return ws_.project.map; }
    UndoStore& undoStore() const { return undo_; }
    MapRenderer& renderer() { return renderer_; }
    const MapRenderer& renderer() const { return renderer_; }
    const ColourTable& colourTable() const { return colourTable_; }
    // The 65 colours of the indexed images.
    const QVector<QRgb>& displayColours() const { return qtColours_; }
    // The whole map image (or tag image) as an indexed picture with the 65
    // colours; null when the map is empty or memory ran out.
    QImage mapPicture(bool tags) const;

    // Screen geometry (viewport coordinates).
    QRect cellRect(int x, int y) const;
    // The cell under a point; may lie off the map.
    QPoint cellAtPoint(QPoint p) const;
    bool onMap(QPoint cell) const;
    bool cellOnScreen(QPoint cell) const;
    // Columns and rows of the map on screen.
    int drawnColumns() const;
    int drawnRows() const;

    void renderCell(int x, int y) { renderer_.renderCell(x, y); }
    void moveCursor(int x, int y);
    // The cursor moves without selecting (the selection stays as it is).
    void placeCursor(QPoint cell) { cursor_ = cell; }
    void showCellInfo(int x, int y);
    // The cursor cell may have changed: its information is shown again.
    void refreshCellInfo() { showCellInfo(cursor_.x(), cursor_.y()); }
    // The text of a rectangle selection from (left, top) to the cell (x, y).
    void showSelectionText(int left, int top, int x, int y);
    void setSelection(const QList<QPoint>& cells);
    void setStatus(const QString& text);
    void markModified();
    // Re-renders, resizes and redraws after the map or its tiles were replaced.
    void mapReset(int kind);
    // The display colours follow the palettes.
    void refreshColours();
    // Begins an undo step of the command named (Undo becomes available).
    void beginUndoStep(int kind, StepName name);
    // The cell size of the zoom level, the view centred on a cell.
    void zoomAround(int level, QPoint centre);
    // The same with the cell kept at a point of the viewport.
    void zoomKeeping(int level, QPoint cell, QPoint point);

    // Draws the whole view into p (the paint event does the same).
    void paintView(QPainter& p, const QRect& area);

    // Dialogs, replaceable by tests: the number dialog of Go to (nothing for
    // Cancel) and message boxes.
    std::function<std::optional<int>(const QString& label, QPoint globalPos)> goToPrompt;
    std::function<void(const QString& text)> showMessage;
    // The tile the painting tools put down; BG tile 0 with palette 0 when unset.
    std::function<CurrentTile()> currentTileProvider;

public slots:
    void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    // Tells the panes and the menus whether Undo and Redo can run (also after
    // another pane began a step).
    void refreshUndoActions();
    void setZoomLevel(int level);
    void setGridVisible(bool on);
    void setObjHidden(bool on);
    void setObjTransparent(bool on);
    void setTagsVisible(bool on);
    void setTagsHidden(bool hidden) { setTagsVisible(!hidden); }
    void setTagsTransparent(bool on);
    void setCursorColour(const QColor& colour);
    void setGridColour(const QColor& colour);
    // Tiles first..last of a kind changed: their cells are rendered again.
    void tilesEdited(int kind, int first, int last);

signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void statusText(const QString& text);
    void undoStateChanged(bool canUndo, bool canRedo);
    // For the toolbar check boxes "Hide OBJ" and "Hide Tags" (and the View menu).
    void displaySwitchesChanged(bool objHidden, bool tagsHidden);
    void mapSizeChanged(int width, int height);
    void modifiedChanged();
    // Undo or Redo gave tiles back: the manager redraws them, the editor repaints.
    void tilesRestored(int kind, int first, int last);
    // Every key and button press reaches the main window first.
    void frameKeyEvent(QKeyEvent* event, bool pressed);
    void frameMousePressed(QMouseEvent* event);
    // A tool held while a key is down (the main window restores the previous
    // tool at the next key release).
    void temporaryToolRequested(int tool);
    // Arrow keys without Ctrl or Shift move the manager's tile selection.
    void managerArrowKey(int key);
    void mapCommand(qm::ui::MapCommand command, int argument);
    // The eyedroppers and the type-in mode select a tile on the manager's
    // page of that kind (the tile editor follows).
    void tilePicked(int kind, int tile);
    // Copy MapToTile: the manager's page of that kind replaces its selection.
    void copyMapToTileRequested(int kind, const QList<int>& tiles);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void rebuildColourTable();
    void afterDisplaySwitch();

    Workspace& ws_;
    UndoStore& undo_;
    MapRenderer renderer_;
    ColourTable colourTable_{};
    QVector<QRgb> qtColours_;

    int cellSize_ = 8;
    int mapWidth_ = 0; // the map size the view last took
    int mapHeight_ = 0;
    QPoint cursor_{0, 0};
    TileKind currentLayer_ = TILE_BG;
    int currentTool_ = TOOL_SELECT;
    QList<QPoint> selection_;
    bool gridVisible_ = false;
    bool tagsVisible_ = false;
    bool tagsTransparent_ = false;
    bool modified_ = false;
    QString statusText_;

    MapViewScroll scroll_;
    MapViewPainter painter_;
    MapViewTools* tools_ = nullptr;
    MapViewKeys* keys_ = nullptr;
    MapViewCommands* commands_ = nullptr;
    MapViewActions* actions_ = nullptr;
};

} // namespace qm::ui
