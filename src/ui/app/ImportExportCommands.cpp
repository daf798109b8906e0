#include "ui/app/ImportExportCommands.h"

#include "core/export/ExportSummary.h"
#include "core/project/MapCell.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/MainMenus.h"
#include "ui/app/PaneRouter.h"
#include "ui/app/ProgressDialog.h"
#include "ui/export/CExpPropertySheet.h"
#include "ui/import/ImportCommands.h"
#include "ui/map/CQuiltmarkView.h"
#include "ui/reports/ReportCommands.h"
#include "ui/tiles/CTilesetMgr.h"

#include <QAction>
#include <QMenu>

namespace qm::ui {

namespace {

// The "CompressorDir" setting of the "Frame" group.
std::string compressorDirSetting()
{
    const auto settings = openSettings();
    return settings->value(QStringLiteral("Frame/CompressorDir")).toString().toStdString();
}

// The "ExportFormat" setting of the "Frame" group: "bin", "c" or "asm".
constexpr const char* EXPORT_FORMAT_KEY = "Frame/ExportFormat";

} // namespace

ImportExportCommands::ImportExportCommands(CMainFrame& frame, MainMenus& menus) : QObject(&frame), frame_(frame)
{
    using C = MenuCommand;
    const auto wire = [this](QAction* action, std::function<void(const CommandHost&)> run) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, run] { run(commandHost()); });
    };
    const auto wireCommand = [&](MenuCommand c, std::function<void(const CommandHost&)> run) {
        if (QAction* action = menus.commandAction(c))
            wire(action, std::move(run));
    };
    wireCommand(C::ImportTileSet, [](const CommandHost& h) { importTileSetCommand(h); });
    wireCommand(C::ImportMap, [](const CommandHost& h) { importMapCommand(h); });
    wireCommand(C::ImportPalette, [](const CommandHost& h) { importPaletteCommand(h); });
    wireCommand(C::ImportMapAttribute, [](const CommandHost& h) { importMapAttributeCommand(h); });
    wireCommand(C::Export, [this](const CommandHost&) { exportProject(); });
    if (QAction* exportAction = menus.commandAction(C::Export)) {
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
    QMenu* import = menus.importMenu();
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

CommandHost ImportExportCommands::commandHost()
{
    CMainFrame& frame = frame_;
    CTilesetMgr* manager = frame.tileSetManager();
    CQuiltmarkView* view = frame.mapView();
    CommandHost host;
    host.parent = &frame;
    host.workspace = &frame.workspace();
    host.prompter = &frame.prompter();
    host.progress = frame.progressDialog();
    host.shownPage = [manager, view] {
        if (manager)
            return manager->currentKind();
        return view ? view->currentLayer() : int(TILE_BG);
    };
    host.lastTileSet = [view] {
        const TileKind layer = view ? view->currentLayer() : TILE_BG;
        return layer == TILE_OBJ || layer == TILE_TAG ? layer : int(TILE_BG);
    };
    host.currentTile = [manager](int kind) { return manager ? manager->currentTile(kind) : 0; };
    if (manager)
        host.showPage = [manager](int kind) { manager->showPage(kind); };
    host.cursorCell = [view] { return view ? view->cursorCell() : QPoint(0, 0); };
    // The commands set their change flags themselves: the panes are told
    // without the routing's flags.
    PaneRouter* router = &frame.router();
    host.notify = [router](AppMessage msg, qint64 w, qint64 l) { router->notify(msg, w, l); };
    host.setChanged = [&frame](ChangeFlags bits) { frame.setChanged(bits); };
    host.statusText = [&frame](const QString& text) { frame.setStatusText(text); };
    if (commandHooks_)
        commandHooks_(host);
    return host;
}

void ImportExportCommands::exportProject()
{
    const CommandHost host = commandHost();
    Workspace& workspace = frame_.workspace();
    CExpPropertySheet sheet(workspace, *host.prompter, *host.progress, &frame_);
    sheet.setCompressorSetting(compressorDirSetting());
    const QString formatName = openSettings()->value(QString::fromUtf8(EXPORT_FORMAT_KEY)).toString();
    sheet.setFormat(exportFormatNamed(formatName.toStdString()).value_or(ExportFormat::Binary));
    connect(&sheet, &CExpPropertySheet::exported, this, [this](const ExportReport& report) {
        if (const std::string text = exportSummaryText(report); !text.empty())
            frame_.setStatusText(QString::fromStdString(text));
    });
    host.run(sheet);
    openSettings()->setValue(QString::fromUtf8(EXPORT_FORMAT_KEY), QString::fromUtf8(exportFormatName(sheet.format())));
    const Result stored = applyExportSheet(sheet, workspace.project);
    if (!stored)
        host.prompter->inform(stored.text());
}

} // namespace qm::ui
