#pragma once
// The "Remap Palette Colors" dialog: a palette of the page, a range of tiles
// within a bank ("From tile", "to") and, for each old colour index 0..3, the
// colour of that palette it becomes.

#include "core/tiles/GbcColor.h"
#include "core/edit/RemapColours.h"

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QSpinBox;

namespace qm::ui {

class RemapPaletteDialog : public QDialog {
    Q_OBJECT
public:
    RemapPaletteDialog(const RemapRequest& preset, const DisplayTable& colours, QWidget* parent = nullptr);

    // The choices as they stand, with the preset's bank.
    RemapRequest request() const;

    QComboBox* paletteList() const { return paletteList_; }
    QSpinBox* fromBox() const { return from_; }
    QSpinBox* toBox() const { return to_; }
    QComboBox* colourList(int index) const { return colourLists_[static_cast<size_t>(index & 3)]; }
    QLabel* sample(int index) const { return samples_[static_cast<size_t>(index & 3)]; }

    // Message boxes, replaceable by tests.
    std::function<void(const QString& text)> showMessage;

public slots:
    void accept() override;

private:
    void paletteChosen(int palette);

    DisplayTable colours_;
    int bankBase_ = 0;
    QComboBox* paletteList_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    std::array<QComboBox*, 4> colourLists_{};
    std::array<QLabel*, 4> samples_{};
};

} // namespace qm::ui
