#include "ui/app/ProgressDialog.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 22);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ProgressBar::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void ProgressBar::setValue(int value)
{
    value_ = std::clamp(value, minimum_, maximum_);
    update();
}

int ProgressBar::percent() const
{
    const int span = maximum_ - minimum_;
    if (span <= 0)
        return 0;
    return static_cast<int>((static_cast<long long>(value_ - minimum_) * 100) / span);
}

QString ProgressBar::text() const
{
    return QStringLiteral("Process completed %1%").arg(percent());
}

void ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect all = rect();
    const QPalette pal = palette();
    const int span = maximum_ - minimum_;
    const int filled = span > 0 ? static_cast<int>((static_cast<long long>(value_ - minimum_) * all.width()) / span)
                                : 0;
    const QRect done(all.left(), all.top(), filled, all.height());
    const QRect rest(all.left() + filled, all.top(), all.width() - filled, all.height());

    p.fillRect(done, pal.color(QPalette::Highlight));
    p.fillRect(rest, pal.color(QPalette::Base));

    // The text in the window text colour over the rest, in the inverse
    // colour over the filled part.
    const QString label = text();
    p.setClipRect(rest);
    p.setPen(pal.color(QPalette::Text));
    p.drawText(all, Qt::AlignCenter, label);
    p.setClipRect(done);
    p.setPen(pal.color(QPalette::HighlightedText));
    p.drawText(all, Qt::AlignCenter, label);
    p.setClipping(false);
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(all.adjusted(0, 0, -1, -1));
}

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent), bar_(new ProgressBar(this))
{
    setWindowTitle(QStringLiteral("Processing"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->addWidget(bar_);
    setFixedSize(sizeHint().expandedTo(QSize(360, 60)));
}

void ProgressDialog::start(const std::string& caption, int totalSteps)
{
    bar_->setRange(0, std::max(totalSteps, 0));
    bar_->setValue(0);
    lastPercent_ = 0;
    setWindowTitle(QString::fromStdString(caption));
    show();
    raise();
    bar_->repaint();
}

void ProgressDialog::step()
{
    bar_->setValue(bar_->value() + 1);
    // The operation runs on this thread: paint now, but only when the
    // shown percentage moves.
    if (bar_->percent() != lastPercent_) {
        lastPercent_ = bar_->percent();
        if (isVisible())
            bar_->repaint();
    }
}

void ProgressDialog::end()
{
    bar_->setRange(0, 100);
    bar_->setValue(0);
    lastPercent_ = -1;
    hide();
}

} // namespace qm::ui
