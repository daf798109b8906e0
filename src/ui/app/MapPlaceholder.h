#pragma once
// Stands in the map view's place until the map view is plugged in: a plain
// preview of the map at the chosen zoom, so that an opened project can be
// seen. It is a pane like the others (message signal, handleMessage).

#include "core/project/Workspace.h"
#include "ui/app/AppMessage.h"

#include <QImage>
#include <QWidget>

namespace qm::ui {

class MapPlaceholder : public QWidget {
    Q_OBJECT
public:
    MapPlaceholder(const Workspace& workspace, QWidget* parent = nullptr);

    void handleMessage(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);
    int cellSize() const { return cellSize_; }

signals:
    void message(qm::ui::AppMessage msg, qint64 wParam, qint64 lParam);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void rebuild();

    const Workspace& workspace_;
    QImage image_;
    int cellSize_ = 8;
};

} // namespace qm::ui
