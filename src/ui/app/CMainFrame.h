#pragma once
// The editor's main window. It owns the open project (the Workspace: project
// state, tile sets with their palettes, display colours) and the undo store,
// holds the map tool, runs the project commands, and routes every
// notification between the panes.
//
// Panes never call each other. Each pane has the signal
//     void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// and the public receiver
//     void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
// attachPane() connects the signal to route(), which calls the receivers the
// message is meant for. A pane that is not attached is skipped.

#include "core/project/ProjectCommands.h"
#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"
#include "ui/app/AppSettings.h"
#include "ui/app/MapTool.h"
#include "ui/app/ProjectDialogs.h"
#include "ui/app/QtPrompter.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;

namespace qm {
class UndoStore;
}

namespace qm::ui {

class CQuiltmarkView;
class CTilesetMgr;
class CToolBarEx;
class ProgressDialog;
struct CommandHost;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Every menu command; those of features still to come are disabled until
    // their code enables and connects them through commandAction().
    enum class Command {
        New, Open, Reload, Save, SaveAs, MapProperties, ImportTileSet, ImportMap, ImportPalette,
        ImportMapAttribute, Export, Exit,
        Undo, Redo, Cut, Copy, Paste, CopyMapToClipboard, CopyMapToTile, BlockFill, ArrayFill, SetBaseTile,
        FlipHorizontally, FlipVertically, FlipAreaHorizontally, FlipAreaVertically, SetToBank0, SetToBank1,
        FlipBank, ObjPriority, BgPriority, InsertRow, DeleteRow, InsertColumn, DeleteColumn, ResetMapPalette,
        SelectTool, ZoomTool, HandTool, PencilTool, BucketTool, Eyedropper, RevEyedropper, LineTool,
        ShowGrid, HideObjTile, TransparentObjTile, HideTags, TransparentTags, TileEditor, TileSetManager,
        ShowToolbar, ShowStatusBar, CursorColor, GridColor,
        TrueColor, GbcColor,
        ReportTileComment, ReportPalette, ReportDuplicatedTile, ReportUnusedBg, ReportUnusedObj, ReportPriority,
        About,
    };

    enum class Pane { MapView, TileSetManager, TileEditor };
    using Deliver = std::function<void(AppMessage, qint64, qint64)>;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    Workspace& workspace() { return workspace_; }
    ProjectState& project() { return workspace_.project; }

    // ---- panes --------------------------------------------------------------
    // Connects the pane's message signal to route() and delivers the pane's
    // messages to its handleMessage. The map view becomes the central widget,
    // the tile set manager the content of the "Tileset Manager" dock; the
    // tile editor stays a window of its own.
    template <class P>
    void attachPane(Pane role, P* pane)
    {
        connect(pane, &P::message, this, &CMainFrame::route);
        installPane(role, pane, [pane](AppMessage m, qint64 w, qint64 l) { pane->handleMessage(m, w, l); });
    }
    template <class V>
    void setMapView(V* view)
    {
        attachPane(Pane::MapView, view);
    }
    QWidget* pane(Pane role) const;

    // ---- hooks for other hosts (tests) ----------------------------------------
    void setPrompter(Prompter* prompter) { prompter_ = prompter ? prompter : &qtPrompter_; }
    void setDialogs(ProjectDialogHost* dialogs) { dialogs_ = dialogs ? dialogs : &qtDialogs_; }
    UndoStore& undoStore() { return *undoStore_; }
    CQuiltmarkView* mapView() const { return mapView_; }
    CTilesetMgr* tileSetManager() const { return tileSetMgr_; }
    Prompter& prompter() { return *prompter_; }
    Progress& progress();
    ProgressDialog* progressDialog() const { return progress_; }

    // ---- project commands -------------------------------------------------
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
    void rebuildTitle();
    void showMapSize();
    void setChanged(ChangeFlags bits);
    void setStatusText(const QString& text);
    QString statusText() const;

    // ---- tools --------------------------------------------------------------
    int currentTool() const { return currentTool_; }
    int pendingTool() const { return pendingTool_; }
    void selectTool(int tool);
    // A tool held by a key: the current one returns at the next key release.
    void setTemporaryTool(int tool, const QCursor& cursor);
    int activePane() const { return activePane_; }
    void setActivePane(int pane) { activePane_ = pane; }

    // ---- zoom and display switches -----------------------------------------------
    int zoomIndex() const { return zoomIndex_; }
    QString zoomText() const;
    void zoomIn();
    void zoomOut();
    void showHideObj(bool hidden);
    void showHideTags(bool hidden);
    bool gridShown() const { return gridShown_; }

    // ---- settings -------------------------------------------------------------
    void restoreSettings();
    void storeSettings();
    // Shows the window in the state the settings saved.
    void showAsSaved();
    QRect tileEditorRect() const { return tileEditorRect_; }
    QString startDirectory() const { return startDirectory_; }
    QStringList recentFiles() const { return recentFiles_; }

    QAction* commandAction(Command command) const;

    // ---- imports, export and reports (CMainFrameImportExport.cpp) ------------
    // What the import, export and report commands work with. The hooks get
    // each one before use, so tests can put in their own dialogs.
    CommandHost commandHost();
    void setCommandHooks(std::function<void(CommandHost&)> hooks) { commandHooks_ = std::move(hooks); }
    void exportProject();
    CToolBarEx* toolBarEx() const { return toolBar_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QCheckBox* dmgModeBox() const { return dmgBox_; }
    QCheckBox* hideObjBox() const { return hideObjBox_; }
    QCheckBox* hideTagsBox() const { return hideTagsBox_; }
    QLineEdit* widthField() const { return widthField_; }
    QLineEdit* heightField() const { return heightField_; }

public slots:
    // Delivers a notification to the panes it is meant for.
    void route(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    struct PaneSlot {
        QPointer<QWidget> widget;
        Deliver deliver;
    };

    void installPane(Pane role, QWidget* widget, Deliver deliver);
    void connectImportExport();
    // Makes the map view the central pane and ties its commands, switches and
    // notices to the menus, toolbar and status bar.
    void createMapView();
    void connectMapEditing(CQuiltmarkView* view); // CMainFrameMapEdit.cpp
    // The tile editor window, hidden until opened (CMainFrameTiles.cpp).
    void createTileEditor();
    // The tile set manager in its dock and the "&Color" menu (CMainFrameTileSets.cpp).
    void createTileSetManager();
    void refreshTileSetManager();
    void chooseColourMode(bool trueColour);
    // Shows the tile editor pane, at its saved place the first time.
    void showTileEditor();
    void deliver(Pane role, AppMessage msg, qint64 wParam, qint64 lParam);

    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildDocks();
    QAction* makeAction(Command command, const QString& text, bool enabled = false);

    // Runs Save on Yes; false when the caller must stop (Cancel, or the save
    // did not complete).
    bool saveChangesFirst();
    bool readProjectFile(const QString& path);
    void afterProjectReplaced();
    void clearUndoHistory();
    void initMap();
    void chooseZoomFromBox(int index);
    void selectZoomEntry(int index);
    void toggleGrid();
    void toggleDmgMode(bool on);
    void addRecentFile(const QString& path);
    void rebuildRecentMenu();
    void updateCommandStates();
    void updateLockKeys();
    void about();

    Workspace workspace_;
    std::unique_ptr<UndoStore> undoStore_;
    CQuiltmarkView* mapView_ = nullptr; // the central widget, a child of this window
    CTilesetMgr* tileSetMgr_ = nullptr; // the content of the manager dock

    QtPrompter qtPrompter_;
    Prompter* prompter_ = &qtPrompter_;
    QtProjectDialogs qtDialogs_;
    ProjectDialogHost* dialogs_ = &qtDialogs_;
    ProgressDialog* progress_ = nullptr;

    std::array<PaneSlot, 3> panes_;
    std::function<void(CommandHost&)> commandHooks_;
    std::map<Command, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QList<QAction*> recentActions_;
    QStringList recentFiles_;

    CToolBarEx* toolBar_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QCheckBox* dmgBox_ = nullptr;
    QCheckBox* hideObjBox_ = nullptr;
    QCheckBox* hideTagsBox_ = nullptr;
    QLineEdit* widthField_ = nullptr;
    QLineEdit* heightField_ = nullptr;
    QLabel* capsLabel_ = nullptr;
    QLabel* numLabel_ = nullptr;
    QLabel* scrollLabel_ = nullptr;
    QDockWidget* managerDock_ = nullptr;

    int currentTool_ = TOOL_SELECT;
    int pendingTool_ = TOOL_NONE;
    int activePane_ = 1;
    int zoomIndex_ = 2;
    bool gridShown_ = false;
    int savedShowState_ = SHOW_NORMAL;
    QString startDirectory_;
    QRect tileEditorRect_;
    bool tileEditorPlaced_ = false;
};

} // namespace qm::ui
