#include "ui/app/TileCountLabel.h"

#include "core/project/TileUsage.h"
#include "core/project/Workspace.h"

#include <QTimer>

namespace qm::ui {

TileCountLabel::TileCountLabel(const Workspace& workspace, QWidget* parent)
    : QLabel(parent), workspace_(workspace), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(150);
    connect(timer_, &QTimer::timeout, this, &TileCountLabel::refresh);
    refresh();
}

void TileCountLabel::schedule()
{
    if (!timer_->isActive())
        timer_->start();
}

void TileCountLabel::refresh()
{
    setText(QString::fromStdString(tileUsageText(countUsedTiles(workspace_.project.map))));
}

} // namespace qm::ui
