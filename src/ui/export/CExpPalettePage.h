#pragma once
// The "Palette Data" page: whether "Export Palette" writes the BG and the OBJ
// colour palettes.

#include "ui/export/CExpPage.h"

class QCheckBox;
class QLabel;

namespace qm::ui {

class CExpPalettePage : public CExpPage {
    Q_OBJECT
public:
    explicit CExpPalettePage(CExpPropertySheet* sheet);

    void readControls(bool messages) override;
    void refreshLabels() override;

    QCheckBox* bgPalette() const { return bg_; }
    QCheckBox* objPalette() const { return obj_; }
    QLabel* bgLabel() const { return bgLabel_; }
    QLabel* objLabel() const { return objLabel_; }

protected:
    void fillControls() override;
    void runExport() override;
    std::string& prefix() override;
    std::string& suffix() override;
    std::string& location() override;

private:
    QCheckBox* bg_;
    QCheckBox* obj_;
    QLabel* bgLabel_;
    QLabel* objLabel_;
};

} // namespace qm::ui
