#include "ui/app/CMainFrame.h"

#include "core/base/Format.h"
#include "core/undo/UndoStore.h"
#include "core/project/ProjectFile.h"
#include "ui/app/Artwork.h"
#include "ui/app/CToolBarEx.h"
#include "ui/app/ProgressDialog.h"
#include "ui/app/ZoomLevels.h"
#include "ui/map/CQuiltmarkView.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

namespace qm::ui {

namespace {

// Reads a lock key's state from the keyboard LEDs the kernel exposes; false
// where there are none.
bool lockLedOn(const char* name)
{
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList entries =
        leds.entryList({QStringLiteral("*::") + QLatin1String(name)}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        QFile f(leds.filePath(entry + QStringLiteral("/brightness")));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

QLabel* indicator(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("SCRL")) + 10);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

} // namespace

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
        rebuildTitle();
    };

    buildActions();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildDocks();

    createMapView();
    createTileEditor();
    createTileSetManager();
    connectImportExport();

    selectTool(TOOL_SELECT);
    progress_ = new ProgressDialog(this);
    progress_->hide();

    restoreSettings();
    startDirectory_ = QDir::currentPath();
    rebuildTitle();
    showMapSize();
    updateLockKeys();
}

CMainFrame::~CMainFrame()
{
    workspace_.project.onFlagsChanged = nullptr;
}

Progress& CMainFrame::progress()
{
    return *progress_;
}

// ---- panes ------------------------------------------------------------------

void CMainFrame::installPane(Pane role, QWidget* widget, Deliver deliverTo)
{
    PaneSlot& slot = panes_[static_cast<size_t>(role)];
    slot.widget = widget;
    slot.deliver = std::move(deliverTo);
    switch (role) {
    case Pane::MapView:
        setCentralWidget(widget); // deletes the widget it replaces
        widget->setCursor(toolCursor(currentTool_));
        break;
    case Pane::TileSetManager:
        managerDock_->setWidget(widget);
        break;
    case Pane::TileEditor:
        if (QAction* command = commandAction(Command::TileEditor)) {
            command->setEnabled(true);
            connect(command, &QAction::triggered, this, [this](bool open) {
                if (open)
                    showTileEditor();
                else if (QWidget* editor = pane(Pane::TileEditor))
                    editor->hide();
            });
        }
        break;
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
    connect(view, &CQuiltmarkView::displaySwitchesChanged, this, [this](bool objHidden, bool tagsHidden) {
        hideObjBox_->setChecked(objHidden);
        hideTagsBox_->setChecked(tagsHidden);
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
    mirror(C::Undo, view->undoAction());
    mirror(C::Redo, view->redoAction());
    mirror(C::HideObjTile, view->hideObjAction());
    mirror(C::TransparentObjTile, view->transparentObjAction());
    mirror(C::HideTags, view->hideTagsAction());
    mirror(C::TransparentTags, view->transparentTagsAction());
    mirror(C::CursorColor, view->cursorColourAction());
    mirror(C::GridColor, view->gridColourAction());
    connectMapEditing(view);
}

void CMainFrame::showTileEditor()
{
    QWidget* editor = pane(Pane::TileEditor);
    if (!editor)
        return;
    if (!tileEditorPlaced_ && tileEditorRect_.isValid())
        editor->move(tileEditorRect_.topLeft());
    tileEditorPlaced_ = true;
    editor->show();
    if (QAction* command = commandAction(Command::TileEditor))
        command->setChecked(true);
}

QWidget* CMainFrame::pane(Pane role) const
{
    return panes_[static_cast<size_t>(role)].widget;
}

void CMainFrame::deliver(Pane role, AppMessage msg, qint64 wParam, qint64 lParam)
{
    const PaneSlot& slot = panes_[static_cast<size_t>(role)];
    if (slot.widget && slot.deliver)
        slot.deliver(msg, wParam, lParam);
}

void CMainFrame::route(AppMessage msg, qint64 wParam, qint64 lParam)
{
    switch (msg) {
    case MSG_SET_ZOOM:
    case MSG_MAP_RESET:
    case MSG_GRID:
        deliver(Pane::MapView, msg, wParam, lParam);
        break;
    case MSG_INIT_MAP:
        initMap();
        break;
    case MSG_ZOOM_CHANGED:
        selectZoomEntry(static_cast<int>(wParam));
        break;
    case MSG_SELECT_TOOL:
        switch (wParam) {
        case TOOL_SELECT:
        case TOOL_HAND:
        case TOOL_PENCIL:
        case TOOL_BUCKET:
        case TOOL_EYEDROPPER:
        case TOOL_REV_EYEDROPPER:
        case TOOL_LINE:
            selectTool(static_cast<int>(wParam));
            break;
        default:
            break;
        }
        break;
    case MSG_TILE_DOUBLE_CLICKED:
        showTileEditor();
        deliver(Pane::TileEditor, msg, wParam, lParam);
        break;
    case MSG_TILES_CHANGED: {
        deliver(Pane::MapView, msg, wParam, lParam);
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        const TileKind kind = static_cast<TileKind>(wParam & 0xFF);
        setChanged(kind == TILE_BG ? CHANGED_BG_TILES : kind == TILE_OBJ ? CHANGED_OBJ_TILES : TILE_TAG);
        break;
    }
    case MSG_COLOURS_CHANGED:
        deliver(Pane::MapView, msg, wParam, lParam);
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
            deliver(Pane::TileEditor, msg, wParam, lParam);
        setChanged(CHANGED_PALETTE);
        break;
    case MSG_TILE_PALETTE_CHANGED: {
        deliver(Pane::MapView, msg, wParam, lParam);
        if (const auto* change = messageRecord<TilePaletteChange>(lParam)) {
            if (change->layer == TILE_BG || change->layer == TILE_OBJ || change->layer == TILE_TAG)
                setChanged(change->layer);
        }
        deliver(Pane::TileSetManager, msg, wParam, lParam);
        if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
            deliver(Pane::TileEditor, msg, wParam, lParam);
        break;
    }
    case MSG_CURRENT_TILE_CHANGED:
        if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
            deliver(Pane::TileEditor, msg, wParam, lParam);
        break;
    }
}

// ---- actions and menus ------------------------------------------------------------

QAction* CMainFrame::makeAction(Command command, const QString& text, bool enabled)
{
    auto* action = new QAction(text, this);
    action->setEnabled(enabled);
    actions_[command] = action;
    return action;
}

QAction* CMainFrame::commandAction(Command command) const
{
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::buildActions()
{
    using C = Command;
    const auto on = [this](Command c, const char* text, auto slot, QKeySequence key = {}) {
        QAction* a = makeAction(c, QString::fromUtf8(text), true);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    // Commands whose code arrives later: present, disabled, keys reserved.
    const auto later = [this](Command c, const char* text, QList<QKeySequence> keys = {}) {
        QAction* a = makeAction(c, QString::fromUtf8(text), false);
        a->setShortcuts(keys);
        return a;
    };

    on(C::New, "&New\tCtrl+N", [this] { newProject(); }, QKeySequence(QStringLiteral("Ctrl+N")))
        ->setIcon(artworkIcon(Artwork::New));
    on(C::Open, "&Open...\tCtrl+O", [this] { openProject(); }, QKeySequence(QStringLiteral("Ctrl+O")))
        ->setIcon(artworkIcon(Artwork::Open));
    on(C::Reload, "&Reload...\tCtrl+R", [this] { reloadProject(); }, QKeySequence(QStringLiteral("Ctrl+R")))
        ->setIcon(artworkIcon(Artwork::Reload));
    on(C::Save, "&Save\tCtrl+S", [this] { saveProject(); }, QKeySequence(QStringLiteral("Ctrl+S")))
        ->setIcon(artworkIcon(Artwork::Save));
    on(C::SaveAs, "Save &As...\tCtrl+A", [this] { saveProjectAs(); }, QKeySequence(QStringLiteral("Ctrl+A")));
    on(C::MapProperties, "Map Properties", [this] { mapProperties(); });
    later(C::ImportTileSet, "Tile set");
    later(C::ImportMap, "Map");
    later(C::ImportPalette, "Palette");
    later(C::ImportMapAttribute, "Map Attribute");
    later(C::Export, "&Export....");
    on(C::Exit, "E&xit", [this] { close(); });

    later(C::Undo, "&Undo\tCtrl+Z",
          {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Alt+Backspace")),
           QKeySequence(QStringLiteral("Z"))})
        ->setIcon(artworkIcon(Artwork::Undo));
    later(C::Redo, "&Redo\tCtrl+Y", {QKeySequence(QStringLiteral("Y")), QKeySequence(QStringLiteral("Ctrl+Y"))})
        ->setIcon(artworkIcon(Artwork::Redo));
    later(C::Cut, "Cu&t\tCtrl+X");
    later(C::Copy, "&Copy\tCtrl+C");
    later(C::Paste, "&Paste\tCtrl+V");
    later(C::CopyMapToClipboard, "Copy MapTo Clipboard");
    later(C::CopyMapToTile, "Copy MapToTile");
    later(C::BlockFill, "Block Fill");
    later(C::ArrayFill, "Array Fill\tShift+A", {QKeySequence(QStringLiteral("Shift+A"))});
    later(C::SetBaseTile, "Set Base Tile");
    later(C::FlipHorizontally, "Flip Horizontally\tShift+H", {QKeySequence(QStringLiteral("Shift+H"))})
        ->setIcon(artworkIcon(Artwork::FlipHorizontal));
    later(C::FlipVertically, "Flip Vertically\tShift+V", {QKeySequence(QStringLiteral("Shift+V"))})
        ->setIcon(artworkIcon(Artwork::FlipVertical));
    later(C::FlipAreaHorizontally, "Flip Area Horizontally");
    later(C::FlipAreaVertically, "Flip Area Vertically");
    later(C::SetToBank0, "Set To 0");
    later(C::SetToBank1, "Set To 1");
    later(C::FlipBank, "Flip Bank\tShift+B", {QKeySequence(QStringLiteral("Shift+B"))});
    later(C::ObjPriority, "OBJ Priority");
    later(C::BgPriority, "BG Priority");
    later(C::InsertRow, "Insert Row\tCtrl+D", {QKeySequence(QStringLiteral("Ctrl+D"))});
    later(C::DeleteRow, "Delete Row\tCtrl+F", {QKeySequence(QStringLiteral("Ctrl+F"))});
    later(C::InsertColumn, "Insert Column\tCtrl+Q", {QKeySequence(QStringLiteral("Ctrl+Q"))});
    later(C::DeleteColumn, "Delete Column\tCtrl+W", {QKeySequence(QStringLiteral("Ctrl+W"))});
    later(C::ResetMapPalette, "Reset Map Palette");

    auto* tools = new QActionGroup(this);
    const auto tool = [&](Command c, const char* text, int number, Artwork art, const char* key) {
        QAction* a = on(c, text, [this, number] { selectTool(number); },
                        key ? QKeySequence(QString::fromLatin1(key)) : QKeySequence());
        a->setCheckable(true);
        a->setIcon(artworkIcon(art));
        a->setData(number);
        tools->addAction(a);
    };
    tool(C::SelectTool, "Select Tool \tR-Click", TOOL_SELECT, Artwork::Select, nullptr);
    tool(C::ZoomTool, "Zoom Tool \tShift+Z", TOOL_ZOOM, Artwork::Zoom, "Shift+Z");
    tool(C::HandTool, "HandTool\tShift+M", TOOL_HAND, Artwork::Hand, "Shift+M");
    tool(C::PencilTool, "Pencil Tool\tShift+Y", TOOL_PENCIL, Artwork::Pencil, "Shift+Y");
    tool(C::BucketTool, "Bucket Tool\tShift+K", TOOL_BUCKET, Artwork::Bucket, "Shift+K");
    tool(C::Eyedropper, "Eye-dropper\tShift+I", TOOL_EYEDROPPER, Artwork::Eyedropper, "Shift+I");
    tool(C::RevEyedropper, "Rev Eyedropper\tShift+J", TOOL_REV_EYEDROPPER, Artwork::RevEyedropper, "Shift+J");
    tool(C::LineTool, "Line Tool\tShift+N", TOOL_LINE, Artwork::Line, "Shift+N");
    // Tool names for the toolbar's tooltips.
    commandAction(C::SelectTool)->setToolTip(QStringLiteral("Select Tool"));
    commandAction(C::ZoomTool)->setToolTip(QStringLiteral("Zoom Tool"));
    commandAction(C::HandTool)->setToolTip(QStringLiteral("Hand Tool"));
    commandAction(C::PencilTool)->setToolTip(QStringLiteral("Pencil Tool"));
    commandAction(C::BucketTool)->setToolTip(QStringLiteral("Bucket Tool"));
    commandAction(C::Eyedropper)->setToolTip(QStringLiteral("Eye-dropper"));
    commandAction(C::RevEyedropper)->setToolTip(QStringLiteral("Rev Eyedropper"));
    commandAction(C::LineTool)->setToolTip(QStringLiteral("Line Tool"));

    QAction* grid = on(C::ShowGrid, "Show &Grid\tCtrl+G", [this] { toggleGrid(); },
                       QKeySequence(QStringLiteral("Ctrl+G")));
    grid->setIcon(artworkIcon(Artwork::Grid));
    grid->setToolTip(QStringLiteral("Show Grid"));
    later(C::HideObjTile, "&Hide OBJ Tile")->setCheckable(true);
    later(C::TransparentObjTile, "&Transparent OBJ Tile")->setCheckable(true);
    later(C::HideTags, "Hide Tags")->setCheckable(true);
    later(C::TransparentTags, "Transparent Tags")->setCheckable(true);
    later(C::TileEditor, "Tile &Editor")->setCheckable(true);
    later(C::CursorColor, "&Cursor Color\tCtrl+J", {QKeySequence(QStringLiteral("Ctrl+J"))});
    later(C::GridColor, "&Grid Color\tCtrl+K", {QKeySequence(QStringLiteral("Ctrl+K"))});

    QAction* trueColour = later(C::TrueColor, "&True Color");
    QAction* gbcColour = later(C::GbcColor, "&GBC Color");
    trueColour->setCheckable(true);
    gbcColour->setCheckable(true);
    gbcColour->setChecked(true);

    later(C::ReportTileComment, "Tile &Comment");
    later(C::ReportPalette, "&Palette ");
    later(C::ReportDuplicatedTile, "&Duplicated Tile");
    later(C::ReportUnusedBg, "Unused &Bg Tile");
    later(C::ReportUnusedObj, "Unused &Obj Tile");
    later(C::ReportPriority, "Priority ");

    on(C::About, "&About Quiltmark...", [this] { about(); });

    for (auto& [command, action] : actions_)
        action->setShortcutContext(Qt::WindowShortcut);
}

void CMainFrame::buildMenus()
{
    using C = Command;
    QMenuBar* bar = menuBar();
    const auto add = [this](QMenu* menu, Command c) { menu->addAction(commandAction(c)); };

    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    for (C c : {C::New, C::Open, C::Reload, C::Save, C::SaveAs})
        add(fileMenu_, c);
    fileMenu_->addSeparator();
    add(fileMenu_, C::MapProperties);
    fileMenu_->addSeparator();
    QMenu* import = fileMenu_->addMenu(QStringLiteral("Import"));
    for (C c : {C::ImportTileSet, C::ImportMap, C::ImportPalette, C::ImportMapAttribute})
        add(import, c);
    add(fileMenu_, C::Export);
    recentSeparator_ = fileMenu_->addSeparator();
    add(fileMenu_, C::Exit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    for (C c : {C::Undo, C::Redo})
        add(edit, c);
    edit->addSeparator();
    for (C c : {C::Cut, C::Copy, C::Paste, C::CopyMapToClipboard, C::CopyMapToTile})
        add(edit, c);
    edit->addSeparator();
    for (C c : {C::BlockFill, C::ArrayFill, C::SetBaseTile, C::FlipHorizontally, C::FlipVertically,
                C::FlipAreaHorizontally, C::FlipAreaVertically})
        add(edit, c);
    QMenu* bank = edit->addMenu(QStringLiteral("Bank"));
    for (C c : {C::SetToBank0, C::SetToBank1, C::FlipBank})
        add(bank, c);
    QMenu* priority = edit->addMenu(QStringLiteral("Display Priority"));
    for (C c : {C::ObjPriority, C::BgPriority})
        add(priority, c);
    edit->addSeparator();
    for (C c : {C::InsertRow, C::DeleteRow, C::InsertColumn, C::DeleteColumn})
        add(edit, c);
    edit->addSeparator();
    add(edit, C::ResetMapPalette);
    edit->addSeparator();
    for (C c : {C::SelectTool, C::ZoomTool, C::HandTool, C::PencilTool, C::BucketTool, C::Eyedropper,
                C::RevEyedropper, C::LineTool})
        add(edit, c);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    for (C c : {C::ShowGrid, C::HideObjTile, C::TransparentObjTile, C::HideTags, C::TransparentTags})
        add(view, c);
    view->addSeparator();
    add(view, C::TileEditor);
    // The dock and bar toggles come from buildDocks/buildToolBar/buildStatusBar.
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addSeparator();
    for (C c : {C::CursorColor, C::GridColor})
        add(view, c);

    QMenu* colour = bar->addMenu(QStringLiteral("&Color"));
    for (C c : {C::TrueColor, C::GbcColor})
        add(colour, c);

    QMenu* report = bar->addMenu(QStringLiteral("&Report"));
    for (C c : {C::ReportTileComment, C::ReportPalette, C::ReportDuplicatedTile, C::ReportUnusedBg,
                C::ReportUnusedObj, C::ReportPriority})
        add(report, c);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    add(help, C::About);
}

void CMainFrame::buildToolBar()
{
    using C = Command;
    toolBar_ = new CToolBarEx(this);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    const auto button = [this](Command c, const QString& tip) {
        QAction* a = commandAction(c);
        if (!tip.isEmpty())
            a->setToolTip(tip);
        toolBar_->addButton(a);
    };
    button(C::New, QStringLiteral("New"));
    button(C::Open, QStringLiteral("Open"));
    button(C::Save, QStringLiteral("Save"));
    button(C::Reload, QStringLiteral("Reload"));
    toolBar_->addGap();
    button(C::Undo, QStringLiteral("Undo"));
    button(C::Redo, QStringLiteral("Redo"));
    toolBar_->addGap();
    zoomBox_ = toolBar_->addZoomBox();
    connect(zoomBox_, &QComboBox::activated, this, &CMainFrame::chooseZoomFromBox);
    for (C c : {C::Eyedropper, C::RevEyedropper, C::SelectTool, C::PencilTool, C::LineTool, C::HandTool,
                C::BucketTool, C::ZoomTool})
        button(c, QString());
    button(C::FlipVertically, QStringLiteral("Flip Vertically"));
    button(C::FlipHorizontally, QStringLiteral("Flip Horizontally"));
    button(C::ShowGrid, QString());
    toolBar_->addGap();
    dmgBox_ = toolBar_->addCheckBox(QStringLiteral("DMG Mode"));
    hideObjBox_ = toolBar_->addCheckBox(QStringLiteral("Hide OBJ"));
    hideTagsBox_ = toolBar_->addCheckBox(QStringLiteral("Hide Tags"));
    connect(dmgBox_, &QCheckBox::toggled, this, &CMainFrame::toggleDmgMode);
    // The display switches belong to the map view: the boxes run its View
    // menu commands, and are enabled with them.
    for (auto [box, command] : {std::pair{hideObjBox_, C::HideObjTile}, std::pair{hideTagsBox_, C::HideTags}}) {
        QAction* action = commandAction(command);
        box->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, box, [box, action] { box->setEnabled(action->isEnabled()); });
        connect(box, &QCheckBox::clicked, action, [box, action] {
            if (action->isChecked() != box->isChecked())
                action->trigger();
        });
    }
}

void CMainFrame::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    const auto field = [this](const QString& label, QLineEdit*& edit) {
        auto* holder = new QWidget(this);
        auto* layout = new QHBoxLayout(holder);
        layout->setContentsMargins(4, 0, 4, 0);
        layout->setSpacing(4);
        layout->addWidget(new QLabel(label, holder));
        edit = new QLineEdit(holder);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("000000")) + 12);
        layout->addWidget(edit);
        holder->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        return holder;
    };
    bar->addPermanentWidget(field(QStringLiteral("Width"), widthField_));
    bar->addPermanentWidget(field(QStringLiteral("Height"), heightField_));
    capsLabel_ = indicator(QStringLiteral("CAP"), this);
    numLabel_ = indicator(QStringLiteral("NUM"), this);
    scrollLabel_ = indicator(QStringLiteral("SCRL"), this);
    bar->addPermanentWidget(capsLabel_);
    bar->addPermanentWidget(numLabel_);
    bar->addPermanentWidget(scrollLabel_);
    widthField_->setText(QString::number(DEFAULT_MAP_WIDTH));
    heightField_->setText(QString::number(DEFAULT_MAP_HEIGHT));
    setStatusText(QStringLiteral("Ready"));
}

void CMainFrame::buildDocks()
{
    managerDock_ = new QDockWidget(QStringLiteral("Tileset Manager"), this);
    managerDock_->setObjectName(QStringLiteral("tilesetManagerDock"));
    managerDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* waiting = new QLabel(QStringLiteral("BG, OBJ, CPD and Tag pages"), managerDock_);
    waiting->setAlignment(Qt::AlignCenter);
    waiting->setEnabled(false);
    waiting->setMinimumWidth(260);
    managerDock_->setWidget(waiting);
    addDockWidget(Qt::LeftDockWidgetArea, managerDock_);

    if (auto* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"))) {
        QAction* before = commandAction(Command::CursorColor);
        QAction* dock = managerDock_->toggleViewAction();
        dock->setText(QStringLiteral("Tileset Manager"));
        actions_[Command::TileSetManager] = dock;
        QAction* tools = toolBar_->toggleViewAction();
        tools->setText(QStringLiteral("&Toolbar"));
        actions_[Command::ShowToolbar] = tools;
        auto* status = new QAction(QStringLiteral("&Status Bar"), this);
        status->setCheckable(true);
        status->setChecked(true);
        connect(status, &QAction::toggled, statusBar(), &QWidget::setVisible);
        actions_[Command::ShowStatusBar] = status;
        view->insertActions(before, {dock, tools, status});
        view->insertSeparator(before);
    }
    rebuildRecentMenu();
}

// ---- project commands ---------------------------------------------------------------

Answer CMainFrame::askSaveChanges()
{
    // Every map edit sets CHANGED_MAP at once (the view's modified mark follows
    // that bit), so the flags alone decide; nothing set by an import is lost.
    return qm::askSaveChanges(workspace_.project, std::nullopt, prompter());
}

bool CMainFrame::saveChangesFirst()
{
    switch (askSaveChanges()) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        return saveProject();
    default:
        return true;
    }
}

void CMainFrame::newProject()
{
    if (!saveChangesFirst())
        return;
    const std::optional<NewProjectRequest> request = dialogs_->askNewProject(this);
    if (!request)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TileSetsLoaded loaded;
    const Result r = qm::newProject(workspace_, *request, prompter(), progress(), &loaded);
    QApplication::restoreOverrideCursor();
    if (!r) {
        prompter().inform(r.text());
        rebuildTitle();
        return;
    }
    afterProjectReplaced();
    setStatusText(QString::fromStdString(mapSizeText(workspace_.project.map)));
}

void CMainFrame::openProject()
{
    if (!saveChangesFirst())
        return;
    const std::optional<QString> path = dialogs_->askOpenProject(this);
    if (!path)
        return;
    if (readProjectFile(*path))
        addRecentFile(*path);
}

bool CMainFrame::readProjectFile(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result r = readProject(toCorePath(path), workspace_, prompter(), progress());
    QApplication::restoreOverrideCursor();
    if (!r)
        prompter().inform(r.text());
    // A refused file leaves the open project as it was; a file that was taken
    // over and then failed its conversion is shown all the same.
    if (r || workspace_.project.projectPath == toCorePath(path))
        afterProjectReplaced();
    else
        rebuildTitle();
    return r.ok();
}

void CMainFrame::afterProjectReplaced()
{
    clearUndoHistory();
    setStatusText(QStringLiteral("Drawing map....."));
    route(MSG_MAP_RESET, MAP_RESET_NEW, 0);
    refreshTileSetManager();
    setStatusText(QStringLiteral("Ready"));
    showMapSize();
    rebuildTitle();
}

void CMainFrame::reloadProject()
{
    if (workspace_.project.projectPath.empty())
        return;
    if (prompter().ask("Discard changes and reload project ?", Buttons::YesNoCancel) != Answer::Yes)
        return;
    readProjectFile(fromCorePath(workspace_.project.projectPath));
}

bool CMainFrame::saveProject()
{
    if (!canSaveDirectly(workspace_.project)) {
        const bool saved = saveProjectAs();
        rebuildTitle();
        return saved;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result r = qm::saveProject(workspace_, progress());
    QApplication::restoreOverrideCursor();
    rebuildTitle();
    if (!r) {
        prompter().inform(r.text());
        return false;
    }
    return true;
}

bool CMainFrame::saveProjectAs()
{
    ProjectState& st = workspace_.project;
    st.normalisePaths();
    const std::optional<SavePaths> paths =
        dialogs_->askSaveProject(this, SavePaths{st.projectPath, st.bgTileSetPath, st.objTileSetPath});
    if (!paths)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result r = qm::saveProjectAs(workspace_, *paths, progress());
    QApplication::restoreOverrideCursor();
    rebuildTitle();
    if (!r) {
        prompter().inform(r.text());
        return false;
    }
    if (!st.projectPath.empty())
        addRecentFile(fromCorePath(st.projectPath));
    return true;
}

void CMainFrame::mapProperties()
{
    const std::optional<QSize> size = dialogs_->askMapProperties(this, workspace_.project);
    if (!size)
        return;
    std::string failure;
    const MapPropertiesOutcome outcome =
        applyMapProperties(workspace_.project, size->width(), size->height(), prompter(), &failure);
    if (outcome == MapPropertiesOutcome::Cancelled)
        return;
    if (outcome == MapPropertiesOutcome::Failed)
        prompter().inform(failure);
    route(MSG_MAP_RESET, MAP_RESET_SIZE, 0);
    showMapSize();
}

bool CMainFrame::openFile(const QString& givenPath)
{
    // The project keeps full paths: the title, the stored relative paths and
    // the recent-file list depend on it.
    const QString path = givenPath.isEmpty() ? givenPath : QFileInfo(givenPath).absoluteFilePath();
    const std::string corePath = toCorePath(path);
    const OpenFileKind kind = openFileKind(corePath);
    if (kind == OpenFileKind::None)
        return false;
    if (!saveChangesFirst())
        return false;
    if (kind == OpenFileKind::Project) {
        const bool opened = readProjectFile(path);
        if (opened)
            addRecentFile(path);
        return opened;
    }

    const TileKind tileKind = kind == OpenFileKind::ObjTileSet ? TILE_OBJ : TILE_BG;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool loaded = false;
    const Result r = openTileSetAsProject(workspace_, corePath, tileKind, prompter(), progress(), &loaded);
    QApplication::restoreOverrideCursor();
    if (!r) {
        prompter().inform(r.text());
        rebuildTitle();
        return false;
    }
    afterProjectReplaced();
    setStatusText(QString::fromStdString(mapSizeText(workspace_.project.map)));
    if (loaded)
        addRecentFile(path);
    return loaded;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!saveChangesFirst()) {
        event->ignore();
        return;
    }
    storeSettings();
    progress_->hide();
    if (QWidget* editor = pane(Pane::TileEditor))
        editor->close();
    event->accept();
}

void CMainFrame::clearUndoHistory()
{
    undoStore_->clear();
    if (mapView_)
        mapView_->refreshUndoActions();
}

void CMainFrame::initMap()
{
    if (!workspace_.project.map.create(DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT))
        prompter().inform(formatText("Not enought memory to create %dx%d map", DEFAULT_MAP_WIDTH, DEFAULT_MAP_HEIGHT));
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
    widthField_->setText(QString::number(workspace_.project.map.width));
    heightField_->setText(QString::number(workspace_.project.map.height));
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
    if (QAction* reload = commandAction(Command::Reload))
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
    for (auto& [command, action] : actions_)
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
    updateLockKeys();
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
    updateLockKeys();
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

void CMainFrame::updateLockKeys()
{
    capsLabel_->setEnabled(lockLedOn("capslock"));
    numLabel_->setEnabled(lockLedOn("numlock"));
    scrollLabel_->setEnabled(lockLedOn("scrolllock"));
}

// ---- zoom and switches ---------------------------------------------------------

QString CMainFrame::zoomText() const
{
    return zoomBox_ ? zoomBox_->itemText(zoomIndex_) : QString::fromLatin1(ZOOM_LABELS[DEFAULT_ZOOM_INDEX]);
}

void CMainFrame::chooseZoomFromBox(int index)
{
    if (index == zoomIndex_ || index < 0 || index >= ZOOM_LEVELS)
        return;
    zoomIndex_ = index;
    route(MSG_SET_ZOOM, index, 0);
    rebuildTitle();
}

void CMainFrame::selectZoomEntry(int index)
{
    if (index < 0 || index >= ZOOM_LEVELS)
        return;
    zoomIndex_ = index;
    zoomBox_->setCurrentIndex(index);
    rebuildTitle();
}

void CMainFrame::zoomIn()
{
    if (zoomIndex_ < ZOOM_LEVELS - 1)
        chooseZoomFromBox(zoomIndex_ + 1);
    selectZoomEntry(zoomIndex_);
}

void CMainFrame::zoomOut()
{
    if (zoomIndex_ > 0)
        chooseZoomFromBox(zoomIndex_ - 1);
    selectZoomEntry(zoomIndex_);
}

void CMainFrame::showHideObj(bool hidden)
{
    hideObjBox_->setChecked(hidden);
    commandAction(Command::HideObjTile)->setChecked(hidden);
}

void CMainFrame::showHideTags(bool hidden)
{
    hideTagsBox_->setChecked(hidden);
    commandAction(Command::HideTags)->setChecked(hidden);
}

void CMainFrame::toggleGrid()
{
    QAction* grid = commandAction(Command::ShowGrid);
    gridShown_ = !gridShown_;
    grid->setText(gridShown_ ? QStringLiteral("Hide &Grid\tCtrl+G") : QStringLiteral("Show &Grid\tCtrl+G"));
    grid->setToolTip(gridShown_ ? QStringLiteral("Hide Grid") : QStringLiteral("Show Grid"));
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
    deliver(Pane::MapView, MSG_COLOURS_CHANGED, 12, 0xFFFF);
    if (QWidget* editor = pane(Pane::TileEditor); editor && editor->isVisible())
        deliver(Pane::TileEditor, MSG_COLOURS_CHANGED, 12, 0xFFFF);
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

// ---- settings -----------------------------------------------------------------------

void CMainFrame::restoreSettings()
{
    auto settings = openSettings();
    const FrameSettings values = readFrameSettings(*settings);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        if (const auto placement = framePlacement(values, screen->availableGeometry(), screen->size())) {
            setGeometry(placement->rect);
            savedShowState_ = placement->status;
        }
    }
    tileEditorRect_ = qm::ui::tileEditorRect(values);
    if (!values.lastPath.isEmpty() && QDir(values.lastPath).exists())
        QDir::setCurrent(values.lastPath);
    recentFiles_ = readRecentFiles(*settings);
    rebuildRecentMenu();
}

void CMainFrame::storeSettings()
{
    FrameSettings values;
    values.lastPath = QDir::currentPath();
    values.status = isMaximized() ? SHOW_MAXIMIZED : isMinimized() ? SHOW_MINIMIZED : SHOW_NORMAL;
    const QRect normal = (isMaximized() || isMinimized()) && normalGeometry().isValid() ? normalGeometry() : geometry();
    QPoint origin;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        origin = screen->availableGeometry().topLeft();
    values.left = normal.left() - origin.x();
    values.top = normal.top() - origin.y();
    values.right = values.left + normal.width();
    values.bottom = values.top + normal.height();
    QRect editor = tileEditorRect_;
    if (QWidget* w = pane(Pane::TileEditor); w && tileEditorPlaced_)
        editor = QRect(w->pos(), QSize(TILE_EDITOR_WIDTH, TILE_EDITOR_HEIGHT));
    if (editor.isValid()) {
        values.tileEditorLeft = editor.left();
        values.tileEditorTop = editor.top();
    }
    auto settings = openSettings();
    writeFrameSettings(*settings, values);
    writeRecentFiles(*settings, recentFiles_);
}

void CMainFrame::showAsSaved()
{
    // A window saved minimised opens normally: starting as an icon only hides the editor.
    if (savedShowState_ == SHOW_MAXIMIZED)
        showMaximized();
    else
        show();
}

void CMainFrame::addRecentFile(const QString& path)
{
    recentFiles_ = withRecentFile(recentFiles_, QFileInfo(path).absoluteFilePath());
    auto settings = openSettings();
    writeRecentFiles(*settings, recentFiles_);
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu()
{
    if (!fileMenu_)
        return;
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    QAction* before = recentSeparator_;
    int n = 0;
    for (const QString& file : recentFiles_) {
        ++n;
        const QString shown = QFontMetrics(font()).elidedText(file, Qt::ElideMiddle, 360);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(n).arg(shown), this);
        a->setToolTip(file);
        a->setStatusTip(file);
        connect(a, &QAction::triggered, this, [this, file] { openFile(file); });
        fileMenu_->insertAction(before, a);
        recentActions_ << a;
    }
    if (!recentActions_.isEmpty())
        recentActions_.prepend(fileMenu_->insertSeparator(recentActions_.first()));
}

void CMainFrame::about()
{
    QMessageBox::about(this, QStringLiteral("About Quiltmark"),
                       QStringLiteral("<b>Quilt Mark</b> %1<br>Game Boy and Game Boy Color map and tile editor.")
                           .arg(QCoreApplication::applicationVersion().isEmpty()
                                    ? QStringLiteral("0.1")
                                    : QCoreApplication::applicationVersion()));
}

} // namespace qm::ui
