#include "ui/export/CExpTilesetPage.h"

#include "core/export/ExportFileName.h"
#include "core/export/TileExport.h"
#include "ui/export/CExpPropertySheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::ui {

namespace {

// Option rows in the order they are shown, with their bit, file code and,
// for the tile rows, their range.
struct RowInfo {
    int bit;
    int code;
    const char* text;
    int range; // -1: an attribute row without range fields
};
const RowInfo ROWS[] = {
    {0, EXPORT_BG_MAIN, "Export BG Main Tiles from", CExpTilesetPage::BG_MAIN},
    {2, EXPORT_BG_MAIN_ATTR, "Export BG Main Tile Attributes", -1},
    {1, EXPORT_BG_ALT, "Export BG Alternate Tiles from", CExpTilesetPage::BG_ALT},
    {3, EXPORT_BG_ALT_ATTR, "Export BG Alternate Tile Attributes", -1},
    {4, EXPORT_OBJ_MAIN, "Export OBJ Main Tiles from", CExpTilesetPage::OBJ_MAIN},
    {6, EXPORT_OBJ_MAIN_ATTR, "Export OBJ Main Tile Attributes", -1},
    {5, EXPORT_OBJ_ALT, "Export OBJ Alternate Tiles from", CExpTilesetPage::OBJ_ALT},
    {7, EXPORT_OBJ_ALT_ATTR, "Export OBJ Alternate Tile Attributes", -1},
};

int codeOfBit(int bit)
{
    for (const RowInfo& r : ROWS)
        if (r.bit == bit)
            return r.code;
    return -1;
}

} // namespace

CExpTilesetPage::CExpTilesetPage(CExpPropertySheet* sheet)
    : CExpPage(sheet, ExportPage::Tileset, QStringLiteral("Export Tile Set"))
{
    auto* content = new QWidget;
    auto* v = new QVBoxLayout(content);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const RowInfo& info : ROWS) {
        auto* box = new QCheckBox(QString::fromUtf8(info.text));
        options_[static_cast<size_t>(info.bit)] = box;
        grid->addWidget(box, row, 0);
        if (info.range >= 0) {
            from_[static_cast<size_t>(info.range)] = new QLineEdit;
            to_[static_cast<size_t>(info.range)] = new QLineEdit;
            from_[static_cast<size_t>(info.range)]->setMaximumWidth(50);
            to_[static_cast<size_t>(info.range)]->setMaximumWidth(50);
            grid->addWidget(from_[static_cast<size_t>(info.range)], row, 1);
            grid->addWidget(new QLabel(QStringLiteral("to")), row, 2);
            grid->addWidget(to_[static_cast<size_t>(info.range)], row, 3);
        }
        ++row;
        auto* label = new QLabel;
        labels_[static_cast<size_t>(info.bit)] = label;
        grid->addWidget(label, row++, 0, 1, 4);
        const int bit = info.bit;
        connect(box, &QCheckBox::clicked, this, [this, bit] {
            sheet_->working().tilesetFlags ^= static_cast<std::uint16_t>(1u << bit);
            changed();
            refreshLabels();
        });
    }
    grid->setColumnStretch(4, 1);
    v->addLayout(grid);

    signed_ = new QRadioButton(QStringLiteral("Signed ($8800)"));
    unsigned_ = new QRadioButton(QStringLiteral("UnSigned ($8000)"));
    auto* order = new QGroupBox;
    auto* h = new QHBoxLayout(order);
    auto* group = new QButtonGroup(order);
    group->addButton(signed_);
    group->addButton(unsigned_);
    h->addWidget(signed_);
    h->addWidget(unsigned_);
    h->addStretch();
    v->addWidget(order);
    compress_ = new QCheckBox(QStringLiteral("Compress tileset"));
    v->addWidget(compress_);
    v->addStretch();
    finishLayout(content);

    const auto setSigned = [this] {
        std::uint16_t& f = sheet_->working().tilesetFlags;
        if (signed_->isChecked())
            f |= TILES_SIGNED;
        else
            f &= static_cast<std::uint16_t>(~TILES_SIGNED);
        changed();
    };
    connect(signed_, &QRadioButton::clicked, this, setSigned);
    connect(unsigned_, &QRadioButton::clicked, this, setSigned);
    connect(compress_, &QCheckBox::clicked, this, [this] {
        sheet_->working().tilesetFlags ^= TILES_COMPRESS;
        changed();
    });
    for (QLineEdit* field : from_)
        connect(field, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
    for (QLineEdit* field : to_)
        connect(field, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
}

std::string& CExpTilesetPage::prefix()
{
    return sheet_->working().tilesetPrefix;
}
std::string& CExpTilesetPage::suffix()
{
    return sheet_->working().tilesetSuffix;
}
std::string& CExpTilesetPage::location()
{
    return sheet_->working().tilesetLocation;
}

std::uint8_t& CExpTilesetPage::fromValue(Range r)
{
    ExportSettings& s = sheet_->working();
    switch (r) {
    case BG_MAIN: return s.bgMainFrom;
    case BG_ALT: return s.bgAltFrom;
    case OBJ_MAIN: return s.objMainFrom;
    default: return s.objAltFrom;
    }
}

std::uint8_t& CExpTilesetPage::toValue(Range r)
{
    ExportSettings& s = sheet_->working();
    switch (r) {
    case BG_MAIN: return s.bgMainTo;
    case BG_ALT: return s.bgAltTo;
    case OBJ_MAIN: return s.objMainTo;
    default: return s.objAltTo;
    }
}

void CExpTilesetPage::fillControls()
{
    const std::uint16_t f = sheet_->working().tilesetFlags;
    for (int bit = 0; bit < 8; ++bit)
        options_[static_cast<size_t>(bit)]->setChecked(f & (1u << bit));
    for (Range r : {BG_MAIN, BG_ALT, OBJ_MAIN, OBJ_ALT}) {
        from_[r]->setText(QString::number(fromValue(r)));
        to_[r]->setText(QString::number(toValue(r)));
    }
    (f & TILES_SIGNED ? signed_ : unsigned_)->setChecked(true);
    compress_->setChecked(f & TILES_COMPRESS);
}

bool CExpTilesetPage::readByte(QLineEdit* field, std::uint8_t& value, bool messages)
{
    long long v = 0;
    if (!readNumber(field, 0, 255, messages, v))
        return !messages; // without messages a bad field is skipped
    value = static_cast<std::uint8_t>(v);
    return true;
}

void CExpTilesetPage::readControls(bool messages)
{
    readPrefix();
    readSuffix();
    // The order of the fields is the order in which a bad one stops the reading.
    const std::pair<QLineEdit*, std::uint8_t*> fields[] = {
        {to_[OBJ_MAIN], &toValue(OBJ_MAIN)}, {from_[OBJ_MAIN], &fromValue(OBJ_MAIN)},
        {to_[OBJ_ALT], &toValue(OBJ_ALT)},   {from_[OBJ_ALT], &fromValue(OBJ_ALT)},
        {to_[BG_MAIN], &toValue(BG_MAIN)},   {from_[BG_MAIN], &fromValue(BG_MAIN)},
        {to_[BG_ALT], &toValue(BG_ALT)},     {from_[BG_ALT], &fromValue(BG_ALT)},
    };
    for (const auto& [field, value] : fields)
        if (!readByte(field, *value, messages))
            return;
    readLocation();
}

void CExpTilesetPage::refreshLabels()
{
    const ExportSettings& s = sheet_->settings();
    for (int bit = 0; bit < 8; ++bit) {
        const bool on = s.tilesetFlags & (1u << bit);
        showName(labels_[static_cast<size_t>(bit)], on,
                 QString::fromStdString(exportFileName(codeOfBit(bit), s.tilesetPrefix, s.tilesetSuffix)));
    }
}

void CExpTilesetPage::runExport()
{
    sheet_->setLastReport(exportTilesetPage(sheet_->workspace().tiles, sheet_->settings(), sheet_->prompter(),
                                            sheet_->progress(), sheet_->compressorSetting(), sheet_->format()));
}

} // namespace qm::ui
