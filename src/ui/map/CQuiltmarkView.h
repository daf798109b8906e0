#pragma once
// The map view: the centre pane of the main window. It shows the map of the
// open project scaled to the zoom level, with numbered rulers along its top
// and left edges, keeps the two pre-rendered indexed images of the whole map,
// the cursor, the selection, the scroll position and the display switches,
// and writes the cell information into the status bar. It does not own the
// map: it works on the workspace and the undo store it is given.
//
// Messages from the main window arrive through handleMessage; the view's own
// notifications leave through the message signal, status texts through
// statusText. Neither reaches into the main window.

#include "core/render/ColourTable.h"
#include "core/edit/MapEdit.h"
#include "core/base/ZoomAnimation.h"
#include "core/render/MapRenderer.h"
#include "core/base/ScrollTable.h"
#include "core/undo/UndoStore.h"
#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"
#include "ui/map/CurrentTile.h"
#include "ui/map/MapCommand.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QVector>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QTimer;

namespace qm {
class Progress;
}

namespace qm::ui {

class CQuiltmarkView : public QAbstractScrollArea, private UndoListener {
    Q_OBJECT
public:
    CQuiltmarkView(Workspace& workspace, UndoStore& undoStore, QWidget* parent = nullptr);
    ~CQuiltmarkView() override;

    // View state.
    int cellSize() const { return cellSize_; }
    int zoomLevel() const;
    int firstColumn() const { return firstColumn_; }
    int firstRow() const { return firstRow_; }
    int visibleColumns() const { return visibleColumns_; }
    int visibleRows() const { return visibleRows_; }
    QPoint cursorCell() const { return cursor_; }
    const QList<QPoint>& selection() const { return selection_; }
    QList<QPoint>& workList() { return workList_; }
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
    TileKind operationLayer() const { return operationLayer_; }

    Workspace& workspace() { return ws_; }
    UndoStore& undoStore() { return undo_; }
    MapRenderer& renderer() { return renderer_; }
    const ColourTable& colourTable() const { return colourTable_; }
    // The visible part of an image wrapped without a copy, with the 65 colours.
    QImage visibleImage(bool tags) const;

    // Screen geometry (viewport coordinates).
    QRect cellRect(int x, int y) const;
    // The cell under a point; may lie off the map.
    QPoint cellAtPoint(QPoint p) const;
    bool onMap(QPoint cell) const;
    bool cellOnScreen(QPoint cell) const;

    // Rendering and screen output used by the editing tools.
    void renderCell(int x, int y) { renderer_.renderCell(x, y); }
    void renderArea(int x1, int y1, int x2, int y2) { renderer_.renderArea(x1, y1, x2, y2); }
    void renderTagCell(int x, int y, int tag) { renderer_.renderTagCell(x, y, tag); }
    void renderTagArea(int x1, int y1, int x2, int y2) { renderer_.renderTagArea(x1, y1, x2, y2); }
    void renderCellsUsingTiles(int layer, int first, int last);
    void redrawMap();
    void redrawSelection();
    void moveCursor(int x, int y);
    void showCellInfo(int x, int y);
    // The text of a rectangle selection from (left, top) to the cell (x, y).
    void showSelectionText(int left, int top, int x, int y);
    void setSelection(const QList<QPoint>& cells);
    void markModified();
    void refreshColours(quint64 mask);
    // Begins an undo step and remembers the current layer as operationLayer.
    void beginUndoStep(int kind);

    // Scrolling: one request of the scroll table in a direction.
    void scrollRequest(Qt::Orientation orientation, ScrollRequest request, int thumb = 0);
    void goToColumn(int v);
    void goToRow(int v);

    // Draws the whole view into p (the paint event does the same).
    void paintView(QPainter& p, const QRect& area);

    // Commands of the menus and toolbar.
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }
    QAction* hideObjAction() const { return hideObjAction_; }
    QAction* transparentObjAction() const { return transparentObjAction_; }
    QAction* transparentTagsAction() const { return transparentTagsAction_; }
    QAction* hideTagsAction() const { return hideTagsAction_; }
    QAction* cursorColourAction() const { return cursorColourAction_; }
    QAction* gridColourAction() const { return gridColourAction_; }
    // The right-button menu as it would be shown now (built afresh).
    QMenu* buildContextMenu();

    // Dialogs, replaceable by tests: the number dialog of Go to (nothing for
    // Cancel), the colour picker (an invalid colour for Cancel), message boxes.
    std::function<std::optional<int>(const QString& label, QPoint globalPos)> goToPrompt;
    std::function<QColor(const QColor& initial)> colourPrompt;
    std::function<void(const QString& text)> showMessage;
    // The number dialog of Insert Row/Column (nothing for Cancel), the range
    // dialog of Delete Row/Column (From, To; nothing for Cancel), and the
    // Yes/No/Cancel warnings (true only for Yes).
    std::function<std::optional<int>(const QString& title, const QString& label)> numberPrompt;
    std::function<std::optional<std::pair<int, int>>(const QString& title, int from, int to)> rangePrompt;
    std::function<bool(const QString& text)> confirmPrompt;
    // The tile the painting tools put down; BG tile 0 with palette 0 when unset.
    std::function<CurrentTile()> currentTileProvider;
    // The progress window of Reset Map Palette (none when unset).
    Progress* progress = nullptr;

    CurrentTile currentTile() const;
    // Drag states and the type-in mode.
    bool buttonDown() const { return buttonDown_; }
    bool lineActive() const { return lineActive_; }
    bool typeInMode() const { return typeInMode_; }
    int typeInBase() const { return typeInBase_; }
    bool zoomAnimating() const { return zoomFrame_ >= 0; }
    // The clipboard offers something Paste can use.
    bool canPaste() const;

public slots:
    void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void undo();
    void redo();
    // Enables Undo and Redo after another pane began a step.
    void refreshUndoActions();
    void setZoomLevel(int level);
    void zoomIn();
    void zoomOut();
    void setGridVisible(bool on);
    void setObjHidden(bool on);
    void setObjTransparent(bool on);
    void setTagsVisible(bool on);
    void setTagsHidden(bool hidden) { setTagsVisible(!hidden); }
    void setTagsTransparent(bool on);
    void chooseCursorColour();
    void chooseGridColour();
    // Tiles first..last of a kind changed: their cells are rendered again.
    void tilesEdited(int kind, int first, int last);

    // The editing commands of the Edit menu, the context menu and the keys.
    void executeCommand(qm::ui::MapCommand command, int argument = 0);
    // The selection becomes every cell showing the tile in the layer (the
    // manager's current tile without arguments), with "%d Used" or "Unuse".
    void selectCellsUsingTile();
    void selectCellsUsingTile(int layer, int tile);
    // The same for cells whose palette in the layer is p.
    void selectCellsUsingPalette(int layer, int p);
    void copySelection();
    void cutSelection();
    void pasteClipboard();
    void copyMapToClipboard();
    void startTypeIn();
    void stopTypeIn();

signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void statusText(const QString& text);
    void undoStateChanged(bool canUndo, bool canRedo);
    // For the toolbar check boxes "Hide OBJ" and "Hide Tags".
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
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // UndoListener
    void cellChanged(int x, int y) override;
    void areaChanged(int x1, int y1, int x2, int y2) override;
    void tilesChanged(TileKind kind, int first, int last) override;
    void coloursChanged(std::uint32_t flags, std::uint32_t mask) override;
    void linesChanged() override;
    void redraw() override;

    void mapReset(int kind);
    void rebuildColourTable();
    void recomputeVisible();
    void resetScrollBars();
    void setFirst(Qt::Orientation o, int value);
    void onScrollAction(Qt::Orientation o, int action);
    void moveCursorByKey(int key);
    void setStatus(const QString& text);
    void afterDisplaySwitch();
    void updateUndoActions();
    void createActions();
    void paintRulers(QPainter& p);
    const QImage& rulerNumber(int number);
    void paintMapArea(QPainter& p);
    void paintOutline(QPainter& p);
    int drawnColumns() const;
    int drawnRows() const;
    QColor promptColour(const QColor& initial);
    void installEditingDialogs();

    // Editing (CQuiltmarkViewTools.cpp, CQuiltmarkViewCommands.cpp).
    MapEdit makeEdit();
    std::vector<CellPos> selectionCells() const;
    void afterCoreStep();
    void afterEdit(const EditResult& result, bool attributes = false);
    bool paintAt(QPoint cell, const CurrentTile& tile);
    void toolPress(QMouseEvent* event);
    void selectorPress(QPoint cell, Qt::KeyboardModifiers mods);
    void selectorDrag(QPoint cell);
    void selectorRelease();
    void zoomAt(QPoint cell, bool in);
    void zoomStep();
    void handDrag(QPoint cell, QPoint pos);
    void bucketAt(QPoint cell);
    void eyedropAt(QPoint cell);
    void reverseEyedropAt(QPoint cell);
    // True when the type-in mode consumed the key.
    bool typeInKey(QKeyEvent* event);
    void insertLines(bool columns);
    void deleteLines(bool columns);
    void paintToolOverlay(QPainter& p);
    QImage tileImage(const CurrentTile& tile) const;

    Workspace& ws_;
    UndoStore& undo_;
    MapRenderer renderer_;
    ColourTable colourTable_{};
    QVector<QRgb> qtColours_;

    int cellSize_ = 8;
    int firstColumn_ = 0;
    int firstRow_ = 0;
    int visibleColumns_ = 39;
    int visibleRows_ = 28;
    int mapWidth_ = 0; // the map size the view last took
    int mapHeight_ = 0;
    QPoint cursor_{0, 0};
    TileKind currentLayer_ = TILE_BG;
    TileKind operationLayer_ = TILE_BG;
    int currentTool_ = TOOL_SELECT;
    QList<QPoint> selection_;
    QList<QPoint> workList_;
    bool gridVisible_ = false;
    bool tagsVisible_ = false;
    bool tagsTransparent_ = false;
    bool modified_ = false;
    bool bHeld_ = false;
    bool oHeld_ = false;
    bool adjustingScrollBars_ = false;
    bool aHeld_ = false;

    // Tools.
    bool buttonDown_ = false;
    bool lineActive_ = false;
    bool selectionAdded_ = false;
    bool aRectActive_ = false;
    bool paintFailed_ = false;
    bool typedIn_ = false; // the key being handled placed a type-in tile
    QPoint dragCell_{0, 0};
    QPoint lineStart_{0, 0};
    QPoint aRectStart_{0, 0};
    QPoint aRectEnd_{0, 0};
    QPoint grab_{0, 0};
    bool typeInMode_ = false;
    int typeInBase_ = -1;
    bool blinkOn_ = true;
    QTimer* blinkTimer_ = nullptr;
    QTimer* zoomTimer_ = nullptr;
    std::vector<FrameRect> zoomFrames_;
    int zoomFrame_ = -1;
    bool zoomingIn_ = true;
    QString statusText_;
    QImage frame_; // the scaled map area
    QFont rulerFont_;                 // fixed-width, 10 pixels high
    QHash<int, QImage> rulerNumbers_; // pictures of the ruler numbers

    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* hideObjAction_ = nullptr;
    QAction* transparentObjAction_ = nullptr;
    QAction* transparentTagsAction_ = nullptr;
    QAction* hideTagsAction_ = nullptr;
    QAction* cursorColourAction_ = nullptr;
    QAction* gridColourAction_ = nullptr;
};

} // namespace qm::ui
