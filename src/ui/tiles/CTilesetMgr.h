#pragma once
// The tile set manager: the content of the "Tileset Manager" dock. Its sheet
// holds the pages "BG", "OBJ", "CPD" (the palettes) and "Tag". It keeps the
// page shown, the selection and current tile of every tile page, and offers
// the operations by kind through which the other panes reach tiles and
// palettes. Every change goes through the undo store first and is announced
// through the message signal; CMainFrame routes it on.

#include "core/project/MapCell.h"
#include "core/project/Workspace.h"
#include "core/edit/RemapColours.h"
#include "core/tiles/TilePageState.h"
#include "ui/app/AppMessage.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <optional>

class QTabWidget;

namespace qm {
class UndoStore;
}

namespace qm::ui {

class CPalettePage;
class CTilesetPage;

// The page kind of the palette page (no layer), beside TILE_BG, TILE_OBJ and TILE_TAG.
inline constexpr TileKind PAGE_PALETTE = TILE_NONE;

class CTilesetMgr : public QWidget {
    Q_OBJECT
public:
    enum class MouseMode { Selector, MovePage };
    enum SheetPage { PAGE_INDEX_BG = 0, PAGE_INDEX_OBJ = 1, PAGE_INDEX_PALETTE = 2, PAGE_INDEX_TAG = 3 };

    CTilesetMgr(Workspace& workspace, UndoStore& undo, QWidget* parent = nullptr);
    ~CTilesetMgr() override;

    // ---- the current-tile contract -------------------------------------------
    // The page shown: TILE_BG, TILE_OBJ, TILE_TAG or PAGE_PALETTE.
    int currentKind() const { return shownKind_; }
    int currentTile(int kind) const;
    int currentPalette(int kind) const;
    QList<int> selectedTiles(int kind) const;

    // ---- operations by kind ----------------------------------------------------
    TileSet* tileSet(int kind);
    // The set of the tile page shown last (the palette page leaves it).
    TileSet* currentTileSet() { return tileSet(currentSetKind_); }
    int currentSetKind() const { return currentSetKind_; }
    CTile* tile(int kind, int index);
    // The current tile of the current set.
    int currentTile() const { return currentTile(currentSetKind_); }
    void resetTileSet(int kind);
    // A new project: every page back to tile 0 alone at the top, the BG page shown.
    void startOver();
    void selectTile(int kind, int index);
    void showPage(int kind);
    void redrawTile(int kind, int index, bool showFirst = false);
    void redrawRange(int kind, int first, int last, bool showFirst = false);
    void rebuildBitmaps(int kind);
    void setSelectionColour(int kind, const QColor& colour);
    QColor selectionColour(int kind) const;
    // Keyboard navigation on the page of the current set (Qt key codes).
    void key(int qtKey);
    void keyMove(TilePageState::Key key, int n = 1);
    // The tile editor's frame steps: the tile becomes current as by Back n or
    // Forward n on the page of the current set.
    void moveCurrentTile(int tile);
    void clearSelectedTiles();
    void replaceSelection(const QList<int>& tiles);
    void copy();
    void cut();
    void paste();
    // The Edit menu's Cut, Copy and Paste go here while this is true.
    bool hasKeyboardFocus() const;
    const DisplayTable& displayTable(int kind) const;
    // The tile set file shown above the grid of a page.
    void setFileName(int kind, const QString& path);

    // ---- commands of the pages ---------------------------------------------------
    void clickTile(int kind, int cell, bool shift, bool ctrl);
    void doubleClickTile(int kind, int cell);
    void setPaletteOfSelectedTiles(int palette);
    void remapTileColours();
    void chooseSelectionColour(int kind);
    // The mode in force: "Move Page" also while the space bar is held.
    MouseMode mouseMode() const { return spaceHeld_ ? MouseMode::MovePage : mouseMode_; }
    void setMouseMode(MouseMode mode);
    // The space bar held over the manager lends it the hand of "Move Page".
    void holdMovePage(bool held);
    // Moves the sheet up or down inside the bar ("Move Page").
    void moveSheetBy(int dy);

    // ---- colours ----------------------------------------------------------------
    // The palette page changed colours: redraw the tiles of those palettes and
    // pass the news on.
    void coloursChanged(std::uint32_t flags, std::uint32_t mask);
    // The colour-change notice after an edit in the component boxes.
    void coloursNotice(std::uint32_t flags, std::uint32_t mask);
    // "True Color" / "GBC Color": false when the mode was already in force.
    bool setTrueColour(bool on);
    // Redraws every page after a change of display (DMG mode, colour mode).
    void rebuildAllBitmaps();

    QTabWidget* sheet() const { return sheet_; }
    CTilesetPage* page(int kind) const;
    CPalettePage* palettePage() const { return palettePage_; }
    TilePageState* pageState(int kind);
    Workspace& workspace() { return ws_; }
    UndoStore& undoStore() { return undo_; }

    // Dialogs and host state, replaceable by tests: the colour picker (an
    // invalid colour for Cancel), the Remap Palette Colors dialog (nothing for
    // Cancel), message boxes, and the map view's current tool.
    std::function<QColor(const QColor& initial)> colourPrompt;
    std::function<std::optional<RemapRequest>(const RemapRequest& preset, const DisplayTable& colours)> remapPrompt;
    std::function<void(const QString& text)> showMessage;
    std::function<int()> mapToolProvider;
    // "Save Tiles as Picture…": (suggested path) -> the PNG file to write, or
    // empty on Cancel; a save-file dialog when unset.
    std::function<QString(const QString& suggested)> picturePathPrompt;

    // Shows a failure's message (through showMessage when set); nothing on success.
    void report(const Result& result);

public slots:
    void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);

signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void currentTileChanged(int kind, int tile);
    // A page was shown: TILE_BG, TILE_OBJ, TILE_TAG or PAGE_PALETTE.
    void pageChanged(int kind);
    // A new undo step was begun here (Undo and Redo commands follow it).
    void undoStepBegun();
    // With the reverse eyedropper on: select the map cells using a tile, or
    // showing a palette in the current layer.
    void selectCellsUsingTile(int kind, int tile);
    void selectCellsWithPalette(int palette);
    // Enter has no use on a tile page: the map view takes it (Block Fill).
    void enterKey();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CTilesetPage* shownTilePage() const;
    void announceCurrentTile(int kind);
    void tilesEdited(int kind, const std::vector<int>& tiles, int first, int last);
    void pageShown(int index);
    QColor promptColour(const QColor& initial);

    Workspace& ws_;
    UndoStore& undo_;
    QTabWidget* sheet_ = nullptr;
    CTilesetPage* bgPage_ = nullptr;
    CTilesetPage* objPage_ = nullptr;
    CTilesetPage* tagPage_ = nullptr;
    CPalettePage* palettePage_ = nullptr;
    int shownKind_ = TILE_BG;
    int currentSetKind_ = TILE_BG;
    MouseMode mouseMode_ = MouseMode::Selector;
    bool spaceHeld_ = false;
    int sheetOffset_ = 0;
};

} // namespace qm::ui
