#include "ui/tiles/RemapPaletteDialog.h"

#include "ui/tiles/TileDrawing.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qm::ui {

namespace {
QIcon colourIcon(const DisplayColour& c)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(toQColor(c));
    return QIcon(pixmap);
}
} // namespace

RemapPaletteDialog::RemapPaletteDialog(const RemapRequest& preset, const DisplayTable& colours, QWidget* parent)
    : QDialog(parent), colours_(colours), bankBase_(preset.bankBase)
{
    setWindowTitle(QStringLiteral("Remap Palette Colors"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    paletteList_ = new QComboBox(this);
    paletteList_->setIconSize(QSize(48, 12));
    for (int p = 0; p < 8; ++p)
        paletteList_->addItem(paletteIcon(colours_[size_t(p)]), QString::number(p));
    form->addRow(QStringLiteral("Palette"), paletteList_);
    from_ = new QSpinBox(this);
    to_ = new QSpinBox(this);
    for (QSpinBox* box : {from_, to_})
        box->setRange(0, 255);
    from_->setValue(preset.from);
    to_->setValue(preset.to);
    form->addRow(QStringLiteral("From tile"), from_);
    form->addRow(QStringLiteral("to"), to_);
    layout->addLayout(form);

    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        samples_[size_t(i)] = new QLabel(this);
        samples_[size_t(i)]->setFixedSize(24, 12);
        samples_[size_t(i)]->setAutoFillBackground(true);
        grid->addWidget(samples_[size_t(i)], 0, i);
        colourLists_[size_t(i)] = new QComboBox(this);
        grid->addWidget(colourLists_[size_t(i)], 1, i);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RemapPaletteDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RemapPaletteDialog::reject);
    layout->addWidget(buttons);

    connect(paletteList_, &QComboBox::currentIndexChanged, this, &RemapPaletteDialog::paletteChosen);
    paletteList_->setCurrentIndex(preset.palette & 7);
    paletteChosen(preset.palette & 7);
    for (int i = 0; i < 4; ++i)
        colourLists_[size_t(i)]->setCurrentIndex(preset.mapping[size_t(i)] & 3);
}

void RemapPaletteDialog::paletteChosen(int palette)
{
    if (palette < 0 || palette > 7)
        return;
    const DisplayPalette& colours = colours_[size_t(palette)];
    for (int i = 0; i < 4; ++i) {
        QLabel* sample = samples_[size_t(i)];
        QPalette pal = sample->palette();
        pal.setColor(QPalette::Window, toQColor(colours[size_t(i)]));
        sample->setPalette(pal);
        QComboBox* list = colourLists_[size_t(i)];
        list->clear();
        for (int c = 0; c < 4; ++c)
            list->addItem(colourIcon(colours[size_t(c)]), QString::number(c));
        list->setCurrentIndex(i);
    }
}

RemapRequest RemapPaletteDialog::request() const
{
    RemapRequest r;
    r.palette = paletteList_->currentIndex();
    r.bankBase = bankBase_;
    r.from = from_->value();
    r.to = to_->value();
    for (int i = 0; i < 4; ++i)
        r.mapping[size_t(i)] = static_cast<std::uint8_t>(std::max(0, colourLists_[size_t(i)]->currentIndex()));
    return r;
}

void RemapPaletteDialog::accept()
{
    const Result check = checkRemapRange(request());
    if (!check.ok()) {
        const QString text = QString::fromStdString(check.text());
        if (showMessage)
            showMessage(text);
        else
            QMessageBox::warning(this, QApplication::applicationName(), text);
        from_->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace qm::ui
