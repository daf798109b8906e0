#pragma once
// The main window's flat toolbar: buttons drawn flat until the mouse is over
// one (Qt raises that button by itself, and lowers it again once the mouse
// has left), and the zoom box and the three check boxes of the main window.

#include <QToolBar>

class QCheckBox;
class QComboBox;
class QToolButton;

namespace qm::ui {

class CToolBarEx : public QToolBar {
    Q_OBJECT
public:
    explicit CToolBarEx(QWidget* parent = nullptr);

    // A button for the action, flat until the mouse is over it.
    QToolButton* addButton(QAction* action);
    void addGap();
    // The drop-down list of the 11 zoom levels, 80 pixels wide, entry 2 selected.
    QComboBox* addZoomBox();
    // A check box on a 100-pixel separator.
    QCheckBox* addCheckBox(const QString& text);

    QComboBox* zoomBox() const { return zoomBox_; }

private:
    QComboBox* zoomBox_ = nullptr;
};

} // namespace qm::ui
