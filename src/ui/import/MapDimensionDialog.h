#pragma once
// The "Map Dimemsion" dialog of Import > Map: the size of the map in the
// file, typed by the user, each side following the other through the file
// size, and the byte conversion option.

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QRadioButton;

namespace qm {
class Prompter;
}

namespace qm::ui {

class MapDimensionDialog : public QDialog {
    Q_OBJECT
public:
    MapDimensionDialog(std::uint64_t fileSize, Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* widthField() const { return width_; }
    QLineEdit* heightField() const { return height_; }
    QRadioButton* noConversion() const { return none_; }
    QRadioButton* swapBytes() const { return swap_; }

    int mapWidth() const;
    int mapHeight() const;
    bool swap() const;

    // Refuses a zero height, then a zero width; the dialog stays open.
    void accept() override;

private:
    void follow(QLineEdit* typed, QLineEdit* other);

    std::uint64_t fileSize_;
    Prompter& prompter_;
    QLineEdit* width_;
    QLineEdit* height_;
    QRadioButton* none_;
    QRadioButton* swap_;
    bool following_ = false;
};

} // namespace qm::ui
