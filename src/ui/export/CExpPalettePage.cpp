#include "ui/export/CExpPalettePage.h"

#include "core/export/ExportFileName.h"
#include "core/export/PaletteExport.h"
#include "ui/export/CExpPropertySheet.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qm::ui {

CExpPalettePage::CExpPalettePage(CExpPropertySheet* sheet)
    : CExpPage(sheet, ExportPage::Palette, QStringLiteral("Export Palette"))
{
    auto* box = new QGroupBox(QStringLiteral("GBC Palettes"));
    auto* grid = new QGridLayout(box);
    bg_ = new QCheckBox(QStringLiteral("BG Tile Palette"));
    obj_ = new QCheckBox(QStringLiteral("OBJ Tile Palette"));
    bgLabel_ = new QLabel;
    objLabel_ = new QLabel;
    grid->addWidget(bg_, 0, 0);
    grid->addWidget(bgLabel_, 0, 1);
    grid->addWidget(obj_, 1, 0);
    grid->addWidget(objLabel_, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* content = new QWidget;
    auto* v = new QVBoxLayout(content);
    v->addWidget(box);
    v->addStretch();
    finishLayout(content);
    connect(bg_, &QCheckBox::clicked, this, [this] {
        sheet_->working().paletteFlags ^= PALETTE_BG;
        changed();
        refreshLabels();
    });
    connect(obj_, &QCheckBox::clicked, this, [this] {
        sheet_->working().paletteFlags ^= PALETTE_OBJ;
        changed();
        refreshLabels();
    });
}

std::string& CExpPalettePage::prefix()
{
    return sheet_->working().palettePrefix;
}
std::string& CExpPalettePage::suffix()
{
    return sheet_->working().paletteSuffix;
}
std::string& CExpPalettePage::location()
{
    return sheet_->working().paletteLocation;
}

void CExpPalettePage::fillControls()
{
    bg_->setChecked(sheet_->working().paletteFlags & PALETTE_BG);
    obj_->setChecked(sheet_->working().paletteFlags & PALETTE_OBJ);
}

void CExpPalettePage::readControls(bool)
{
    readSuffix();
    readPrefix();
    readLocation();
}

void CExpPalettePage::refreshLabels()
{
    const ExportSettings& s = sheet_->settings();
    const auto name = [&](int code) {
        return QString::fromStdString(exportFileName(code, s.palettePrefix, s.paletteSuffix));
    };
    showName(bgLabel_, s.paletteFlags & PALETTE_BG, name(EXPORT_PALETTE_BG));
    showName(objLabel_, s.paletteFlags & PALETTE_OBJ, name(EXPORT_PALETTE_OBJ));
}

void CExpPalettePage::runExport()
{
    sheet_->setLastReport(
        exportPalettePage(sheet_->workspace().tiles.palettes, sheet_->settings(), sheet_->prompter(),
                          sheet_->progress(), sheet_->format()));
}

} // namespace qm::ui
