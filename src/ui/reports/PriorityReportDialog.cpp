#include "ui/reports/PriorityReportDialog.h"

#include "core/reports/PriorityReport.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::ui {

PriorityReportDialog::PriorityReportDialog(const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(PRIORITY_REPORT_TITLE));
    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The text box shows the lines without their CR.
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    text_->setPlainText(shown);
    done_ = new QPushButton(QStringLiteral("Done"));
    done_->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QString::fromUtf8(PRIORITY_REPORT_LEGEND)));
    bottom->addStretch();
    bottom->addWidget(done_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(bottom);
    resize(520, 400);
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace qm::ui
