#pragma once
// The project commands of the File menu: New, Open, Reload, Save, Save As,
// Map Properties, and a file handed over by the command line or the
// recent-file list. Each gathers its input through a ProjectDialogHost
// (tests put in a script), runs the command of core/project/ProjectCommands
// on the main window's workspace, and shows the Result through its prompter.

#include "core/base/Prompter.h"
#include "ui/app/ProjectDialogs.h"

#include <QString>

namespace qm::ui {

class CMainFrame;

class FileCommands {
public:
    explicit FileCommands(CMainFrame& frame);

    void setDialogs(ProjectDialogHost* dialogs) { dialogs_ = dialogs ? dialogs : &qtDialogs_; }

    void newProject();
    void openProject();
    void reloadProject();
    // False when nothing was saved (cancelled or failed).
    bool saveProject();
    bool saveProjectAs();
    void mapProperties();
    // A file handed over by the command line or the recent-file list. True
    // when something was opened.
    bool openFile(const QString& path);
    Answer askSaveChanges();
    // Runs Save on Yes; false when the caller must stop (Cancel, or the save
    // did not complete).
    bool saveChangesFirst();

private:
    bool readProjectFile(const QString& path);

    CMainFrame& frame_;
    QtProjectDialogs qtDialogs_;
    ProjectDialogHost* dialogs_ = &qtDialogs_;
};

} // namespace qm::ui
