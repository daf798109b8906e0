#include "ui/app/WindowSettings.h"

#include "ui/app/AppSettings.h"
#include "ui/app/DialogFolder.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace qm::ui {

WindowSettings::WindowSettings(QMainWindow& window) : QObject(&window), window_(window), savedShowState_(SHOW_NORMAL)
{
}

void WindowSettings::restore()
{
    auto settings = openSettings();
    const FrameSettings values = readFrameSettings(*settings);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        if (const auto placement = framePlacement(values, screen->availableGeometry(), screen->size())) {
            window_.setGeometry(placement->rect);
            savedShowState_ = placement->status;
        }
    }
    tileEditorRect_ = qm::ui::tileEditorRect(values);
    zoomIndex_ = values.zoom;
    // The file dialogs start in the last folder; the working directory stays.
    setDialogFolder(values.lastPath);
    recentFiles_ = readRecentFiles(*settings);
    emit recentFilesChanged(recentFiles_);
}

void WindowSettings::store(const QWidget* tileEditorDock, int zoomIndex)
{
    FrameSettings values;
    values.zoom = zoomIndex;
    values.lastPath = dialogFolder();
    const bool maximized = window_.isMaximized();
    const bool minimized = window_.isMinimized();
    values.status = maximized ? SHOW_MAXIMIZED : minimized ? SHOW_MINIMIZED : SHOW_NORMAL;
    const QRect normal =
        (maximized || minimized) && window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
    QPoint origin;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        origin = screen->availableGeometry().topLeft();
    values.left = normal.left() - origin.x();
    values.top = normal.top() - origin.y();
    values.right = values.left + normal.width();
    values.bottom = values.top + normal.height();
    QRect editor = tileEditorRect_;
    if (tileEditorDock && tileEditorPlaced_)
        editor = tileEditorDock->isWindow() ? QRect(tileEditorDock->pos(), QSize(TILE_EDITOR_WIDTH, TILE_EDITOR_HEIGHT))
                                            : QRect();
    if (editor.isValid()) {
        values.tileEditorLeft = editor.left();
        values.tileEditorTop = editor.top();
    }
    auto settings = openSettings();
    writeFrameSettings(*settings, values);
    writeRecentFiles(*settings, recentFiles_);
}

void WindowSettings::showAsSaved()
{
    // A window saved minimised opens normally: starting as an icon only hides the editor.
    if (savedShowState_ == SHOW_MAXIMIZED)
        window_.showMaximized();
    else
        window_.show();
}

void WindowSettings::placeTileEditor(QDockWidget& dock)
{
    if (!tileEditorPlaced_ && tileEditorRect_.isValid()) {
        dock.setFloating(true);
        dock.move(tileEditorRect_.topLeft());
    }
    tileEditorPlaced_ = true;
}

void WindowSettings::addRecentFile(const QString& path)
{
    recentFiles_ = withRecentFile(recentFiles_, QFileInfo(path).absoluteFilePath());
    auto settings = openSettings();
    writeRecentFiles(*settings, recentFiles_);
    emit recentFilesChanged(recentFiles_);
}

} // namespace qm::ui
