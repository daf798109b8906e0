#include "ui/import/ImportPaletteDialog.h"

#include "ui/app/CommandHost.h"
#include "ui/app/ProjectDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::ui {

ImportPaletteDialog::ImportPaletteDialog(const CommandHost& host, QWidget* parent) : QDialog(parent), host_(host)
{
    setWindowTitle(QStringLiteral("Import palette "));
    path_ = new QLineEdit;
    auto* browseButton = new QPushButton(QStringLiteral("...."));
    bg_ = new QRadioButton(QStringLiteral("BG Palette"));
    obj_ = new QRadioButton(QStringLiteral("OBJ Palette"));
    bg_->setChecked(true);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Palette bin :")), 0, 0);
    grid->addWidget(path_, 0, 1);
    grid->addWidget(browseButton, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Tileset   :")), 1, 0);
    grid->addWidget(bg_, 1, 1);
    grid->addWidget(obj_, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
}

QString ImportPaletteDialog::path() const
{
    return path_->text();
}

TileKind ImportPaletteDialog::kind() const
{
    return obj_->isChecked() ? TILE_OBJ : TILE_BG;
}

void ImportPaletteDialog::browse()
{
    // Besides the palette data of the export, the palettes of other programs.
    const QString chosen = host_.chooseFile(
        QStringLiteral("Get object tileset file name"),
        qtFileFilters(QStringLiteral("Palette bin(*.bin)|*.bin|JASC-PAL(*.pal)|*.pal|GIMP palette(*.gpl)|*.gpl|"
                                     "Raw RGB palette(*.act)|*.act|All palettes(*.bin;*.pal;*.gpl;*.act)|"
                                     "*.bin;*.pal;*.gpl;*.act|")),
        QStringLiteral("bin"));
    if (!chosen.isEmpty())
        path_->setText(chosen);
}

} // namespace qm::ui
