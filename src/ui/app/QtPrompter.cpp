#include "ui/app/QtPrompter.h"

#include "core/tiles/TileKind.h"
#include "ui/app/ProjectDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace qm::ui {

QString applicationTitle()
{
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Quiltmark") : name;
}

Answer QtPrompter::ask(const std::string& text, Buttons buttons)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), QString::fromStdString(text), QMessageBox::NoButton,
                    parent_);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Escape or the close button: Cancel where there is one, otherwise No.
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

void QtPrompter::inform(const std::string& text)
{
    QMessageBox box(QMessageBox::Information, applicationTitle(), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

std::optional<std::string> QtPrompter::locateTileSet(std::uint8_t kind, const std::string& oldPath)
{
    LocateTileSetDialog dialog(kind == TILE_OBJ ? TILE_OBJ : TILE_BG, QString::fromStdString(oldPath), parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.path().toStdString();
}

} // namespace qm::ui
