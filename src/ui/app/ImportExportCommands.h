#pragma once
// The main window's import, export and report commands: the File menu's
// "Import" submenu (with the picture, GBTD and Tiler entries it adds),
// "&Export...." and the "&Report" menu. Each command gets what it needs
// from the editor through a CommandHost built afresh for each run.

#include "ui/app/CommandHost.h"

#include <QObject>

#include <functional>

namespace qm::ui {

class CMainFrame;
class MainMenus;

class ImportExportCommands : public QObject {
    Q_OBJECT
public:
    // Connects and enables the commands' actions.
    ImportExportCommands(CMainFrame& frame, MainMenus& menus);

    // What the commands work with. The hooks get each one before use, so
    // tests can put in their own dialogs.
    CommandHost commandHost();
    void setCommandHooks(std::function<void(CommandHost&)> hooks) { commandHooks_ = std::move(hooks); }
    void exportProject();

private:
    CMainFrame& frame_;
    std::function<void(CommandHost&)> commandHooks_;
};

} // namespace qm::ui
