#pragma once
// The tile editor: a bar of its own in which the user paints the pixels of a
// frame of width x height consecutive tiles of one tile set, enlarged on a
// pixel grid. It scrolls, flips and rotates the frame, changes tile palettes
// and comments, copies and pastes tiles, pixels and pictures, and plays the
// set as an animation one frame at a time.
//
// It works on the workspace's tile sets and saves every change into the undo
// store first. Its notifications leave through the message signal; what it
// asks of the main window (undo, redo, save, moving the manager's current
// tile) leaves through the other signals. Dialogs and message boxes go
// through replaceable hooks so tests can answer them.

#include "core/render/ColourTable.h"
#include "core/undo/UndoStore.h"
#include "core/project/Workspace.h"
#include "core/tiles/TileAnimation.h"
#include "core/tiles/TileFrame.h"
#include "core/edit/TileFrameEdit.h"
#include "ui/app/AppMessage.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolButton;

namespace qm::ui {

class TileEditArea;

class CInitDialogBar : public QWidget {
    Q_OBJECT
public:
    enum class Tool { Pencil, Bucket, PixelSelector };

    CInitDialogBar(Workspace& workspace, UndoStore& undoStore, QWidget* parent = nullptr);
    ~CInitDialogBar() override;

    // The set the editor works on: TILE_BG, TILE_OBJ or TILE_TAG (others are ignored).
    void setTileSet(int kind);
    // Takes tile 0..511 of the set as the frame's first tile and the
    // animation's start.
    void setCurrentTile(int tile);

    // ---- state --------------------------------------------------------------
    int kind() const { return kind_; }
    TileSet& tileSet();
    const TileFrame& frame() const { return frame_; }
    int animationStart() const { return animationStart_; }
    int zoom() const { return geometry_.zoom; }
    const FrameGeometry& barGeometry() const { return geometry_; }
    const FrameLimits& limits() const { return limits_; }
    Tool tool() const { return tool_; }
    int drawColour() const { return drawColour_; }
    bool gridShown() const { return gridShown_; }
    QColor gridLineColour() const { return gridLineColour_; }
    bool commentShown() const;
    bool animationRunning() const;
    int speed() const { return speed_; }
    int frameCount() const { return frameCount_; }
    bool hasPixelSelection() const { return selection_.has_value(); }
    // Corners in frame pixels: the first where the button went down.
    QPoint selectionFirst() const { return selection_ ? selection_->first : QPoint(); }
    QPoint selectionSecond() const { return selection_ ? selection_->second : QPoint(); }
    // The editing area in the bar's coordinates.
    QRect areaRect() const;

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
    void typeFrameWidth(const QString& text);
    void typeFrameHeight(const QString& text);
    void openComment();
    void closeComment();
    void play();
    void stopAnimation();
    void backFrame();
    void forwardFrame();
    void animationTick();
    void copy();
    void paste();
    void setPixelSelection(QPoint first, QPoint second);
    void clearPixelSelection();
    // The colour of the undo and redo buttons as the undo store says.
    void setUndoState(bool canUndo, bool canRedo);
    // The right-button menu for a frame tile (built afresh; the caller owns it).
    QMenu* buildContextMenu(int tile);

    // ---- controls, by the names of their commands --------------------------------
    QToolButton* button(const QString& name) const;
    QComboBox* paletteList() const { return paletteList_; }
    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* heightBox() const { return heightBox_; }
    QLineEdit* framesBox() const { return framesBox_; }
    QLineEdit* speedBox() const { return speedBox_; }
    QLineEdit* commentBox() const { return commentBox_; }
    QLabel* tileLabel() const { return tileLabel_; }
    QLabel* paletteLabel() const { return paletteLabel_; }
    TileEditArea* area() const { return area_; }
    QTimer* animationTimer() const { return timer_; }
    // The picture of the editing area as it is drawn now.
    QImage renderArea() const;

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
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Selection {
        QPoint first, second;
    };

    void buildControls();
    QToolButton* addButton(const QString& name, const QString& tip, const QString& text, int x, int y);
    void layoutBar();
    void setFrameSize(int width, int height);
    void rebuildColours();
    void updatePaletteList();
    void updateLabels();
    void updateCaption();
    QColor colourOf(const CTile& tile, int index) const;
    QPixmap paletteIcon(int palette) const;
    void paintArea(QPainter& p) const;
    void areaPressed(QMouseEvent* event);
    void areaMoved(QMouseEvent* event);
    void areaReleased(QMouseEvent* event);
    void areaContextMenu(QContextMenuEvent* event);
    // Frame pixel under a point of the area; nullopt off the frame.
    std::optional<QPoint> pixelAt(QPoint pos) const;
    void frameChanged(qint64 extraFlags = 0);
    void sendTileChanged(int tile);
    void sendRange(int first, int last, qint64 flags);
    void sendPaletteChange(const TilePaletteChange& change);
    bool report(const Result& result);
    void stepBegun();
    bool ctrl() const;

    Workspace& ws_;
    UndoStore& undo_;
    int kind_ = TILE_BG;
    TileFrame frame_;
    int animationStart_ = 0;
    FrameLimits limits_;
    FrameGeometry geometry_;
    Tool tool_ = Tool::Pencil;
    bool temporaryBucket_ = false;
    int drawColour_ = 0;
    bool gridShown_ = true;
    QColor gridLineColour_{128, 128, 128};
    int speed_ = 100;
    int frameCount_ = 1;
    std::optional<Selection> selection_;
    bool painting_ = false;
    bool selecting_ = false;
    ColourTable colours_{};
    TileAnimation animation_;

    TileEditArea* area_ = nullptr;
    QTimer* timer_ = nullptr;
    QComboBox* paletteList_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
    QLineEdit* framesBox_ = nullptr;
    QLineEdit* speedBox_ = nullptr;
    QLineEdit* commentBox_ = nullptr;
    QLabel* tileLabel_ = nullptr;
    QLabel* paletteLabel_ = nullptr;
    QLabel* palLabel_ = nullptr;
    QList<QWidget*> bottomRow_;
    QList<QWidget*> colourBoxes_;
};

} // namespace qm::ui
