#pragma once
// The "Map Data" page: which map files "Export Map" writes and how.

#include "ui/export/CExpPage.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qm::ui {

class CExpMapPage : public CExpPage {
    Q_OBJECT
public:
    explicit CExpMapPage(CExpPropertySheet* sheet);

    void readControls(bool messages) override;
    void refreshLabels() override;

    QRadioButton* oneFile() const { return oneFile_; }
    QRadioButton* splitInto() const { return splitInto_; }
    QLineEdit* splitCount() const { return splitCount_; }
    QRadioButton* bits8() const { return bits8_; }
    QRadioButton* bits4() const { return bits4_; }
    QRadioButton* signedOrder() const { return signed_; }
    QRadioButton* unsignedOrder() const { return unsigned_; }
    QCheckBox* bgData() const { return bgData_; }
    QCheckBox* bgAttr() const { return bgAttr_; }
    QCheckBox* bgSplit() const { return bgSplit_; }
    QCheckBox* objData() const { return objData_; }
    QCheckBox* objAttr() const { return objAttr_; }
    QCheckBox* objSplit() const { return objSplit_; }
    QCheckBox* tag() const { return tag_; }
    QCheckBox* rle() const { return rle_; }
    QCheckBox* removeLeading() const { return removeLeading_; }
    QCheckBox* rotate() const { return rotate_; }
    QRadioButton* tags16() const { return tags16_; }
    QRadioButton* tags256() const { return tags256_; }

    // The file-name labels: BG data, BG attribute (two), OBJ data, OBJ
    // attribute (two), tag, RLE data, RLE header.
    enum LabelId { BG_DATA, BG_ATTR, BG_ATTR2, OBJ_DATA, OBJ_ATTR, OBJ_ATTR2, TAG, RLE_DATA, RLE_HEADER, LABELS };
    QLabel* label(LabelId id) const { return labels_[id]; }

protected:
    void fillControls() override;
    void runExport() override;
    std::string& prefix() override;
    std::string& suffix() override;
    std::string& location() override;

private:
    std::uint16_t& flags();
    void setBit(std::uint16_t bit, bool on);
    void updateEnabling();

    QRadioButton* oneFile_;
    QRadioButton* splitInto_;
    QLineEdit* splitCount_;
    QRadioButton* bits8_;
    QRadioButton* bits4_;
    QRadioButton* signed_;
    QRadioButton* unsigned_;
    QCheckBox* bgData_;
    QCheckBox* bgAttr_;
    QCheckBox* bgSplit_;
    QCheckBox* objData_;
    QCheckBox* objAttr_;
    QCheckBox* objSplit_;
    QCheckBox* tag_;
    QCheckBox* rle_;
    QCheckBox* removeLeading_;
    QCheckBox* rotate_;
    QRadioButton* tags16_;
    QRadioButton* tags256_;
    std::array<QLabel*, LABELS> labels_{};
};

} // namespace qm::ui
