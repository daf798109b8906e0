#pragma once
// The "Map Orientation" dialog of Import > Map: the direction in which the
// imported block extends from the cursor cell, each choice with its arrow.

#include "core/import/MapImport.h"

#include <QDialog>

#include <array>

class QRadioButton;

namespace qm::ui {

class MapOrientationDialog : public QDialog {
    Q_OBJECT
public:
    explicit MapOrientationDialog(QWidget* parent = nullptr);

    QRadioButton* choice(MapOrientation o) const { return choices_[static_cast<size_t>(o)]; }
    MapOrientation orientation() const;

private:
    std::array<QRadioButton*, 4> choices_{};
};

} // namespace qm::ui
