#pragma once
// The map view's edit commands: those of the Edit menu, the context menu and
// the keys (fills, flips, banks, priorities, palettes, the clipboard, the
// row and column edits, Set Base Tile, Reset Map Palette) with their
// dialogs, and what the painting tools share with them.

#include "core/edit/MapEdit.h"
#include "ui/map/CurrentTile.h"
#include "ui/map/MapCommand.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QMenu;

namespace qm {
class Progress;
}

namespace qm::ui {

class CQuiltmarkView;

class MapViewCommands : public QObject {
    Q_OBJECT
public:
    explicit MapViewCommands(CQuiltmarkView& view);

    // Edits of the map through core: the edit context of the current layer,
    // the selection as cells, and what follows an edit (the undo actions, the
    // modified mark, a repaint, the cell information, a failure message).
    MapEdit makeEdit();
    std::vector<CellPos> selectionCells() const;
    void afterEdit(const EditResult& result);
    // Puts the tile into the cell; false (after the message) when the undo
    // store had no room.
    bool paintAt(QPoint cell, const CurrentTile& tile);

    // The right-button menu as it would be shown now (built afresh; the caller owns it).
    QMenu* buildContextMenu();
    // Fills a menu with the items P0..P7 of Set Palette: each drawn with its
    // colours, the cursor cell's palette checked; the menu is disabled in DMG
    // mode and while the cursor cell has no tile in the layer.
    void fillPaletteMenu(QMenu* palettes);
    void showContextMenu(const QPoint& globalPos);
    // The clipboard offers something Paste can use.
    bool canPaste() const;

    // Dialogs, replaceable by tests: the number dialog of Insert Row/Column
    // (nothing for Cancel), the range dialog of Delete Row/Column (From, To;
    // nothing for Cancel) and the Yes/No/Cancel warnings (true only for Yes).
    std::function<std::optional<int>(const QString& title, const QString& label)> numberPrompt;
    std::function<std::optional<std::pair<int, int>>(const QString& title, int from, int to)> rangePrompt;
    std::function<bool(const QString& text)> confirmPrompt;
    // The progress window of Reset Map Palette (none when unset).
    Progress* progress = nullptr;

public slots:
    void execute(qm::ui::MapCommand command, int argument = 0);
    void copySelection();
    void cutSelection();
    void pasteClipboard();
    void copyMapToClipboard();

private:
    void installDialogs();
    void insertLines(bool columns);
    void deleteLines(bool columns);

    CQuiltmarkView& view_;
};

} // namespace qm::ui
