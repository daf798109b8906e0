#pragma once
// The main window's menus and bars: one action for every menu command (with
// its text, keys, icon and tooltip), the menus, the toolbar with the zoom box
// and the three check boxes, the status bar with the map size fields and the
// lock key indicators, the "Tileset Manager" dock with its View menu entry,
// and the recent-file entries of the File menu. It runs no command: the
// owner of each command connects its action and enables it.

#include <QObject>
#include <QStringList>

#include <map>

class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;

namespace qm::ui {

class CToolBarEx;

// Every menu command; those without an owner yet stay disabled.
enum class MenuCommand {
    New, Open, Reload, Save, SaveAs, MapProperties, ImportTileSet, ImportMap, ImportPalette,
    ImportMapAttribute, Export, Exit,
    Undo, Redo, Cut, Copy, Paste, CopyMapToClipboard, CopyMapToTile, BlockFill, ArrayFill, SetBaseTile,
    FlipHorizontally, FlipVertically, FlipAreaHorizontally, FlipAreaVertically, SetToBank0, SetToBank1,
    FlipBank, ObjPriority, BgPriority, InsertRow, DeleteRow, InsertColumn, DeleteColumn, ResetMapPalette,
    SelectTool, ZoomTool, HandTool, PencilTool, BucketTool, Eyedropper, RevEyedropper, LineTool,
    ShowGrid, HideObjTile, TransparentObjTile, HideTags, TransparentTags, ZoomIn, ZoomOut, ZoomToFit, TileEditor,
    TileSetManager,
    ShowToolbar, ShowStatusBar, CursorColor, GridColor,
    TrueColor, GbcColor,
    ReportTileComment, ReportPalette, ReportDuplicatedTile, ReportUnusedBg, ReportUnusedObj, ReportPriority,
    About,
};

class MainMenus : public QObject {
    Q_OBJECT
public:
    using Command = MenuCommand;

    // Builds everything into the window.
    explicit MainMenus(QMainWindow& window);

    QAction* commandAction(Command command) const;
    // The actions of every command (the tools carry their number as data).
    const std::map<Command, QAction*>& actions() const { return actions_; }

    QMenu* importMenu() const { return importMenu_; }
    // Edit > Palettes: the owner of Set Palette fills it before it shows.
    QMenu* cellPaletteMenu() const { return cellPaletteMenu_; }
    CToolBarEx* toolBar() const { return toolBar_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QCheckBox* dmgModeBox() const { return dmgBox_; }
    QCheckBox* hideObjBox() const { return hideObjBox_; }
    QCheckBox* hideTagsBox() const { return hideTagsBox_; }
    QLineEdit* widthField() const { return widthField_; }
    QLineEdit* heightField() const { return heightField_; }
    QDockWidget* managerDock() const { return managerDock_; }
    QMenu* viewMenu() const { return viewMenu_; }
    // The tile editor's dock: at the right of the window, hidden until opened.
    QDockWidget* tileEditorDock() const { return tileEditorDock_; }

    // The File menu lists these files above Exit.
    void setRecentFiles(const QStringList& files);
    // "Show Grid" becomes "Hide Grid" while the grid is shown.
    void setGridShown(bool shown);
    void showMapSize(int width, int height);
    // The indicators follow the keyboard's Caps, Num and Scroll Lock.
    void updateLockKeys();

signals:
    void recentFileChosen(const QString& path);

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildDocks();
    QAction* makeAction(Command command, const QString& text, bool enabled = false);

    QMainWindow& window_;
    std::map<Command, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* importMenu_ = nullptr;
    QMenu* cellPaletteMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;

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
    QDockWidget* tileEditorDock_ = nullptr;
};

} // namespace qm::ui
