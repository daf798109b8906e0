#pragma once
// The progress window of every long operation: a modeless "Processing"
// window with one bar that paints "Process completed %d%%" over itself, the
// letters inverted where they cross the filled part.

#include "core/base/Progress.h"

#include <QDialog>
#include <QString>

namespace qm::ui {

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setValue(int value);
    int value() const { return value_; }
    int maximum() const { return maximum_; }
    int percent() const;
    QString text() const;

    QSize sizeHint() const override { return {320, 24}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
};

class ProgressDialog : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    void start(const std::string& caption, int totalSteps) override;
    void step() override;
    void end() override;

    ProgressBar* bar() const { return bar_; }

private:
    ProgressBar* bar_;
    int lastPercent_ = -1;
};

} // namespace qm::ui
