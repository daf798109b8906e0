#pragma once
// The map view's actions of the Edit and View menus: Undo and Redo (what they
// give back is rendered again; the menu texts name the step), the display switches
// (Hide OBJ Tile, Transparent OBJ Tile, Hide Tags, Transparent Tags) and the
// cursor and grid colours with their colour dialog. The actions follow the
// view's undo store and switches; the main window mirrors them in its menus.

#include "core/undo/UndoStore.h"

#include <QColor>
#include <QObject>

#include <cstddef>
#include <functional>
#include <string_view>

class QAction;

namespace qm::ui {

class CQuiltmarkView;

// "&Undo Bucket Fill": the command followed by the name of its step, if any.
QString undoMenuText(const QString& command, std::string_view stepName);

class MapViewActions : public QObject, private UndoListener {
    Q_OBJECT
public:
    explicit MapViewActions(CQuiltmarkView& view);

    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }
    QAction* hideObjAction() const { return hideObjAction_; }
    QAction* transparentObjAction() const { return transparentObjAction_; }
    QAction* transparentTagsAction() const { return transparentTagsAction_; }
    QAction* hideTagsAction() const { return hideTagsAction_; }
    QAction* cursorColourAction() const { return cursorColourAction_; }
    QAction* gridColourAction() const { return gridColourAction_; }

    // The colour picker, replaceable by tests (an invalid colour for Cancel).
    std::function<QColor(const QColor& initial)> colourPrompt;

    // Undoes or redoes entries until position() of the undo store is
    // position, stopping at the first that fails.
    void jumpTo(std::size_t position);

public slots:
    void undo();
    void redo();
    void chooseCursorColour();
    void chooseGridColour();

private:
    // UndoListener: what Undo and Redo give back is rendered again.
    void cellChanged(int x, int y) override;
    void areaChanged(int x1, int y1, int x2, int y2) override;
    void tilesChanged(TileKind kind, int first, int last) override;
    void coloursChanged(std::uint32_t flags, std::uint32_t mask) override;
    void linesChanged() override;
    void redraw() override;

    void createActions();
    // One Undo (back) or Redo; a failure is shown and changes nothing.
    bool exchange(bool back);
    QColor promptColour(const QColor& initial);

    CQuiltmarkView& view_;
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
