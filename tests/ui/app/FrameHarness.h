#pragma once
// The main window with scripted dialogs and prompter, for the tests of its
// commands.

#include "support/TestSupport.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/FileCommands.h"
#include "ui/map/CQuiltmarkView.h"

#include <optional>

namespace qm::test {

// Answers the project dialogs from fields set by the test.
class ScriptedDialogs : public qm::ui::ProjectDialogHost {
public:
    std::optional<qm::NewProjectRequest> newProject;
    std::optional<qm::SavePaths> savePaths;
    std::optional<QSize> mapSize;
    std::optional<QString> openPath;
    int newCalls = 0, saveCalls = 0;

    std::optional<qm::NewProjectRequest> askNewProject(QWidget*) override { return ++newCalls, newProject; }
    std::optional<qm::SavePaths> askSaveProject(QWidget*, const qm::SavePaths&) override { return ++saveCalls, savePaths; }
    std::optional<QSize> askMapProperties(QWidget*, const qm::ProjectState&) override { return mapSize; }
    std::optional<QString> askOpenProject(QWidget*) override { return openPath; }
};

// The main window after its start-up map, answering through the scripts.
struct Harness {
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    qm::ui::CMainFrame frame;
    QStringList shown; // what the map view told the user
    explicit Harness(std::deque<qm::Answer> answers = {}) : prompter(std::move(answers))
    {
        frame.setPrompter(&prompter);
        frame.fileCommands().setDialogs(&dialogs);
        frame.route(qm::ui::MSG_INIT_MAP, 0, 0);
        view()->showMessage = [this](const QString& text) { shown << text; };
    }
    ~Harness() { frame.project().changeFlags = 0; } // no question on the way out
    qm::ui::CQuiltmarkView* view() { return frame.mapView(); }
    const qm::MapCell& cell(int x, int y) { return *frame.project().map.cellAt(x, y); }
    // Edit > Block Fill of one BG cell.
    void fill(int x, int y, int tile, int palette = 1)
    {
        view()->currentTileProvider = [=] { return qm::ui::CurrentTile{qm::TILE_BG, tile, palette}; };
        view()->moveCursor(x, y);
        frame.commandAction(qm::ui::CMainFrame::Command::BlockFill)->trigger();
    }
};

} // namespace qm::test
