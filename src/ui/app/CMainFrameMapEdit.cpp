// The Edit menu's map commands: each runs the map view's command of the same
// name. Questions go through the main window's prompter and Reset Map Palette
// shows the progress window.

#include "ui/app/CMainFrame.h"

#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewCommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>

namespace qm::ui {

void CMainFrame::connectMapEditing(CQuiltmarkView* view)
{
    using C = Command;
    using M = MapCommand;
    MapViewCommands* commands = &view->commands();
    commands->confirmPrompt = [this](const QString& text) {
        return prompter().ask(text.toStdString(), Buttons::YesNoCancel) == Answer::Yes;
    };
    const auto run = [this, commands](Command command, MapCommand mapCommand, bool mapPaneOnly = false) {
        QAction* action = commandAction(command);
        action->setEnabled(true);
        connect(action, &QAction::triggered, commands, [this, commands, mapCommand, mapPaneOnly] {
            // The clipboard commands belong to the pane that has the focus.
            if (mapPaneOnly && activePane() != 1)
                return;
            if (mapCommand == MapCommand::ResetMapPalette)
                commands->progress = &progress();
            commands->execute(mapCommand);
        });
    };
    run(C::Cut, M::Cut, true);
    run(C::Copy, M::Copy, true);
    run(C::Paste, M::Paste, true);
    commandAction(C::Cut)->setShortcut(QKeySequence(QStringLiteral("Shift+Del")));
    commandAction(C::Copy)->setShortcut(QKeySequence(QStringLiteral("Ctrl+Ins")));
    commandAction(C::Paste)->setShortcut(QKeySequence(QStringLiteral("Shift+Ins")));
    run(C::CopyMapToClipboard, M::CopyMapToClipboard);
    run(C::CopyMapToTile, M::CopyMapToTile);
    run(C::BlockFill, M::BlockFill);
    run(C::ArrayFill, M::ArrayFill);
    run(C::SetBaseTile, M::SetBaseTile);
    run(C::FlipHorizontally, M::FlipHorizontally);
    run(C::FlipVertically, M::FlipVertically);
    run(C::FlipAreaHorizontally, M::FlipAreaHorizontally);
    run(C::FlipAreaVertically, M::FlipAreaVertically);
    run(C::SetToBank0, M::BankSetTo0);
    run(C::SetToBank1, M::BankSetTo1);
    run(C::FlipBank, M::BankFlip);
    run(C::ObjPriority, M::PriorityObj);
    run(C::BgPriority, M::PriorityBg);
    run(C::InsertRow, M::InsertRow);
    run(C::DeleteRow, M::DeleteRow);
    run(C::InsertColumn, M::InsertColumn);
    run(C::DeleteColumn, M::DeleteColumn);
    run(C::ResetMapPalette, M::ResetMapPalette);

    // The cell palettes follow the cursor cell whenever the Edit menu opens: a
    // disabled submenu is never told that it is about to show.
    QMenu* palettes = menus_->cellPaletteMenu();
    if (auto* edit = qobject_cast<QMenu*>(palettes->parentWidget()))
        connect(edit, &QMenu::aboutToShow, commands, [commands, palettes] { commands->fillPaletteMenu(palettes); });
    commands->fillPaletteMenu(palettes);

    // Paste is offered while the clipboard holds something it can use.
    QAction* paste = commandAction(C::Paste);
    const auto followClipboard = [paste, commands] { paste->setEnabled(commands->canPaste()); };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();
}

} // namespace qm::ui
