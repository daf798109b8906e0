#pragma once
// The main window's settings between runs: the place, size and show state
// of the window, the place of the tile editor, the last working directory
// and the recent files (AppSettings reads and writes the values).

#include <QObject>
#include <QRect>
#include <QStringList>

class QDockWidget;
class QMainWindow;

namespace qm::ui {

class WindowSettings : public QObject {
    Q_OBJECT
public:
    explicit WindowSettings(QMainWindow& window);

    // Puts the window where the settings say and takes the other values.
    void restore();
    // Writes every value. The tile editor's dock counts once it was shown:
    // floating, its place is stored; docked, none (it opens docked again).
    void store(const QWidget* tileEditorDock, int zoomIndex = -1);
    // Shows the window in the state the settings saved.
    void showAsSaved();

    QRect tileEditorRect() const { return tileEditorRect_; }
    // The zoom box's entry at the last close; -1 before the first.
    int zoomIndex() const { return zoomIndex_; }
    // The first time the editor's dock opens it floats at the saved place.
    void placeTileEditor(QDockWidget& dock);

    QStringList recentFiles() const { return recentFiles_; }
    // The path moves to the front of the list, which is written at once.
    void addRecentFile(const QString& path);

signals:
    void recentFilesChanged(const QStringList& files);

private:
    QMainWindow& window_;
    int savedShowState_;
    QRect tileEditorRect_;
    int zoomIndex_ = -1;
    bool tileEditorPlaced_ = false;
    QStringList recentFiles_;
};

} // namespace qm::ui
