#include "ui/app/HistoryDock.h"

#include "core/undo/UndoStore.h"

#include <QListWidget>

namespace qm::ui {

HistoryDock::HistoryDock(const UndoStore& store, QWidget* parent)
    : QDockWidget(QStringLiteral("History"), parent), store_(store)
{
    setObjectName(QStringLiteral("historyDock"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setMinimumWidth(160);
    setWidget(list_);
    const auto choose = [this](QListWidgetItem* item) { emit positionChosen(std::size_t(list_->row(item))); };
    connect(list_, &QListWidget::itemClicked, this, choose);
    connect(list_, &QListWidget::itemActivated, this, choose);
    refresh();
}

void HistoryDock::refresh()
{
    list_->clear();
    // Row n stands for the state after n entries.
    const std::size_t entries = store_.size();
    current_ = static_cast<int>(store_.position());
    list_->addItem(QString::fromLatin1(FIRST_ROW));
    for (std::size_t i = 0; i < entries; ++i) {
        const std::string_view name = stepNameText(store_.step(i).name);
        list_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    const QColor ahead = palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (row == current_) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setText(QStringLiteral("\u25B6 ") + item->text());
        } else if (row > current_) {
            item->setForeground(ahead);
        }
    }
    list_->scrollToItem(list_->item(current_));
}

} // namespace qm::ui
