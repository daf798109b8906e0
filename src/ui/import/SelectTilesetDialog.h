#pragma once
// The "Select Tileset" dialog of Import > Map Attribute: the layer the
// attributes go to.

#include "core/tiles/TileKind.h"

#include <QDialog>

class QRadioButton;

namespace qm::ui {

class SelectTilesetDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectTilesetDialog(QWidget* parent = nullptr);

    QRadioButton* bg() const { return bg_; }
    QRadioButton* obj() const { return obj_; }
    TileKind layer() const;

private:
    QRadioButton* bg_;
    QRadioButton* obj_;
};

} // namespace qm::ui
