#pragma once
// The open-file dialog of Import > Bitmap with a "Preview" panel: the picture
// scaled to fit, its width, height, colours and size, the "Show Preview"
// switch, whose state lasts while the program runs, and the import's
// choices (mode, reuse of flipped tiles) with the tiles and palettes they
// would make.

#include "core/import/BitmapImport.h"

#include <QFileDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace qm::ui {

class CBmpDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CBmpDialog(QWidget* parent = nullptr);
    ~CBmpDialog() override;

    QGroupBox* previewBox() const { return box_; }
    QLabel* picture() const { return picture_; }
    QLabel* line(int i) const { return lines_[static_cast<size_t>(i)]; }
    QCheckBox* showPreview() const { return show_; }
    // "Automatic" (DMG up to 4 colours, GBC beyond), "DMG", "GBC".
    QComboBox* mode() const { return mode_; }
    QCheckBox* reuseFlipped() const { return flips_; }
    // What the import would make, or why it would be refused.
    QLabel* result() const { return result_; }

    // Shows the preview of a file (or clears it while "Show Preview" is off).
    void updatePreview(const QString& path);
    void clearPreview();

    // The choices, with the mode decided for the picture when automatic.
    PictureImportOptions options(const BitmapImage& image) const;

    // The kept state of "Show Preview" (checked at the start of the program).
    static bool previewShown();
    static void setPreviewShown(bool on);

    // The size of the picture box.
    static constexpr int PICTURE_SIZE = 160;

private:
    void showResult();

    QGroupBox* box_;
    QLabel* picture_;
    std::array<QLabel*, 4> lines_{};
    QCheckBox* show_;
    QComboBox* mode_;
    QCheckBox* flips_;
    QLabel* result_;
    QString current_;
    std::optional<BitmapImage> image_; // the picture previewed
};

} // namespace qm::ui
