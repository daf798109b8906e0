#pragma once
// The editor's main window. It owns the open project (the Workspace: project
// state, tile sets with their palettes, display colours) and the undo store,
// makes the panes and ties them together, holds the map tool, the zoom and
// the display switches, and keeps the title and the status bar.
//
// Its other jobs have classes of their own: MainMenus (the actions, menus,
// toolbar, status bar and dock), PaneRouter (the routing of the panes'
// notifications), FileCommands (the project commands of the File menu),
// ImportExportCommands (imports, export, reports), WindowSettings (the
// settings kept between runs), HistoryDock (the undo history) and Autosave
// (the recovery copies).
//
// Panes never call each other. Each pane has the signal
//     void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// and the public receiver
//     void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// attachPane() connects the signal to the router, which calls the receivers
// the message is meant for. A pane that is not attached is skipped.

#include "core/project/ProjectCommands.h"
#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"
#include "ui/app/MainMenus.h"
#include "ui/app/MapTool.h"
#include "ui/app/PaneRouter.h"
#include "ui/app/QtPrompter.h"

#include <QMainWindow>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qm {
class UndoStore;
}

namespace qm::ui {

class Autosave;
class CQuiltmarkView;
class CTilesetMgr;
class CToolBarEx;
class FileCommands;
class HistoryDock;
class ImportExportCommands;
class ProgressDialog;
class TileCountLabel;
class WindowSettings;

class CMainFrame : public QMainWindow, private RouteTarget {
    Q_OBJECT
public:
    using Command = MenuCommand;
    using Pane = qm::ui::Pane;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    Workspace& workspace() { return workspace_; }
    ProjectState& project() { return workspace_.project; }

    // ---- panes --------------------------------------------------------------
    // Connects the pane's message signal to the router and delivers the
    // pane's messages to its handleMessage. The map view becomes the central
    // widget, the tile set manager the content of the "Tileset Manager" dock;
    // the tile editor the content of its dock at the right.
    template <class P>
    void attachPane(Pane role, P* pane)
    {
        connect(pane, &P::message, router_, &PaneRouter::route);
        installPane(role, pane, [pane](AppMessage m, qint64 w, qint64 l) { pane->handleMessage(m, w, l); });
    }
    template <class V>
    void setMapView(V* view)
    {
        attachPane(Pane::MapView, view);
    }
    QWidget* pane(Pane role) const { return router_->pane(role); }
    PaneRouter& router() const { return *router_; }

    // ---- the parts of the window -------------------------------------------------
    MainMenus& menus() const { return *menus_; }
    FileCommands& fileCommands() const { return *fileCommands_; }
    ImportExportCommands& importExport() const { return *importExport_; }
    WindowSettings& settings() const { return *settings_; }
    // The "History" dock and the recovery copies (CMainFrameHistory.cpp).
    HistoryDock* historyDock() const { return historyDock_; }
    Autosave& autosave() const { return *autosave_; }
    QAction* commandAction(Command command) const { return menus_->commandAction(command); }

    // ---- hooks for other hosts (tests) ----------------------------------------
    void setPrompter(Prompter* prompter) { prompter_ = prompter ? prompter : &qtPrompter_; }
    UndoStore& undoStore() { return *undoStore_; }
    CQuiltmarkView* mapView() const { return mapView_; }
    TileCountLabel* tileCount() const { return tileCount_; }
    CTilesetMgr* tileSetManager() const { return tileSetMgr_; }
    Prompter& prompter() { return *prompter_; }
    Progress& progress();
    ProgressDialog* progressDialog() const { return progress_; }

    // ---- the project --------------------------------------------------------
    // The panes start over after the project was replaced (new, opened,
    // reloaded): the map view shows the new map, the tile set manager its BG
    // page with tile 0, an open tile editor the BG set in the new colours.
    void projectReplaced();
    // The manager's page of the kind names its tile set file, or nothing.
    void showTileSetName(TileKind kind, bool shown);
    void clearUndoHistory();
    void rebuildTitle();
    void showMapSize();
    void setChanged(ChangeFlags bits) override;
    void setStatusText(const QString& text);
    QString statusText() const;

    // ---- tools --------------------------------------------------------------
    int currentTool() const { return currentTool_; }
    int pendingTool() const { return pendingTool_; }
    void selectTool(int tool) override;
    // A tool held by a key: the current one returns at the next key release.
    void setTemporaryTool(int tool, const QCursor& cursor);
    int activePane() const { return activePane_; }
    void setActivePane(int pane) { activePane_ = pane; }

    // ---- zoom and display switches -----------------------------------------------
    int zoomIndex() const { return zoomIndex_; }
    QString zoomText() const;
    // The zoom box's entry index, the view zoomed to it (as a choice in the box).
    void setZoom(int index);
    void zoomIn() { setZoom(zoomIndex_ + 1); }
    void zoomOut() { setZoom(zoomIndex_ - 1); }
    // The largest entry at which the whole map fits the view.
    void zoomToFit();

    CToolBarEx* toolBarEx() const { return menus_->toolBar(); }
    QComboBox* zoomBox() const { return menus_->zoomBox(); }
    QCheckBox* dmgModeBox() const { return menus_->dmgModeBox(); }
    QCheckBox* hideObjBox() const { return menus_->hideObjBox(); }
    QCheckBox* hideTagsBox() const { return menus_->hideTagsBox(); }
    QLineEdit* widthField() const { return menus_->widthField(); }
    QLineEdit* heightField() const { return menus_->heightField(); }

public slots:
    // Delivers a notification to the panes it is meant for.
    void route(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam) { router_->route(msg, wParam, lParam); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // RouteTarget
    void initMap() override;
    void zoomChanged(int index) override;
    // Shows the tile editor's dock; the first time it floats at its saved
    // place when there is one, otherwise it is docked at the right.
    void showTileEditor() override;

    void installPane(Pane role, QWidget* widget, PaneRouter::Deliver deliver);
    void connectCommands();
    // Makes the map view the central pane and ties its commands, switches and
    // notices to the menus, toolbar and status bar.
    void createMapView();
    void connectMapEditing(CQuiltmarkView* view); // CMainFrameMapEdit.cpp
    // The tile editor in its dock, hidden until opened (CMainFrameTiles.cpp).
    void createTileEditor();
    // The undo history's budget, menu texts and dock, and the recovery
    // copies (CMainFrameHistory.cpp).
    void createUndoHistory();
    // The tile set manager in its dock and the "&Color" menu (CMainFrameTileSets.cpp).
    void createTileSetManager();
    void refreshTileSetManager();
    void chooseColourMode(bool trueColour);

    void chooseZoomFromBox(int index);
    void selectZoomEntry(int index);
    void toggleGrid();
    void toggleDmgMode(bool on);
    void updateCommandStates();
    void about();

    Workspace workspace_;
    std::unique_ptr<UndoStore> undoStore_;
    CQuiltmarkView* mapView_ = nullptr; // the central widget, a child of this window
    CTilesetMgr* tileSetMgr_ = nullptr; // the content of the manager dock

    QtPrompter qtPrompter_;
    Prompter* prompter_ = &qtPrompter_;
    ProgressDialog* progress_ = nullptr;

    PaneRouter* router_ = nullptr;
    MainMenus* menus_ = nullptr;
    WindowSettings* settings_ = nullptr;
    std::unique_ptr<FileCommands> fileCommands_;
    ImportExportCommands* importExport_ = nullptr;
    HistoryDock* historyDock_ = nullptr;
    Autosave* autosave_ = nullptr;
    TileCountLabel* tileCount_ = nullptr; // the status bar's count of used tiles

    int currentTool_ = TOOL_SELECT;
    int pendingTool_ = TOOL_NONE;
    int activePane_ = 1;
    int zoomIndex_ = 2;
    bool gridShown_ = false;
};

} // namespace qm::ui
