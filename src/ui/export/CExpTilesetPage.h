#pragma once
// The "Tile Data" page: which banks of the BG and OBJ tile sets "Export Tile
// Set" writes, their tile ranges and attribute tables.

#include "ui/export/CExpPage.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qm::ui {

class CExpTilesetPage : public CExpPage {
    Q_OBJECT
public:
    explicit CExpTilesetPage(CExpPropertySheet* sheet);

    void readControls(bool messages) override;
    void refreshLabels() override;

    // The eight option rows by bit 0..7 of tilesetFlags.
    QCheckBox* option(int bit) const { return options_[static_cast<size_t>(bit)]; }
    QLabel* label(int bit) const { return labels_[static_cast<size_t>(bit)]; }
    // The range fields of the four tile rows: bgMain, bgAlt, objMain, objAlt.
    enum Range { BG_MAIN, BG_ALT, OBJ_MAIN, OBJ_ALT };
    QLineEdit* fromField(Range r) const { return from_[r]; }
    QLineEdit* toField(Range r) const { return to_[r]; }
    QRadioButton* signedOrder() const { return signed_; }
    QRadioButton* unsignedOrder() const { return unsigned_; }
    QCheckBox* compress() const { return compress_; }

protected:
    void fillControls() override;
    void runExport() override;
    std::string& prefix() override;
    std::string& suffix() override;
    std::string& location() override;

private:
    std::uint8_t& fromValue(Range r);
    std::uint8_t& toValue(Range r);
    bool readByte(QLineEdit* field, std::uint8_t& value, bool messages);

    std::array<QCheckBox*, 8> options_{};
    std::array<QLabel*, 8> labels_{};
    std::array<QLineEdit*, 4> from_{};
    std::array<QLineEdit*, 4> to_{};
    QRadioButton* signed_;
    QRadioButton* unsigned_;
    QCheckBox* compress_;
};

} // namespace qm::ui
