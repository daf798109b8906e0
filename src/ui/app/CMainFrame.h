#pragma once
// The editor's main window. It owns the open project.

#include "core/project/Workspace.h"

#include <QMainWindow>

namespace qm::ui {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    Workspace& workspace() { return workspace_; }

private:
    Workspace workspace_;
};

} // namespace qm::ui
