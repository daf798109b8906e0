#include "ui/export/FolderPicker.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm::ui {

FolderPicker::FolderPicker(const QString& title, const QString& current, QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(QString::fromLatin1(FOLDER_PICKER_PROMPT))),
      model_(new QFileSystemModel(this)), tree_(new QTreeView)
{
    setWindowTitle(title);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->setMinimumSize(320, 320);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tree_, &QTreeView::doubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    if (!current.isEmpty() && QDir(current).exists()) {
        const QModelIndex at = model_->index(QDir(current).absolutePath());
        tree_->setCurrentIndex(at);
        tree_->scrollTo(at);
        // The folders above it fill in later: keep it in sight as they do.
        connect(model_, &QFileSystemModel::directoryLoaded, tree_,
                [this] { tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter); });
    }
}

QString FolderPicker::folder() const
{
    const QModelIndex at = tree_->currentIndex();
    return at.isValid() ? model_->filePath(at) : QString();
}

QString FolderPicker::pick(QWidget* parent, const QString& title, const QString& current)
{
    FolderPicker picker(title, current, parent);
    return picker.exec() == QDialog::Accepted ? picker.folder() : QString();
}

} // namespace qm::ui
