#include "ui/export/CExpPropertySheet.h"

#include "core/project/ProjectFile.h"
#include "ui/export/CExpMapPage.h"
#include "ui/export/CExpPalettePage.h"
#include "ui/export/CExpTilesetPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm::ui {

CExpPropertySheet::CExpPropertySheet(const Workspace& workspace, Prompter& prompter, Progress& progress,
                                     QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompter_(prompter), progress_(progress),
      working_(workspace.project.exportSettings)
{
    setWindowTitle(QStringLiteral("Export Project"));
    tabs_ = new QTabWidget;
    mapPage_ = new CExpMapPage(this);
    tilesetPage_ = new CExpTilesetPage(this);
    palettePage_ = new CExpPalettePage(this);
    tabs_->addTab(mapPage_, QStringLiteral("Map Data"));
    tabs_->addTab(tilesetPage_, QStringLiteral("Tile Data"));
    tabs_->addTab(palettePage_, QStringLiteral("Palette Data"));
    mapPage_->fill();
    tilesetPage_->fill();
    palettePage_->fill();

    // No Apply; OK is there but hidden, Cancel reads "Close".
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    okButton_ = box->button(QDialogButtonBox::Ok);
    okButton_->hide();
    closeButton_ = box->button(QDialogButtonBox::Cancel);
    closeButton_->setText(QStringLiteral("Close"));
    closeButton_->setAutoDefault(false);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(box);
}

CExpPropertySheet::~CExpPropertySheet() = default;

void CExpPropertySheet::done(int result)
{
    if (askOnClose_ && settingsChanged_) {
        if (prompter_.ask(MSG_SETTINGS_CHANGED, Buttons::YesNo) != Answer::Yes)
            settingsChanged_ = false;
    }
    askOnClose_ = false;
    QDialog::done(result);
}

Result applyExportSheet(const CExpPropertySheet& sheet, ProjectState& project)
{
    if (!sheet.settingsChanged())
        return Result::success();
    project.exportSettings = sheet.settings();
    if (project.projectPath.empty())
        return Result::success();
    return storeExportSettings(project);
}

} // namespace qm::ui
