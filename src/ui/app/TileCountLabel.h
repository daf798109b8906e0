#pragma once
// The status bar's count of the distinct BG tiles the map uses against the
// bank limits. Counting waits for a quiet moment, so a stroke of many edits
// counts once.

#include <QLabel>

class QTimer;

namespace qm {
struct Workspace;
}

namespace qm::ui {

class TileCountLabel : public QLabel {
    Q_OBJECT
public:
    TileCountLabel(const Workspace& workspace, QWidget* parent = nullptr);

    // The map may have changed: count again soon.
    void schedule();
    // Counts now.
    void refresh();

private:
    const Workspace& workspace_;
    QTimer* timer_;
};

} // namespace qm::ui
