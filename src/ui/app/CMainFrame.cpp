#include "ui/app/CMainFrame.h"

#include "core/base/Format.h"
#include "core/undo/UndoStore.h"
#include "core/project/ProjectFile.h"
#include "ui/app/Artwork.h"
#include "ui/app/Autosave.h"
#include "ui/app/CToolBarEx.h"
#include "ui/app/FileCommands.h"
#include "ui/app/ImportExportCommands.h"
#include "ui/app/ProgressDialog.h"
#include "ui/app/TileCountLabel.h"
#include "ui/app/WindowSettings.h"
#include "ui/app/ZoomLevels.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/map/MapViewActions.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>

namespace qm::ui {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), qtPrompter_(this)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(artworkIcon(Artwork::New));
    resize(1100, 760);
    undoStore_ = std::make_unique<UndoStore>();
    workspace_.project.onFlagsChanged = [this] {
        // Saving clears the map bit: the view's own modified mark goes with it.
        if (mapView_ && !(workspace_.project.changeFlags & CHANGED_MAP))
            mapView_->clearModified();
        // Unchanged again: Undo and Redo find this state unchanged too.
        if (workspace_.project.changeFlags == 0)
            undoStore_->markSaved(workspace_);
        if (autosave_)
            autosave_->projectChanged();
        rebuildTitle();
        // Every change of the map sets a flag, and a new project clears them.
        if (tileCount_)
            tileCount_->schedule();
    };

    router_ = new PaneRouter(*this, this);
    menus_ = new MainMenus(*this);
    setStatusText(QStringLiteral("Ready"));
    tileCount_ = new TileCountLabel(workspace_, this);
    statusBar()->addPermanentWidget(tileCount_);
    settings_ = new WindowSettings(*this);
    connect(settings_, &WindowSettings::recentFilesChanged, menus_, &MainMenus::setRecentFiles);
    fileCommands_ = std::make_unique<FileCommands>(*this);
    connectCommands();

    createMapView();
    createTileEditor();
    createTileSetManager();
    createUndoHistory();
    importExport_ = new ImportExportCommands(*this, *menus_);

    selectTool(TOOL_SELECT);
    progress_ = new ProgressDialog(this);
    progress_->hide();

    settings_->restore();
    if (settings_->zoomIndex() >= 0)
        setZoom(settings_->zoomIndex());
    rebuildTitle();
    showMapSize();
    menus_->updateLockKeys();
}

CMainFrame::~CMainFrame()
{
    workspace_.project.onFlagsChanged = nullptr;
}

Progress& CMainFrame::progress()
{
    return *progress_;
}

void CMainFrame::connectCommands()
{
    using C = Command;
    const auto on = [this](Command c, auto run) { connect(commandAction(c), &QAction::triggered, this, run); };
    FileCommands* file = fileCommands_.get();
    on(C::New, [file] { file->newProject(); });
    on(C::Open, [file] { file->openProject(); });
    on(C::Reload, [file] { file->reloadProject(); });
    on(C::Save, [file] { file->saveProject(); });
    on(C::SaveAs, [file] { file->saveProjectAs(); });
    on(C::MapProperties, [file] { file->mapProperties(); });
    on(C::Exit, [this] { close(); });
    on(C::ShowGrid, [this] { toggleGrid(); });
    on(C::ZoomIn, [this] { zoomIn(); });
    on(C::ZoomOut, [this] { zoomOut(); });
    on(C::ZoomToFit, [this] { zoomToFit(); });
    on(C::About, [this] { about(); });
    for (auto& [command, action] : menus_->actions())
        if (action->data().isValid())
            connect(action, &QAction::triggered, this, [this, tool = action->data().toInt()] { selectTool(tool); });
    connect(menus_, &MainMenus::recentFileChosen, this, [file](const QString& path) { file->openFile(path); });
    connect(menus_->zoomBox(), &QComboBox::activated, this, &CMainFrame::chooseZoomFromBox);
    connect(menus_->dmgModeBox(), &QCheckBox::toggled, this, &CMainFrame::toggleDmgMode);
}

// ---- panes ------------------------------------------------------------------

void CMainFrame::installPane(Pane role, QWidget* widget, PaneRouter::Deliver deliverTo)
{
    router_->attach(role, widget, std::move(deliverTo));
    switch (role) {
    case Pane::MapView:
        setCentralWidget(widget); // deletes the widget it replaces
        widget->setCursor(toolCursor(currentTool_));
        break;
    case Pane::TileSetManager:
        menus_->managerDock()->setWidget(widget);
        break;
    case Pane::TileEditor: {
        QDockWidget* dock = menus_->tileEditorDock();
        dock->setWidget(widget);
        QAction* command = commandAction(Command::TileEditor);
        command->setEnabled(true);
        connect(command, &QAction::triggered, this, [this, dock](bool open) {
            if (open)
                showTileEditor();
            else
                dock->close();
        });
        // The check mark follows the dock, also when its close button hides it.
        connect(dock->toggleViewAction(), &QAction::toggled, command, &QAction::setChecked);
        break;
    }
    }
}

void CMainFrame::createMapView()
{
    using C = Command;
    auto* view = new CQuiltmarkView(workspace_, *undoStore_, this);
    mapView_ = view;
    setMapView(view);
    view->setCurrentTool(currentTool_);

    connect(view, &CQuiltmarkView::statusText, this, &CMainFrame::setStatusText);
    connect(view, &CQuiltmarkView::mapSizeChanged, this, [this] { showMapSize(); });
    connect(view, &CQuiltmarkView::undoStateChanged, this, [this] { tileCount_->schedule(); });
    connect(view, &CQuiltmarkView::displaySwitchesChanged, this, [this](bool objHidden, bool tagsHidden) {
        menus_->hideObjBox()->setChecked(objHidden);
        menus_->hideTagsBox()->setChecked(tagsHidden);
    });
    connect(view, &CQuiltmarkView::frameKeyEvent, this, [this](QKeyEvent* event, bool pressed) {
        if (pressed)
            keyPressEvent(event);
        else
            keyReleaseEvent(event);
    });
    connect(view, &CQuiltmarkView::frameMousePressed, this, [this](QMouseEvent* event) {
        if (event->button() == Qt::RightButton && currentTool_ != TOOL_SELECT)
            selectTool(TOOL_SELECT);
    });
    connect(view, &CQuiltmarkView::temporaryToolRequested, this,
            [this](int tool) { setTemporaryTool(tool, toolCursor(tool)); });

    // The menu and toolbar commands run the view's own actions; the view's
    // copies lose their keys so that each key has one meaning.
    const auto mirror = [this, view](Command command, QAction* viewAction) {
        QAction* action = commandAction(command);
        viewAction->setShortcuts({});
        view->removeAction(viewAction);
        action->setEnabled(viewAction->isEnabled());
        if (viewAction->isCheckable()) {
            action->setCheckable(true);
            action->setChecked(viewAction->isChecked());
        }
        connect(action, &QAction::triggered, viewAction, [action, viewAction] {
            if (!viewAction->isCheckable() || viewAction->isChecked() != action->isChecked())
                viewAction->trigger();
        });
        const auto follow = [action, viewAction] {
            action->setEnabled(viewAction->isEnabled());
            if (viewAction->isCheckable())
                action->setChecked(viewAction->isChecked());
        };
        connect(viewAction, &QAction::changed, action, follow);
        connect(viewAction, &QAction::toggled, action, follow);
    };
    const MapViewActions& actions = view->actions();
    mirror(C::Undo, actions.undoAction());
    mirror(C::Redo, actions.redoAction());
    mirror(C::HideObjTile, actions.hideObjAction());
    mirror(C::TransparentObjTile, actions.transparentObjAction());
    mirror(C::HideTags, actions.hideTagsAction());
    mirror(C::TransparentTags, actions.transparentTagsAction());
    mirror(C::CursorColor, actions.cursorColourAction());
    mirror(C::GridColor, actions.gridColourAction());
    connectMapEditing(view);
}

void CMainFrame::showTileEditor()
{
    if (!pane(Pane::TileEditor))
        return;
    QDockWidget* dock = menus_->tileEditorDock();
    settings_->placeTileEditor(*dock);
    dock->show();
    dock->raise();
    commandAction(Command::TileEditor)->setChecked(true);
}

// ---- the project ---------------------------------------------------------------

void CMainFrame::projectReplaced()
{
    clearUndoHistory();
    setStatusText(QStringLiteral("Drawing map....."));
    route(MSG_MAP_RESET, MAP_RESET_NEW, 0);
    refreshTileSetManager();
    if (tileSetMgr_)
        tileSetMgr_->startOver(); // the open editor follows to BG tile 0
    router_->deliverToOpenEditor(MSG_COLOURS_CHANGED, 12, 0xFFFF);
    setStatusText(QStringLiteral("Ready"));
    showMapSize();
    rebuildTitle();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!fileCommands_->saveChangesFirst()) {
        event->ignore();
        return;
    }
    settings_->store(menus_->tileEditorDock(), zoomIndex_);
    // Closed with the changes saved or discarded: nothing is left to recover.
    autosave_->removeCopy();
    autosave_->waitForWorker();
    progress_->hide();
    menus_->tileEditorDock()->close();
    event->accept();
}

void CMainFrame::clearUndoHistory()
{
    undoStore_->clear();
    if (workspace_.project.changeFlags == 0)
        undoStore_->markSaved(workspace_);
    if (mapView_)
        mapView_->refreshUndoActions();
}

void CMainFrame::initMap()
{
    if (!workspace_.project.map.create(DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT))
        prompter().inform(formatText("Not enought memory to create %dx%d map", DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT));
    clearUndoHistory(); // the blank map is where Undo finds the project unchanged
    rebuildTitle();
    route(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
    showMapSize();
}

void CMainFrame::setChanged(ChangeFlags bits)
{
    workspace_.project.setChanged(bits);
}

void CMainFrame::rebuildTitle()
{
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const TextMeasure measure = [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
    const std::string part = titleProjectPart(workspace_.project.projectPath, measure, width());
    setWindowTitle(QString::fromStdString(
        buildWindowTitle(part, zoomText().toStdString(), workspace_.project.changeFlags != 0)));
    updateCommandStates();
}

void CMainFrame::showMapSize()
{
    menus_->showMapSize(workspace_.project.map.width, workspace_.project.map.height);
}

void CMainFrame::setStatusText(const QString& text)
{
    statusBar()->showMessage(text);
}

QString CMainFrame::statusText() const
{
    return statusBar()->currentMessage();
}

void CMainFrame::updateCommandStates()
{
    if (QAction* reload = menus_ ? commandAction(Command::Reload) : nullptr)
        reload->setEnabled(!workspace_.project.projectPath.empty());
}

// ---- tools --------------------------------------------------------------------

void CMainFrame::selectTool(int tool)
{
    const int left = currentTool_;
    currentTool_ = tool;
    pendingTool_ = TOOL_NONE;
    if (mapView_)
        mapView_->setCurrentTool(tool);
    if (QWidget* view = pane(Pane::MapView))
        view->setCursor(toolCursor(tool));
    for (auto& [command, action] : menus_->actions())
        if (action->isCheckable() && action->data().isValid() && action->data().toInt() == tool)
            action->setChecked(true);
    if (left == TOOL_REV_EYEDROPPER && tool != left)
        if (QWidget* view = pane(Pane::MapView))
            view->update();
}

void CMainFrame::setTemporaryTool(int tool, const QCursor& cursor)
{
    if (currentTool_ == tool)
        return;
    pendingTool_ = currentTool_;
    if (QWidget* view = pane(Pane::MapView))
        view->setCursor(cursor);
    currentTool_ = tool;
    if (mapView_)
        mapView_->setCurrentTool(tool);
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    menus_->updateLockKeys();
    if (event->isAutoRepeat()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Alt && currentTool_ == TOOL_ZOOM) {
        currentTool_ = TOOL_ZOOM_OUT;
        if (mapView_)
            mapView_->setCurrentTool(currentTool_);
        if (QWidget* view = pane(Pane::MapView))
            view->setCursor(toolCursor(TOOL_ZOOM_OUT));
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainFrame::keyReleaseEvent(QKeyEvent* event)
{
    menus_->updateLockKeys();
    if (event->isAutoRepeat()) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    QWidget* view = pane(Pane::MapView);
    if (event->key() == Qt::Key_Alt && currentTool_ == TOOL_ZOOM_OUT) {
        currentTool_ = TOOL_ZOOM;
        if (view)
            view->setCursor(toolCursor(TOOL_ZOOM));
    }
    if (pendingTool_ != TOOL_NONE) {
        currentTool_ = pendingTool_;
        pendingTool_ = TOOL_NONE;
        if (view)
            view->setCursor(toolCursor(currentTool_));
    }
    if (mapView_)
        mapView_->setCurrentTool(currentTool_);
    QMainWindow::keyReleaseEvent(event);
}

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        selectTool(TOOL_SELECT);
    QMainWindow::mousePressEvent(event);
}

// ---- zoom and switches ---------------------------------------------------------

QString CMainFrame::zoomText() const
{
    return menus_ ? menus_->zoomBox()->itemText(zoomIndex_) : QString::fromLatin1(ZOOM_LABELS[DEFAULT_ZOOM_INDEX]);
}

void CMainFrame::chooseZoomFromBox(int index)
{
    if (index == zoomIndex_ || index < 0 || index >= ZOOM_LEVELS)
        return;
    zoomIndex_ = index;
    route(MSG_SET_ZOOM, index, 0);
    rebuildTitle();
}

void CMainFrame::setZoom(int index)
{
    if (index == zoomIndex_ || index < 0 || index >= ZOOM_LEVELS)
        return;
    menus_->zoomBox()->setCurrentIndex(index);
    chooseZoomFromBox(index);
}

void CMainFrame::zoomToFit()
{
    // The room of the view without scroll bars, which a fitting map needs none of.
    QSize room = mapView_->maximumViewportSize();
    if (mapView_->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        room.rwidth() += mapView_->verticalScrollBar()->sizeHint().width();
    if (mapView_->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        room.rheight() += mapView_->horizontalScrollBar()->sizeHint().height();
    const MapGrid& map = workspace_.project.map;
    setZoom(qm::zoomToFit(map.width, map.height, room.width(), room.height()));
}

void CMainFrame::selectZoomEntry(int index)
{
    if (index < 0 || index >= ZOOM_LEVELS)
        return;
    zoomIndex_ = index;
    menus_->zoomBox()->setCurrentIndex(index);
    rebuildTitle();
}

void CMainFrame::toggleGrid()
{
    gridShown_ = !gridShown_;
    menus_->setGridShown(gridShown_);
    route(MSG_GRID, gridShown_ ? GRID_SHOW : GRID_HIDE, 0);
}

void CMainFrame::toggleDmgMode(bool on)
{
    if (workspace_.tiles.dmgMode == on)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    workspace_.tiles.dmgMode = on;
    // Straight to the panes that draw tiles: this is a change of display, not
    // of the palettes, so no change flag is set.
    router_->deliver(Pane::MapView, MSG_COLOURS_CHANGED, 12, 0xFFFF);
    router_->deliverToOpenEditor(MSG_COLOURS_CHANGED, 12, 0xFFFF);
    refreshTileSetManager();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    rebuildTitle();
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    rebuildTitle();
}

void CMainFrame::zoomChanged(int index) { selectZoomEntry(index); }

void CMainFrame::about()
{
    QMessageBox::about(this, QStringLiteral("About Quiltmark"),
                       QStringLiteral("<b>Quilt Mark</b> %1<br>Game Boy and Game Boy Color map and tile editor.")
                           .arg(QCoreApplication::applicationVersion().isEmpty()
                                    ? QStringLiteral("0.1")
                                    : QCoreApplication::applicationVersion()));
}

} // namespace qm::ui
