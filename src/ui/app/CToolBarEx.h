#pragma once
// The main window's flat toolbar: buttons drawn flat until the mouse is over
// one (the hot button, drawn raised), a 250 ms timer restarted on every mouse
// move over the bar that returns the hot button to flat once the mouse has
// left, and the zoom box and the three check boxes of the main window.

#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

class QCheckBox;
class QComboBox;


namespace qm::ui {

class CToolBarEx : public QToolBar {
    Q_OBJECT
public:
    static constexpr int HOT_TIMER_MS = 250;

    explicit CToolBarEx(QWidget* parent = nullptr);

    // A button for the action, flat until hot.
    QToolButton* addButton(QAction* action);
    void addGap();
    // The drop-down list of the 11 zoom levels, 80 pixels wide, entry 2 selected.
    QComboBox* addZoomBox();
    // A check box on a 100-pixel separator.
    QCheckBox* addCheckBox(const QString& text);

    QComboBox* zoomBox() const { return zoomBox_; }
    QToolButton* hotButton() const { return hot_; }
    const QTimer& hotTimer() const { return hotTimer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void setHot(QToolButton* button);
    void hotTimerExpired();

    QComboBox* zoomBox_ = nullptr;
    QPointer<QToolButton> hot_;
    QTimer hotTimer_;
};

} // namespace qm::ui
