#pragma once
// The "Import palette " form of Import > Palette: the palette file and
// whether it goes to the BG or the OBJ colour palettes.

#include "core/tiles/TileKind.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace qm::ui {

struct CommandHost;

class ImportPaletteDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportPaletteDialog(const CommandHost& host, QWidget* parent = nullptr);

    QLineEdit* pathField() const { return path_; }
    QRadioButton* bgPalette() const { return bg_; }
    QRadioButton* objPalette() const { return obj_; }
    QString path() const;
    TileKind kind() const;
    // The "...." button.
    void browse();

private:
    const CommandHost& host_;
    QLineEdit* path_;
    QRadioButton* bg_;
    QRadioButton* obj_;
};

} // namespace qm::ui
