#include "ui/import/MapDimensionDialog.h"

#include "core/base/Prompter.h"
#include "core/import/MapImport.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {

namespace {
std::int64_t fieldValue(const QLineEdit* field)
{
    bool ok = false;
    const qlonglong v = field->text().trimmed().toLongLong(&ok);
    return ok ? v : -1;
}
} // namespace

MapDimensionDialog::MapDimensionDialog(std::uint64_t fileSize, Prompter& prompter, QWidget* parent)
    : QDialog(parent), fileSize_(fileSize), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Map Dimemsion"));
    width_ = new QLineEdit(QStringLiteral("1"));
    height_ = new QLineEdit(QStringLiteral("1"));
    auto* validator = new QIntValidator(0, 0x7FFFFFFF, this);
    width_->setValidator(validator);
    height_->setValidator(validator);
    none_ = new QRadioButton(QStringLiteral("None (use data as it is)"));
    swap_ = new QRadioButton(QStringLiteral("Swap byte values over-under"));
    none_->setChecked(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("File Size:")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("%1 bytes").arg(fileSize)), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Width :")), 1, 0);
    grid->addWidget(width_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Height :")), 2, 0);
    grid->addWidget(height_, 2, 1);
    auto* box = new QGroupBox(QStringLiteral("Conversion Option"));
    auto* v = new QVBoxLayout(box);
    v->addWidget(none_);
    v->addWidget(swap_);
    v->addWidget(new QLabel(QStringLiteral("128 for tile sets in high VRAM")));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(box);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(width_, &QLineEdit::textChanged, this, [this] { follow(width_, height_); });
    connect(height_, &QLineEdit::textChanged, this, [this] { follow(height_, width_); });
}

void MapDimensionDialog::follow(QLineEdit* typed, QLineEdit* other)
{
    if (following_)
        return;
    const std::int64_t side = fieldValue(typed);
    if (side < 0)
        return;
    const std::optional<std::uint32_t> o = otherSideFor(fileSize_, static_cast<std::uint32_t>(side));
    if (!o)
        return;
    following_ = true;
    other->setText(QString::number(*o));
    following_ = false;
}

int MapDimensionDialog::mapWidth() const
{
    return static_cast<int>(std::clamp<std::int64_t>(fieldValue(width_), 0, 0x7FFFFFFF));
}

int MapDimensionDialog::mapHeight() const
{
    return static_cast<int>(std::clamp<std::int64_t>(fieldValue(height_), 0, 0x7FFFFFFF));
}

bool MapDimensionDialog::swap() const
{
    return swap_->isChecked();
}

void MapDimensionDialog::accept()
{
    const Result check = checkMapDimension(std::max<std::int64_t>(0, fieldValue(width_)),
                                           std::max<std::int64_t>(0, fieldValue(height_)));
    if (!check) {
        prompter_.inform(check.text());
        return;
    }
    QDialog::accept();
}

} // namespace qm::ui
