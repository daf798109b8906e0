#pragma once
// The routing table of the main window. Panes never call each other: each
// pane's message signal reaches route(), which delivers the message to the
// panes it is meant for, hands the main window its own messages through the
// RouteTarget interface, and sets the change flags of what the message says
// changed. A pane that is not attached is skipped.
//
// notify() delivers by the same table without setting flags; the import
// commands use it, as each sets its own flags in one place.

#include "core/project/ProjectState.h"
#include "ui/app/AppMessage.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

namespace qm::ui {

enum class Pane { MapView, TileSetManager, TileEditor };

// What the main window itself does with the messages addressed to it.
class RouteTarget {
public:
    virtual void initMap() = 0;
    // The view changed its zoom: the zoom box shows entry index.
    virtual void zoomChanged(int index) = 0;
    virtual void selectTool(int tool) = 0;
    virtual void showTileEditor() = 0;
    virtual void setChanged(ChangeFlags bits) = 0;

protected:
    ~RouteTarget() = default;
};

class PaneRouter : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(AppMessage, qint64, qint64)>;

    explicit PaneRouter(RouteTarget& target, QObject* parent = nullptr);

    void attach(Pane role, QWidget* widget, Deliver deliver);
    QWidget* pane(Pane role) const;
    // One pane gets the message (when attached).
    void deliver(Pane role, AppMessage msg, qint64 wParam, qint64 lParam);
    // The tile editor gets the message when it is open.
    void deliverToOpenEditor(AppMessage msg, qint64 wParam, qint64 lParam);

public slots:
    void route(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    void notify(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);

private:
    struct Slot {
        QPointer<QWidget> widget;
        Deliver deliver;
    };

    void dispatch(AppMessage msg, qint64 wParam, qint64 lParam, bool setFlags);

    RouteTarget& target_;
    std::array<Slot, 3> panes_;
};

} // namespace qm::ui
