#include "ui/export/CExpMapPage.h"

#include "core/export/ExportFileName.h"
#include "core/export/MapExport.h"
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

const char* const BG_SPLIT_STEMS[] = {"MAPABGPal", "MAPABGFlipV", "MAPABGFlipH", "MAPABGBank", "MAPABGDp"};
const char* const OBJ_SPLIT_STEMS[] = {"MAPAOBJPal", "MAPAOBJFlipV", "MAPAOBJFlipH", "MAPAOBJBank", "MAPAOBJDp"};

QRadioButton* radio(const char* text)
{
    return new QRadioButton(QString::fromUtf8(text));
}

QCheckBox* check(const char* text)
{
    return new QCheckBox(QString::fromUtf8(text));
}

// Radio buttons in a group box of their own, exclusive among themselves.
QGroupBox* radioBox(const char* title, QRadioButton* a, QRadioButton* b, QWidget* extra = nullptr)
{
    auto* box = new QGroupBox(QString::fromUtf8(title));
    auto* layout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    group->addButton(a);
    group->addButton(b);
    layout->addWidget(a);
    layout->addWidget(b);
    if (extra)
        layout->addWidget(extra);
    layout->addStretch();
    return box;
}

} // namespace

CExpMapPage::CExpMapPage(CExpPropertySheet* sheet)
    : CExpPage(sheet, ExportPage::Map, QStringLiteral("Export Map"))
{
    oneFile_ = radio("One large bin");
    splitInto_ = radio("Split into");
    splitCount_ = new QLineEdit;
    splitCount_->setMaximumWidth(80);
    bits8_ = radio("8 Bit");
    bits4_ = radio("4 Bit");
    signed_ = radio("Signed ($8800)");
    unsigned_ = radio("UnSigned ($8000)");
    bgData_ = check("Export BG Map Data");
    bgAttr_ = check("Export BG-GBC Attribute Map");
    bgSplit_ = check("Split Attribute");
    objData_ = check("Export OBJ Map Data");
    objAttr_ = check("Export OBJ-GBC Attrbute Map");
    objSplit_ = check("Split Attribute");
    tag_ = check("Export BG Map Tag");
    rle_ = check("RLE Compresss");
    removeLeading_ = check("Remove leading placeholder tiles");
    rotate_ = check("Rotate 90°");
    tags16_ = radio("16 Tags");
    tags256_ = radio("256 Tags");
    for (QLabel*& l : labels_)
        l = new QLabel;

    auto* content = new QWidget;
    auto* v = new QVBoxLayout(content);
    {
        auto* split = new QWidget;
        auto* h = new QHBoxLayout(split);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(splitCount_);
        h->addWidget(new QLabel(QStringLiteral("byte files")));
        v->addWidget(radioBox("File Structure", oneFile_, splitInto_, split));
    }
    v->addWidget(radioBox("Data Structure", bits8_, bits4_));
    v->addWidget(radioBox("Data Organization Option:", signed_, unsigned_));
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(bgData_, row, 0);
    grid->addWidget(labels_[BG_DATA], row++, 2);
    grid->addWidget(bgAttr_, row, 0);
    grid->addWidget(bgSplit_, row, 1);
    grid->addWidget(labels_[BG_ATTR], row++, 2);
    grid->addWidget(labels_[BG_ATTR2], row++, 2);
    grid->addWidget(objData_, row, 0);
    grid->addWidget(labels_[OBJ_DATA], row++, 2);
    grid->addWidget(objAttr_, row, 0);
    grid->addWidget(objSplit_, row, 1);
    grid->addWidget(labels_[OBJ_ATTR], row++, 2);
    grid->addWidget(labels_[OBJ_ATTR2], row++, 2);
    grid->addWidget(tag_, row, 0);
    grid->addWidget(labels_[TAG], row++, 2);
    grid->addWidget(rle_, row, 0);
    grid->addWidget(labels_[RLE_DATA], row++, 2);
    grid->addWidget(labels_[RLE_HEADER], row++, 2);
    grid->addWidget(removeLeading_, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("(used to remove tiles from diagonal maps)")), row++, 0, 1, 3);
    grid->addWidget(rotate_, row++, 0);
    v->addLayout(grid);
    {
        auto* h = new QHBoxLayout;
        auto* group = new QButtonGroup(content);
        group->addButton(tags16_);
        group->addButton(tags256_);
        h->addWidget(tags16_);
        h->addWidget(tags256_);
        h->addStretch();
        v->addLayout(h);
    }
    finishLayout(content);

    const auto onClick = [this](QAbstractButton* button, auto handler) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            handler();
            changed();
            refreshLabels();
        });
    };
    onClick(oneFile_, [this] { setBit(MAP_ONE_FILE, true); updateEnabling(); });
    onClick(splitInto_, [this] { setBit(MAP_ONE_FILE, false); updateEnabling(); });
    onClick(bits8_, [this] { setBit(MAP_8BIT, true); });
    onClick(bits4_, [this] { setBit(MAP_8BIT, false); });
    onClick(signed_, [this] { setBit(MAP_SIGNED, true); });
    onClick(unsigned_, [this] { setBit(MAP_SIGNED, false); });
    onClick(bgData_, [this] { flags() ^= MAP_EXPORT_BG; });
    onClick(bgAttr_, [this] {
        flags() ^= MAP_EXPORT_BG_ATTR;
        if (!(flags() & MAP_EXPORT_BG_ATTR) && (flags() & MAP_SPLIT_BG_ATTR)) {
            flags() &= static_cast<std::uint16_t>(~MAP_SPLIT_BG_ATTR);
            bgSplit_->setChecked(false);
        }
    });
    onClick(bgSplit_, [this] { flags() ^= MAP_SPLIT_BG_ATTR; });
    onClick(objData_, [this] { flags() ^= MAP_EXPORT_OBJ; });
    onClick(objAttr_, [this] {
        flags() ^= MAP_EXPORT_OBJ_ATTR;
        if (!(flags() & MAP_EXPORT_OBJ_ATTR) && (flags() & MAP_SPLIT_OBJ_ATTR)) {
            flags() &= static_cast<std::uint16_t>(~MAP_SPLIT_OBJ_ATTR);
            objSplit_->setChecked(false);
        }
    });
    onClick(objSplit_, [this] { flags() ^= MAP_SPLIT_OBJ_ATTR; });
    onClick(tag_, [this] { flags() ^= MAP_EXPORT_TAG; updateEnabling(); });
    onClick(rle_, [this] { flags() ^= MAP_RLE_TAG; });
    onClick(removeLeading_, [this] { flags() ^= MAP_REMOVE_LEADING; });
    onClick(rotate_, [this] { flags() ^= MAP_ROTATE_90; });
    onClick(tags16_, [this] { sheet_->working().tagCountMode = TAGS_16; });
    onClick(tags256_, [this] { sheet_->working().tagCountMode = TAGS_256; });
    connect(splitCount_, &QLineEdit::textChanged, this, [this] { fieldEdited(); });
}

std::uint16_t& CExpMapPage::flags()
{
    return sheet_->working().mapFlags;
}

void CExpMapPage::setBit(std::uint16_t bit, bool on)
{
    if (on)
        flags() |= bit;
    else
        flags() &= static_cast<std::uint16_t>(~bit);
}

std::string& CExpMapPage::prefix()
{
    return sheet_->working().mapPrefix;
}
std::string& CExpMapPage::suffix()
{
    return sheet_->working().mapSuffix;
}
std::string& CExpMapPage::location()
{
    return sheet_->working().mapLocation;
}

void CExpMapPage::updateEnabling()
{
    splitCount_->setEnabled(!(flags() & MAP_ONE_FILE));
    rle_->setEnabled((flags() & MAP_EXPORT_TAG) != 0);
}

void CExpMapPage::fillControls()
{
    const std::uint16_t f = flags();
    (f & MAP_ONE_FILE ? oneFile_ : splitInto_)->setChecked(true);
    splitCount_->setText(QString::number(sheet_->working().mapSplitCount));
    (f & MAP_8BIT ? bits8_ : bits4_)->setChecked(true);
    (f & MAP_SIGNED ? signed_ : unsigned_)->setChecked(true);
    bgData_->setChecked(f & MAP_EXPORT_BG);
    bgAttr_->setChecked(f & MAP_EXPORT_BG_ATTR);
    bgSplit_->setChecked(f & MAP_SPLIT_BG_ATTR);
    objData_->setChecked(f & MAP_EXPORT_OBJ);
    objAttr_->setChecked(f & MAP_EXPORT_OBJ_ATTR);
    objSplit_->setChecked(f & MAP_SPLIT_OBJ_ATTR);
    tag_->setChecked(f & MAP_EXPORT_TAG);
    rle_->setChecked(f & MAP_RLE_TAG);
    removeLeading_->setChecked(f & MAP_REMOVE_LEADING);
    rotate_->setChecked(f & MAP_ROTATE_90);
    (sheet_->working().tagCountMode == TAGS_256 ? tags256_ : tags16_)->setChecked(true);
    updateEnabling();
}

void CExpMapPage::readControls(bool messages)
{
    long long count = 0;
    if (!readNumber(splitCount_, INT32_MIN, INT32_MAX, messages, count)) {
        if (messages)
            return;
    } else {
        sheet_->working().mapSplitCount = static_cast<std::int32_t>(count);
    }
    readPrefix();
    readSuffix();
    readLocation();
}

void CExpMapPage::refreshLabels()
{
    const ExportSettings& s = sheet_->settings();
    const std::uint16_t f = s.mapFlags;
    const bool one = f & MAP_ONE_FILE;
    const auto name = [&](int code, bool oneFile = true) {
        return QString::fromStdString(exportFileName(code, s.mapPrefix, s.mapSuffix, oneFile));
    };
    const auto show = [&](LabelId id, bool on, const QString& text) { showName(labels_[id], on, text); };
    const auto splitNames = [&](const char* const* stems, int first, int last) {
        QStringList names;
        for (int i = first; i <= last; ++i)
            names << QString::fromStdString(s.mapPrefix + stems[i] + s.mapSuffix);
        return names.join(QLatin1Char(','));
    };

    // The room of the other form of a name is kept too: one file or split,
    // one attribute file or its five bit planes on two lines.
    reserveName(labels_[BG_DATA], name(EXPORT_MAP_BG, !one));
    reserveName(labels_[OBJ_DATA], name(EXPORT_MAP_OBJ, !one));
    show(BG_DATA, f & MAP_EXPORT_BG, name(EXPORT_MAP_BG, one));
    const auto attributes = [&](LabelId first, LabelId second, bool on, bool split, const char* const* stems,
                                int code) {
        const QString joined = splitNames(stems, 0, 2) + QLatin1Char(',');
        reserveName(labels_[first], split ? name(code) : joined);
        show(first, on, split ? joined : name(code));
        show(second, on && split, splitNames(stems, 3, 4));
    };
    attributes(BG_ATTR, BG_ATTR2, f & MAP_EXPORT_BG_ATTR, f & MAP_SPLIT_BG_ATTR, BG_SPLIT_STEMS, EXPORT_MAP_ATTR_BG);
    show(OBJ_DATA, f & MAP_EXPORT_OBJ, name(EXPORT_MAP_OBJ, one));
    attributes(OBJ_ATTR, OBJ_ATTR2, f & MAP_EXPORT_OBJ_ATTR, f & MAP_SPLIT_OBJ_ATTR, OBJ_SPLIT_STEMS,
               EXPORT_MAP_ATTR_OBJ);
    const bool tag = f & MAP_EXPORT_TAG;
    const bool rle = tag && (f & MAP_RLE_TAG);
    show(TAG, tag, name(EXPORT_TAG));
    show(RLE_DATA, rle, name(EXPORT_TAG_RLE));
    show(RLE_HEADER, rle, name(EXPORT_TAG_RLE_HEADER));
}

void CExpMapPage::runExport()
{
    sheet_->setLastReport(
        exportMapPage(sheet_->workspace().project.map, sheet_->settings(), sheet_->prompter(), sheet_->progress(),
                      sheet_->format()));
}

} // namespace qm::ui
