#pragma once
// What the import and report commands need from the editor around them: the
// open project, where to ask and show progress, which page the tile set
// manager shows, the map cursor, and the way to tell the panes what changed.
// ImportExportCommands fills one in; tests fill one in with their own pieces.
//
// A command sets the change flags of what it changed itself, once, through
// changed(); notify() only tells the panes.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"

#include <QPoint>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace qm::ui {

struct CommandHost {
    QWidget* parent = nullptr;
    Workspace* workspace = nullptr;
    Prompter* prompter = nullptr;
    Progress* progress = nullptr;

    // The page the tile set manager shows: TILE_BG, TILE_OBJ, TILE_TAG or
    // TILE_NONE (the palette page).
    std::function<TileKind()> shownPage;
    // The tile set last shown (the target while the palette page is shown).
    std::function<int()> lastTileSet;
    // The current tile of a kind's set.
    std::function<int(int kind)> currentTile;
    // Makes the manager show a kind's page.
    std::function<void(int kind)> showPage;
    // The map view's cursor cell.
    std::function<QPoint()> cursorCell;
    // Delivers a notification to the panes (without setting change flags).
    std::function<void(AppMessage, qint64, qint64)> notify;
    // Sets change flags (and rebuilds the title).
    std::function<void(ChangeFlags)> setChanged;
    std::function<void(const QString&)> statusText;

    // ---- dialogs, replaceable so tests can drive them --------------------------
    // An open-file dialog: (parent, title, filters as Qt writes them, default
    // suffix) -> chosen path, or empty on cancel.
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> openFile;
    // Runs a dialog modally; true on OK.
    std::function<bool(QDialog&)> exec;

    // The helpers the commands use, falling back to plain defaults.
    TileKind page() const;
    int tileSetShown() const;
    QString chooseFile(const QString& title, const QString& filters, const QString& suffix) const;
    bool run(QDialog& dialog) const;
    void send(AppMessage msg, qint64 wParam, qint64 lParam) const;
    void changed(ChangeFlags bits) const;
};

} // namespace qm::ui
