#pragma once
// The controls of the tile editor: the two rows of command buttons (tools,
// scrolls, flips, rotation, grid, comment, undo, redo, the animation's
// steps), the four colour boxes, the palette list, the tile and palette
// labels, the frame size, frame count and speed fields, and the comment
// field over the canvas. Each control runs a command of the editor; the
// controls show the editor's state when it asks them to.

#include "core/tiles/TileFrame.h"
#include "ui/app/Artwork.h"
#include "ui/tiles/CTileEditor.h"

#include <QList>
#include <QObject>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace qm::ui {

class TileEditorControls : public QObject {
    Q_OBJECT
public:
    // Builds the controls as children of the editor.
    explicit TileEditorControls(CTileEditor& editor);

    QComboBox* paletteList() const { return paletteList_; }
    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* heightBox() const { return heightBox_; }
    QLineEdit* framesBox() const { return framesBox_; }
    QLineEdit* speedBox() const { return speedBox_; }
    QLineEdit* commentBox() const { return commentBox_; }
    QLabel* tileLabel() const { return tileLabel_; }
    QLabel* paletteLabel() const { return paletteLabel_; }
    QToolButton* gridButton() const { return grid_; }

    // Places the canvas and every control for the frame's geometry and gives
    // the editor its size.
    void layout(const FrameGeometry& geometry, QWidget* canvas);
    void showTool(CTileEditor::Tool tool);
    void showDrawColour(int colour);
    void showGrid(bool on);
    void showFrameSize(int width, int height);
    void showUndoState(bool canUndo, bool canRedo);
    // The palette list's pictures of the eight palettes.
    void rebuildPaletteIcons();
    // The palette and colours of the frame's first tile, and the labels.
    void refresh();

private:
    QToolButton* addButton(const QString& name, const QString& tip, Artwork art, int x, int y);
    // The small arrow buttons of the frame size, and the colour boxes.
    QToolButton* addArrow(const QString& name, const QString& tip, Qt::ArrowType arrow);

    CTileEditor& editor_;
    QToolButton* pen_ = nullptr;
    QToolButton* bucket_ = nullptr;
    QToolButton* selector_ = nullptr;
    QToolButton* grid_ = nullptr;
    QToolButton* undo_ = nullptr;
    QToolButton* redo_ = nullptr;
    QComboBox* paletteList_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
    QLineEdit* framesBox_ = nullptr;
    QLineEdit* speedBox_ = nullptr;
    QLineEdit* commentBox_ = nullptr;
    QLabel* tileLabel_ = nullptr;
    QLabel* paletteLabel_ = nullptr;
    QList<QWidget*> bottomRow_;
    QList<QToolButton*> colourBoxes_;
};

} // namespace qm::ui
