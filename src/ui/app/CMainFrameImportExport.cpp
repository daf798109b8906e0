// The main window's import, export and report commands: the File menu's
// "Import" submenu, "&Export...." and the "&Report" menu.

#include "core/project/MapCell.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CommandHost.h"
#include "ui/app/ProgressDialog.h"
#include "ui/export/CExpPropertySheet.h"
#include "ui/import/ImportCommands.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/reports/ReportCommands.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QMenu>
#include <QMetaObject>

namespace qm::ui {

namespace {

// Asks the tile set manager pane for a number through its meta-object, when
// it offers the method; nothing otherwise.
std::optional<int> askManager(QWidget* manager, const char* name, std::optional<int> argument = std::nullopt)
{
    if (!manager)
        return std::nullopt;
    const QByteArray signature = QByteArray(name) + (argument ? "(int)" : "()");
    if (manager->metaObject()->indexOfMethod(signature.constData()) < 0)
        return std::nullopt;
    int value = 0;
    const bool ok = argument ? QMetaObject::invokeMethod(manager, name, Qt::DirectConnection, Q_RETURN_ARG(int, value),
                                                         Q_ARG(int, *argument))
                             : QMetaObject::invokeMethod(manager, name, Qt::DirectConnection, Q_RETURN_ARG(int, value));
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The "CompressorDir" setting of the "Frame" group.
std::string compressorDirSetting()
{
    const auto settings = openSettings();
    return settings->value(QStringLiteral("Frame/CompressorDir")).toString().toStdString();
}

} // namespace

CommandHost CMainFrame::commandHost()
{
    CommandHost host;
    host.parent = this;
    host.workspace = &workspace_;
    host.prompter = prompter_;
    host.progress = progress_;
    host.shownPage = [this] {
        if (const std::optional<int> kind = askManager(pane(Pane::TileSetManager), "currentKind"))
            return *kind;
        return mapView_ ? mapView_->currentLayer() : int(TILE_BG);
    };
    host.lastTileSet = [this] {
        const int layer = mapView_ ? mapView_->currentLayer() : int(TILE_BG);
        return layer == TILE_OBJ || layer == TILE_TAG ? layer : int(TILE_BG);
    };
    host.currentTile = [this](int kind) {
        return askManager(pane(Pane::TileSetManager), "currentTile", kind).value_or(0);
    };
    host.cursorCell = [this] { return mapView_ ? mapView_->cursorCell() : QPoint(0, 0); };
    host.route = [this](AppMessage msg, qint64 w, qint64 l) { route(msg, w, l); };
    host.setChanged = [this](ChangeFlags bits) { setChanged(bits); };
    host.statusText = [this](const QString& text) { setStatusText(text); };
    if (CTilesetMgr* manager = tileSetMgr_)
        host.showPage = [manager](int kind) { manager->showPage(kind); };
    if (commandHooks_)
        commandHooks_(host);
    return host;
}

void CMainFrame::exportProject()
{
    const CommandHost host = commandHost();
    CExpPropertySheet sheet(workspace_, *host.prompter, *host.progress, this);
    sheet.setCompressorSetting(compressorDirSetting());
    host.run(sheet);
    const Result stored = applyExportSheet(sheet, workspace_.project);
    if (!stored)
        host.prompter->inform(stored.text());
}

void CMainFrame::connectImportExport()
{
    using C = Command;
    const auto wire = [this](QAction* action, std::function<void(const CommandHost&)> run) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, run] { run(commandHost()); });
    };
    const auto wireCommand = [&](Command c, std::function<void(const CommandHost&)> run) {
        if (QAction* action = commandAction(c))
            wire(action, std::move(run));
    };
    wireCommand(C::ImportTileSet, [](const CommandHost& h) { importTileSetCommand(h); });
    wireCommand(C::ImportMap, [](const CommandHost& h) { importMapCommand(h); });
    wireCommand(C::ImportPalette, [](const CommandHost& h) { importPaletteCommand(h); });
    wireCommand(C::ImportMapAttribute, [](const CommandHost& h) { importMapAttributeCommand(h); });
    wireCommand(C::Export, [this](const CommandHost&) { exportProject(); });
    if (QAction* exportAction = commandAction(C::Export)) {
        exportAction->setStatusTip(QStringLiteral("Export project properties"));
        exportAction->setToolTip(QStringLiteral("Export"));
    }
    wireCommand(C::ReportTileComment, [](const CommandHost& h) { runReportCommand(h, ReportKind::Comments); });
    wireCommand(C::ReportPalette, [](const CommandHost& h) { runReportCommand(h, ReportKind::Palette); });
    wireCommand(C::ReportDuplicatedTile, [](const CommandHost& h) { runReportCommand(h, ReportKind::Duplicates); });
    wireCommand(C::ReportUnusedBg, [](const CommandHost& h) { runReportCommand(h, ReportKind::UnusedBg); });
    wireCommand(C::ReportUnusedObj, [](const CommandHost& h) { runReportCommand(h, ReportKind::UnusedObj); });
    wireCommand(C::ReportPriority, [](const CommandHost& h) { showPriorityReport(h); });

    // The imports of pictures and of other tile editors' files join the submenu.
    QMenu* import = nullptr;
    if (QAction* tileSet = commandAction(C::ImportTileSet))
        for (QObject* owner : tileSet->associatedObjects())
            if ((import = qobject_cast<QMenu*>(owner)))
                break;
    if (!import)
        return;
    struct Extra {
        const char* text;
        const char* tip;
        bool (*run)(const CommandHost&);
    };
    for (const Extra& e : {Extra{"Bitmap", "Import bitmap", &importBitmapCommand},
                           Extra{"GBTD(gbr)", "", &importGbrCommand}, Extra{"Tiler Raw", "", &importTilerRawCommand}}) {
        QAction* action = import->addAction(QString::fromUtf8(e.text));
        action->setObjectName(QString::fromUtf8(e.text));
        action->setStatusTip(QString::fromUtf8(e.tip));
        const auto run = e.run;
        wire(action, [run](const CommandHost& h) { run(h); });
    }
}

} // namespace qm::ui
