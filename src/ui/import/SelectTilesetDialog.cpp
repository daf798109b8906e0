#include "ui/import/SelectTilesetDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::ui {

SelectTilesetDialog::SelectTilesetDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select Tileset"));
    bg_ = new QRadioButton(QStringLiteral("BG"));
    obj_ = new QRadioButton(QStringLiteral("OBJ"));
    bg_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please select target tileset :")));
    layout->addWidget(bg_);
    layout->addWidget(obj_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TileKind SelectTilesetDialog::layer() const
{
    return obj_->isChecked() ? TILE_OBJ : TILE_BG;
}

} // namespace qm::ui
