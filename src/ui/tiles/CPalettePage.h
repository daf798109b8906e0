#pragma once
// The palette page "CPD" of the tile set manager: 16 rows of 4 swatches (the
// 8 BG and the 8 OBJ colour palettes), the "R", "G", "B" boxes with their
// spin arrows for the current swatch, and the "DMG" group with the
// monochrome shades. Colours go through the undo store (except the spin
// arrows, which record nothing) and every change is announced through the
// manager.

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qm::ui {

class CTilesetMgr;

class CPalettePage : public QWidget {
    Q_OBJECT
public:
    static constexpr int ROWS = 16;
    static constexpr int MONO_ROWS = 3;

    explicit CPalettePage(CTilesetMgr& manager, QWidget* parent = nullptr);

    // Geometry of swatch 0..63 (row * 4 + colour) and of the monochrome
    // swatches 0..11 (row * 4 + colour: "BGP", "OBP1", "OBP2").
    QRect swatchRect(int swatch) const;
    QRect monoRect(int swatch) const;

    int currentSwatch() const { return current_; }
    std::uint64_t selection() const { return selection_; }
    int selectedCount() const;
    std::uint16_t changedRows() const { return changedRows_; }
    std::uint16_t monoSelection() const { return monoSelection_; }
    int shade() const { return shade_; }

    // The user's actions, also callable directly.
    void clickSwatch(int swatch, bool ctrl);
    void doubleClickSwatch(int swatch);
    // Text typed into box "R" (0), "G" (1) or "B" (2).
    void typeComponent(int component, const QString& text);
    void spinComponent(int component, int step);
    void clickMono(int swatch, bool ctrl);
    void spinShade(int step);
    void copy();
    void cut();
    void paste();
    // The page is left: pending colour changes go to the sheet.
    void leave();
    // Boxes and swatches show the stored colours again.
    void refresh();

    QLineEdit* componentBox(int component) const { return boxes_[static_cast<size_t>(component % 3)]; }
    QSpinBox* componentSpin(int component) const { return spins_[static_cast<size_t>(component % 3)]; }
    QSpinBox* shadeSpin() const { return shadeSpin_; }
    QLabel* shadeLabel() const { return shadeLabel_; }
    QGroupBox* dmgGroup() const { return dmgGroup_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSpinBox* makeArrows(QWidget* parent, std::function<void(int)> onStep);
    void fillBoxes();
    void coloursEdited(std::uint16_t rows, bool toSheet);
    int swatchAt(QPoint p) const;
    int monoAt(QPoint p) const;

    CTilesetMgr& mgr_;
    int current_ = 0;
    std::uint64_t selection_ = 1;
    std::uint16_t changedRows_ = 0;
    std::uint16_t monoSelection_ = 1;
    int shade_ = 0;
    std::array<QLineEdit*, 3> boxes_{};
    std::array<QSpinBox*, 3> spins_{};
    QSpinBox* shadeSpin_ = nullptr;
    QLabel* shadeLabel_ = nullptr;
    QGroupBox* dmgGroup_ = nullptr;
    bool filling_ = false;
};

} // namespace qm::ui
