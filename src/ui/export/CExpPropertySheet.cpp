#include "ui/export/CExpPropertySheet.h"

#include "core/project/ProjectFile.h"
#include "ui/export/CExpMapPage.h"
#include "ui/export/CExpPalettePage.h"
#include "ui/export/CExpTilesetPage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
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

    // The same order as ExportFormat.
    formatBox_ = new QComboBox;
    formatBox_->addItems({QStringLiteral("Binary files (.bin)"), QStringLiteral("C source (.c and .h)"),
                          QStringLiteral("RGBDS assembly (.asm and .inc)")});
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Write as :")));
    bottom->addWidget(formatBox_);
    bottom->addWidget(box, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(bottom);
}

ExportFormat CExpPropertySheet::format() const
{
    return static_cast<ExportFormat>(formatBox_->currentIndex());
}

void CExpPropertySheet::setFormat(ExportFormat format)
{
    formatBox_->setCurrentIndex(static_cast<int>(format));
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
