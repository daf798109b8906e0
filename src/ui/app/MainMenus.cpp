#include "ui/app/MainMenus.h"

#include "core/project/ProjectCommands.h"
#include "ui/app/Artwork.h"
#include "ui/app/CToolBarEx.h"
#include "ui/app/MapTool.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
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

MainMenus::MainMenus(QMainWindow& window) : QObject(&window), window_(window)
{
    buildActions();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildDocks();
}

void MainMenus::setGridShown(bool shown)
{
    QAction* grid = commandAction(Command::ShowGrid);
    grid->setText(shown ? QStringLiteral("Hide &Grid\tCtrl+G") : QStringLiteral("Show &Grid\tCtrl+G"));
    grid->setToolTip(shown ? QStringLiteral("Hide Grid") : QStringLiteral("Show Grid"));
}

void MainMenus::showMapSize(int width, int height)
{
    widthField_->setText(QString::number(width));
    heightField_->setText(QString::number(height));
}

QAction* MainMenus::makeAction(Command command, const QString& text, bool enabled)
{
    auto* action = new QAction(text, &window_);
    action->setEnabled(enabled);
    actions_[command] = action;
    return action;
}

QAction* MainMenus::commandAction(Command command) const
{
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void MainMenus::buildActions()
{
    using C = Command;
    // Commands that run from the start (their owners connect them).
    const auto on = [this](Command c, const char* text, QKeySequence key = {}) {
        QAction* a = makeAction(c, QString::fromUtf8(text), true);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    // Commands whose code arrives later: present, disabled, keys reserved.
    const auto later = [this](Command c, const char* text, QList<QKeySequence> keys = {}) {
        QAction* a = makeAction(c, QString::fromUtf8(text), false);
        a->setShortcuts(keys);
        return a;
    };

    on(C::New, "&New\tCtrl+N", QKeySequence(QStringLiteral("Ctrl+N")))
        ->setIcon(artworkIcon(Artwork::New));
    on(C::Open, "&Open...\tCtrl+O", QKeySequence(QStringLiteral("Ctrl+O")))
        ->setIcon(artworkIcon(Artwork::Open));
    on(C::Reload, "&Reload...\tCtrl+R", QKeySequence(QStringLiteral("Ctrl+R")))
        ->setIcon(artworkIcon(Artwork::Reload));
    on(C::Save, "&Save\tCtrl+S", QKeySequence(QStringLiteral("Ctrl+S")))
        ->setIcon(artworkIcon(Artwork::Save));
    on(C::SaveAs, "Save &As...\tCtrl+A", QKeySequence(QStringLiteral("Ctrl+A")));
    on(C::MapProperties, "Map Properties");
    later(C::ImportTileSet, "Tile set");
    later(C::ImportMap, "Map");
    later(C::ImportPalette, "Palette");
    later(C::ImportMapAttribute, "Map Attribute");
    later(C::Export, "&Export....");
    on(C::Exit, "E&xit");

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
    later(C::BlockFill, "Block Fill\tEnter"); // the map view and the manager take the key
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

    auto* tools = new QActionGroup(&window_);
    const auto tool = [&](Command c, const char* text, int number, Artwork art, const char* key) {
        QAction* a = on(c, text, key ? QKeySequence(QString::fromLatin1(key)) : QKeySequence());
        a->setCheckable(true);
        a->setIcon(artworkIcon(art));
        a->setData(number);
        tools->addAction(a);
    };
    tool(C::SelectTool, "Select Tool \tR-Click", TOOL_SELECT, Artwork::Select, nullptr);
    tool(C::ZoomTool, "Zoom Tool \tShift+Z", TOOL_ZOOM, Artwork::Zoom, "Shift+Z");
    // Ctrl held as well still means the tool (Ctrl+Z alone is Undo).
    commandAction(C::ZoomTool)->setShortcuts({QKeySequence(QStringLiteral("Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    tool(C::HandTool, "HandTool\tShift+M", TOOL_HAND, Artwork::Hand, "Shift+M");
    tool(C::PencilTool, "Pencil Tool\tShift+Y", TOOL_PENCIL, Artwork::Pencil, "Shift+Y");
    commandAction(C::PencilTool)->setShortcuts({QKeySequence(QStringLiteral("Shift+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Y"))});
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
    commandAction(C::Eyedropper)->setStatusTip(QStringLiteral("Eyedropper (Shift+I)- Ctrl+Click to search OBJ tile"));

    QAction* grid = on(C::ShowGrid, "Show &Grid\tCtrl+G",
                       QKeySequence(QStringLiteral("Ctrl+G")));
    grid->setIcon(artworkIcon(Artwork::Grid));
    grid->setToolTip(QStringLiteral("Show Grid"));
    later(C::HideObjTile, "&Hide OBJ Tile")->setCheckable(true);
    later(C::TransparentObjTile, "&Transparent OBJ Tile")->setCheckable(true);
    later(C::HideTags, "Hide Tags")->setCheckable(true);
    later(C::TransparentTags, "Transparent Tags")->setCheckable(true);
    on(C::ZoomIn, "Zoom &In\tCtrl++")->setShortcuts({QKeySequence(QStringLiteral("Ctrl+=")), QKeySequence(QStringLiteral("Ctrl++"))});
    on(C::ZoomOut, "Zoom &Out\tCtrl+-", QKeySequence(QStringLiteral("Ctrl+-")));
    on(C::ZoomToFit, "Zoom to &Fit\tCtrl+0", QKeySequence(QStringLiteral("Ctrl+0")));
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

    on(C::About, "&About Quiltmark...");

    for (auto& [command, action] : actions_)
        action->setShortcutContext(Qt::WindowShortcut);
}

void MainMenus::buildMenus()
{
    using C = Command;
    QMenuBar* bar = window_.menuBar();
    const auto add = [this](QMenu* menu, Command c) { menu->addAction(commandAction(c)); };

    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    for (C c : {C::New, C::Open, C::Reload, C::Save, C::SaveAs})
        add(fileMenu_, c);
    fileMenu_->addSeparator();
    add(fileMenu_, C::MapProperties);
    fileMenu_->addSeparator();
    QMenu* import = fileMenu_->addMenu(QStringLiteral("Import"));
    importMenu_ = import;
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
    cellPaletteMenu_ = edit->addMenu(QStringLiteral("Palettes"));
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
    viewMenu_ = view;
    for (C c : {C::ShowGrid, C::HideObjTile, C::TransparentObjTile, C::HideTags, C::TransparentTags})
        add(view, c);
    view->addSeparator();
    for (C c : {C::ZoomIn, C::ZoomOut, C::ZoomToFit})
        add(view, c);
    view->addSeparator();
    add(view, C::TileEditor);
    // The dock and bar toggles come from buildDocks.
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

void MainMenus::buildToolBar()
{
    using C = Command;
    toolBar_ = new CToolBarEx(&window_);
    window_.addToolBar(Qt::TopToolBarArea, toolBar_);
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
    // The display switches belong to the map view: the boxes run its View
    // menu commands, and are enabled with them.
    for (auto [box, command] : {std::pair{hideObjBox_, C::HideObjTile}, std::pair{hideTagsBox_, C::HideTags}}) {
        QAction* action = commandAction(command);
        const auto follow = [box, action] {
            box->setEnabled(action->isEnabled());
            box->setChecked(action->isChecked());
        };
        follow();
        connect(action, &QAction::changed, box, follow);
        connect(box, &QCheckBox::clicked, action, [box, action] {
            if (action->isChecked() != box->isChecked())
                action->trigger();
        });
    }
}

void MainMenus::buildStatusBar()
{
    QStatusBar* bar = window_.statusBar();
    const auto field = [this](const QString& label, QLineEdit*& edit) {
        auto* holder = new QWidget(&window_);
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
    capsLabel_ = indicator(QStringLiteral("CAP"), &window_);
    numLabel_ = indicator(QStringLiteral("NUM"), &window_);
    scrollLabel_ = indicator(QStringLiteral("SCRL"), &window_);
    bar->addPermanentWidget(capsLabel_);
    bar->addPermanentWidget(numLabel_);
    bar->addPermanentWidget(scrollLabel_);
    widthField_->setText(QString::number(DEFAULT_MAP_WIDTH));
    heightField_->setText(QString::number(DEFAULT_MAP_HEIGHT));
}

void MainMenus::buildDocks()
{
    managerDock_ = new QDockWidget(QStringLiteral("Tileset Manager"), &window_);
    managerDock_->setObjectName(QStringLiteral("tilesetManagerDock"));
    managerDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* waiting = new QLabel(QStringLiteral("BG, OBJ, CPD and Tag pages"), managerDock_);
    waiting->setAlignment(Qt::AlignCenter);
    waiting->setEnabled(false);
    waiting->setMinimumWidth(260);
    managerDock_->setWidget(waiting);
    window_.addDockWidget(Qt::LeftDockWidgetArea, managerDock_);

    tileEditorDock_ = new QDockWidget(QStringLiteral("Tile Editor"), &window_);
    tileEditorDock_->setObjectName(QStringLiteral("tileEditorDock"));
    tileEditorDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    window_.addDockWidget(Qt::RightDockWidgetArea, tileEditorDock_);
    tileEditorDock_->hide();

    {
        QMenu* view = viewMenu_;
        QAction* before = commandAction(Command::CursorColor);
        QAction* dock = managerDock_->toggleViewAction();
        dock->setText(QStringLiteral("Tileset Manager"));
        actions_[Command::TileSetManager] = dock;
        QAction* tools = toolBar_->toggleViewAction();
        tools->setText(QStringLiteral("&Toolbar"));
        actions_[Command::ShowToolbar] = tools;
        auto* status = new QAction(QStringLiteral("&Status Bar"), &window_);
        status->setCheckable(true);
        status->setChecked(true);
        connect(status, &QAction::toggled, window_.statusBar(), &QWidget::setVisible);
        actions_[Command::ShowStatusBar] = status;
        view->insertActions(before, {dock, tools, status});
        view->insertSeparator(before);
    }
}

void MainMenus::setRecentFiles(const QStringList& files)
{
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    QAction* before = recentSeparator_;
    int n = 0;
    for (const QString& file : files) {
        ++n;
        const QString shown = QFontMetrics(window_.font()).elidedText(file, Qt::ElideMiddle, 360);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(n).arg(shown), &window_);
        a->setToolTip(file);
        a->setStatusTip(file);
        connect(a, &QAction::triggered, this, [this, file] { emit recentFileChosen(file); });
        fileMenu_->insertAction(before, a);
        recentActions_ << a;
    }
    if (!recentActions_.isEmpty())
        recentActions_.prepend(fileMenu_->insertSeparator(recentActions_.first()));
}

void MainMenus::updateLockKeys()
{
    capsLabel_->setEnabled(lockLedOn("capslock"));
    numLabel_->setEnabled(lockLedOn("numlock"));
    scrollLabel_->setEnabled(lockLedOn("scrolllock"));
}

} // namespace qm::ui
