#pragma once
// The "Priority Report" dialog: the grid of BG priority bits in a read-only
// text box, the legend and a "Done" button.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace qm::ui {

class PriorityReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit PriorityReportDialog(const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* textBox() const { return text_; }
    QPushButton* doneButton() const { return done_; }

private:
    QPlainTextEdit* text_;
    QPushButton* done_;
};

} // namespace qm::ui
