#pragma once
// The open-file dialog of Import > Bitmap with a "Preview" panel: the picture
// scaled to fit, its width, height, colours and size, and the "Show Preview"
// switch, whose state lasts while the program runs.

#include <QFileDialog>

#include <array>

class QCheckBox;
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

    // Shows the preview of a file (or clears it while "Show Preview" is off).
    void updatePreview(const QString& path);
    void clearPreview();

    // The kept state of "Show Preview" (checked at the start of the program).
    static bool previewShown();
    static void setPreviewShown(bool on);

    // The size of the picture box.
    static constexpr int PICTURE_SIZE = 160;

private:
    QGroupBox* box_;
    QLabel* picture_;
    std::array<QLabel*, 4> lines_{};
    QCheckBox* show_;
    QString current_;
};

} // namespace qm::ui
