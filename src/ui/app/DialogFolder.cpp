#include "ui/app/DialogFolder.h"

#include <QDir>
#include <QFileInfo>

namespace qm::ui {

namespace {

QString& folder()
{
    static QString current = QDir::currentPath();
    return current;
}

} // namespace

QString dialogFolder() { return folder(); }

void setDialogFolder(const QString& path)
{
    if (!path.isEmpty() && QDir(path).exists())
        folder() = QDir(path).absolutePath();
}

QString rememberDialogFile(const QString& file)
{
    if (!file.isEmpty())
        setDialogFolder(QFileInfo(file).absolutePath());
    return file;
}

QString absoluteInDialogFolder(const QString& typed)
{
    const QString path = typed.trimmed();
    return path.isEmpty() ? path : QFileInfo(QDir(dialogFolder()), path).absoluteFilePath();
}

} // namespace qm::ui
