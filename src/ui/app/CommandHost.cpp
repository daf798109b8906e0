#include "ui/app/CommandHost.h"

#include "core/project/MapCell.h"
#include "core/tiles/TileKind.h"
#include "ui/app/DialogFolder.h"

#include <QDialog>
#include <QFileDialog>

namespace qm::ui {

TileKind CommandHost::page() const
{
    return shownPage ? shownPage() : TILE_BG;
}

int CommandHost::tileSetShown() const
{
    const int p = page();
    if (p == TILE_BG || p == TILE_OBJ || p == TILE_TAG)
        return p;
    return lastTileSet ? lastTileSet() : TILE_BG;
}

QString CommandHost::chooseFile(const QString& title, const QString& filters, const QString& suffix) const
{
    if (openFile)
        return openFile(parent, title, filters, suffix);
    QFileDialog dialog(parent, title, dialogFolder(), filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(suffix);
    if (!suffix.isEmpty())
        dialog.selectFile(QStringLiteral("*.") + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return rememberDialogFile(dialog.selectedFiles().constFirst());
}

bool CommandHost::run(QDialog& dialog) const
{
    if (exec)
        return exec(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void CommandHost::send(AppMessage msg, qint64 wParam, qint64 lParam) const
{
    if (notify)
        notify(msg, wParam, lParam);
}

void CommandHost::changed(ChangeFlags bits) const
{
    if (setChanged)
        setChanged(bits);
    else if (workspace)
        workspace->project.setChanged(bits);
}

} // namespace qm::ui
