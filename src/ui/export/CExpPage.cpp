#include "ui/export/CExpPage.h"

#include "core/export/MapExport.h"
#include "ui/export/CExpPropertySheet.h"
#include "ui/export/FolderPicker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {

CExpPage::CExpPage(CExpPropertySheet* sheet, ExportPage page, const QString& exportText)
    : QWidget(nullptr), sheet_(sheet), page_(page), prefix_(new QLineEdit), suffix_(new QLineEdit),
      location_(new QLineEdit), locationButton_(new QPushButton(QStringLiteral("Location.."))),
      exportButton_(new QPushButton(exportText)), exportText_(exportText)
{
    connect(prefix_, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
    connect(suffix_, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
    connect(location_, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
    connect(locationButton_, &QPushButton::clicked, this, [this] { pickLocation(); });
    connect(exportButton_, &QPushButton::clicked, this, [this] { exportPage(); });
}

void CExpPage::finishLayout(QWidget* content)
{
    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("Prefix :")), 0, 0);
    names->addWidget(prefix_, 0, 1);
    names->addWidget(new QLabel(QStringLiteral("Suffix :")), 1, 0);
    names->addWidget(suffix_, 1, 1);
    names->addWidget(locationButton_, 2, 0);
    names->addWidget(location_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addLayout(names);
    layout->addLayout(buttons);
}

void CExpPage::fill()
{
    sheet_->beginFilling();
    prefix_->setText(QString::fromStdString(prefix()));
    suffix_->setText(QString::fromStdString(suffix()));
    location_->setText(QString::fromStdString(location()));
    fillControls();
    refreshLabels();
    sheet_->endFilling();
}

void CExpPage::changed()
{
    if (!filling())
        sheet_->setSettingsChanged(true);
}

bool CExpPage::filling() const
{
    return sheet_->filling();
}

bool CExpPage::readNumber(QLineEdit* field, long long min, long long max, bool messages, long long& out)
{
    bool ok = false;
    const long long v = field->text().trimmed().toLongLong(&ok);
    if (ok && v >= min && v <= max) {
        out = v;
        return true;
    }
    if (messages) {
        const bool byte = min == 0 && max == 255;
        sheet_->prompter().inform(byte ? MSG_ENTER_BYTE : MSG_ENTER_INTEGER);
        field->setFocus();
        field->selectAll();
    }
    return false;
}

void CExpPage::readPrefix()
{
    prefix() = prefix_->text().toStdString();
}

void CExpPage::readSuffix()
{
    suffix() = suffix_->text().toStdString();
}

void CExpPage::readLocation()
{
    location() = location_->text().toStdString();
}

void CExpPage::fieldEdited()
{
    if (filling())
        return;
    changed();
    readControls(false);
    refreshLabels();
}

void CExpPage::showName(QLabel* label, bool on, const QString& text)
{
    reserveName(label, text);
    label->setText(on ? text : QString());
}

void CExpPage::reserveName(QLabel* label, const QString& text)
{
    const QFontMetrics metrics(label->font());
    label->setMinimumSize(std::max(label->minimumWidth(), metrics.horizontalAdvance(text)), metrics.height());
}

void CExpPage::pickLocation()
{
    const QString current = location_->text();
    QString dir;
    if (sheet_->pickDirectory)
        dir = sheet_->pickDirectory(this, QString::fromUtf8(DIRECTORY_PICKER_TITLE), current);
    else
        dir = FolderPicker::pick(this, QString::fromUtf8(DIRECTORY_PICKER_TITLE), current);
    if (dir.isEmpty())
        return;
    location() = dir.toStdString();
    sheet_->beginFilling();
    location_->setText(dir);
    sheet_->endFilling();
    // Picking counts as a change even when the same directory comes back.
    sheet_->setSettingsChanged(true);
}

void CExpPage::exportPage()
{
    readControls(true);
    const QString where = location_->text();
    if (where.isEmpty()) {
        sheet_->prompter().inform(MSG_EMPTY_LOCATION);
        return;
    }
    if (const Result names = checkExportNames(page_, prefix(), suffix()); !names) {
        sheet_->prompter().inform(names.text());
        QLineEdit* field = checkExportNames(page_, prefix(), {}) ? suffix_ : prefix_;
        field->setFocus();
        field->selectAll();
        return;
    }
    location() = where.toStdString();
    runExport();
}

} // namespace qm::ui
