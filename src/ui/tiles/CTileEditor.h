#pragma once
// The tile editor: a window of its own in which the user paints the pixels
// of a frame of width x height consecutive tiles of one tile set, enlarged on
// a pixel grid. It scrolls, flips and rotates the frame, changes tile palettes
// and comments, copies and pastes tiles, pixels and pictures, and plays the
// set as an animation one frame at a time.
//
// This class keeps the state (set, frame, tool, colour, grid) and runs the
// commands; TileEditorControls are its buttons, lists and fields,
// TileEditArea the enlarged canvas with the mouse tools, TileEditorAnimation
// the play cycle, TileEditorClipboard the clipboard records and pictures.
//
// It works on the workspace's tile sets and saves every change into the undo
// store first. Its notifications leave through the message signal; what it
// asks of the main window (undo, redo, save, moving the manager's current
// tile) leaves through the other signals. Dialogs and message boxes go
// through replaceable hooks so tests can answer them.

#include "core/render/ColourTable.h"
#include "core/undo/UndoStore.h"
#include "core/project/Workspace.h"
#include "core/tiles/TileFrame.h"
#include "core/edit/TileFrameEdit.h"
#include "ui/app/AppMessage.h"

#include <QColor>
#include <QWidget>

#include <functional>

class QToolButton;

namespace qm::ui {

class TileEditArea;
class TileEditorAnimation;
class TileEditorControls;

class CTileEditor : public QWidget {
    Q_OBJECT
public:
    enum class Tool { Pencil, Bucket, PixelSelector };

    CTileEditor(Workspace& workspace, UndoStore& undoStore, QWidget* parent = nullptr);
    ~CTileEditor() override;

    // The set the editor works on: TILE_BG, TILE_OBJ or TILE_TAG (others are ignored).
    void setTileSet(int kind);
    // Takes tile 0..511 of the set as the frame's first tile and the
    // animation's start.
    void setCurrentTile(int tile);

    // ---- the parts ------------------------------------------------------------
    TileEditorControls& controls() const { return *controls_; }
    TileEditArea* area() const { return area_; }
    TileEditorAnimation& animation() const { return *animation_; }

    // ---- state --------------------------------------------------------------
    Workspace& workspace() const { return ws_; }
    UndoStore& undoStore() const { return undo_; }
    int kind() const { return kind_; }
    TileSet& tileSet() const;
    const TileFrame& frame() const { return frame_; }
    // The animation moves the frame through the set.
    void setFrameStart(int tile);
    int zoom() const { return geometry_.zoom; }
    const FrameGeometry& barGeometry() const { return geometry_; }
    const FrameLimits& limits() const { return limits_; }
    Tool tool() const { return tool_; }
    // The bucket stands in for the pencil while Ctrl is held.
    bool bucketHeld() const { return temporaryBucket_; }
    int drawColour() const { return drawColour_; }
    bool gridShown() const { return gridShown_; }
    QColor gridLineColour() const { return gridLineColour_; }
    bool commentShown() const;
    // The editing area in the bar's coordinates.
    QRect areaRect() const;
    // Colour index 0..3 of a tile in its palette, and a palette's four colours.
    QColor colourOf(const CTile& tile, int index) const;
    QPixmap paletteIcon(int palette) const;

    // ---- commands -------------------------------------------------------------
    void setTool(Tool tool);
    void setDrawColour(int colour);
    void setGridShown(bool on);
    void chooseGridColour();
    void scroll(ScrollDirection direction, bool eachTile);
    void flip(bool horizontal, bool eachTile);
    void rotate(bool eachTile);
    // The palette list: palette p for every frame tile.
    void choosePalette(int palette);
    // The context menu: palette p for one tile.
    void setTilePaletteOf(int tile, int palette);
    void stepFrameWidth(int delta);
    void stepFrameHeight(int delta);
    // A size typed into "w:" or "h:", applied on Enter or when the box loses
    // the focus; a refused one puts the previous size back.
    void typeFrameWidth(const QString& text);
    void typeFrameHeight(const QString& text);
    void openComment();
    void closeComment();
    // The comment field's text becomes the comment of the frame's tiles.
    void editComment(const QString& text);
    void copy();
    // Copy, then the pixels copied become colour 0.
    void cut();
    void paste();
    // The colour of the undo and redo buttons as the undo store says.
    void setUndoState(bool canUndo, bool canRedo);

    // ---- what the parts share ----------------------------------------------------
    // Shows a failure; true when the result is a success.
    bool report(const Result& result);
    // An undo step was begun here: Undo becomes available.
    void stepBegun();
    // The frame's tiles changed: redraw and announce them.
    void frameChanged(qint64 extraFlags = 0);
    void sendTileChanged(int tile);
    void sendRange(int first, int last, qint64 flags);
    // Redraws the controls that show the first tile (palette list, colours, labels).
    void refreshControls();
    // The window title is the comment of the frame's first tile.
    void updateCaption();

    // The button of a command, by its name ("PEN", "UNDO", "PLAY", ...).
    QToolButton* button(const QString& name) const;

    // ---- hooks ------------------------------------------------------------------
    std::function<void(const QString& text)> showMessage;
    std::function<QColor(const QColor& initial)> colourPrompt; // invalid for Cancel
    std::function<int()> screenHeight;
    std::function<bool()> ctrlHeld;

public slots:
    void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    // Tiles changed behind the editor's back (undo, redo): draw them again.
    void refresh();

signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void undoRequested();
    void redoRequested();
    void saveRequested();
    // The editor began an undo step: Undo in the menus becomes available.
    void undoStepBegun();
    // Up and Down for the manager, which moves its current tile.
    void managerArrowKey(int key);
    // Back Up Frame and Forward Frame ask the manager for this current tile.
    void currentTileRequested(int tile);
    void closed();
    // The user pressed a mouse button on the editing area: the Edit commands act on the editor.
    void activated();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFrameSize(int width, int height);
    void typeFrameSize(const QString& text, bool width);
    // The keys of the editor's own table; run them or only tell.
    bool handleKey(const QKeyEvent* event, bool run);
    void rebuildColours();
    void sendPaletteChange(const TilePaletteChange& change);

    Workspace& ws_;
    UndoStore& undo_;
    int kind_ = TILE_BG;
    TileFrame frame_;
    FrameLimits limits_;
    FrameGeometry geometry_;
    Tool tool_ = Tool::Pencil;
    bool temporaryBucket_ = false;
    int drawColour_ = 0;
    bool gridShown_ = true;
    QColor gridLineColour_{128, 128, 128};
    ColourTable colours_{};

    TileEditArea* area_ = nullptr;
    TileEditorControls* controls_ = nullptr;
    TileEditorAnimation* animation_ = nullptr;
};

} // namespace qm::ui
