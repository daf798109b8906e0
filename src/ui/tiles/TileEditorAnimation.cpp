#include "ui/tiles/TileEditorAnimation.h"

#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditorControls.h"

#include <QLineEdit>
#include <QTimer>

namespace qm::ui {

TileEditorAnimation::TileEditorAnimation(CTileEditor& editor) : QObject(&editor), editor_(editor)
{
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &TileEditorAnimation::tick);
}

bool TileEditorAnimation::running() const
{
    return timer_->isActive();
}

void TileEditorAnimation::play()
{
    bool ok = false;
    const int s = editor_.controls().speedBox()->text().toInt(&ok);
    speed_ = ok && s > 0 ? s : speed_;
    const int n = editor_.controls().framesBox()->text().toInt(&ok);
    frameCount_ = ok && n > 0 ? n : frameCount_;
    stop();
    editor_.setGridShown(false);
    editor_.setFrameStart(animation_.play(start_, editor_.frame().size(), frameCount_));
    timer_->start(speed_);
}

void TileEditorAnimation::setStart(int tile)
{
    start_ = tile;
    restart();
}

void TileEditorAnimation::restart()
{
    if (!running())
        return;
    editor_.setFrameStart(animation_.play(start_, editor_.frame().size(), frameCount_));
    timer_->start(speed_);
}

void TileEditorAnimation::stop()
{
    const bool wasRunning = running();
    timer_->stop();
    animation_.stop();
    if (wasRunning)
        editor_.setFrameStart(start_);
}

void TileEditorAnimation::tick()
{
    editor_.setFrameStart(animation_.tick());
}

void TileEditorAnimation::backFrame()
{
    if (const auto tile = previousFrameTile(start_, editor_.frame().size()))
        emit editor_.currentTileRequested(*tile);
}

void TileEditorAnimation::forwardFrame()
{
    if (const auto tile = nextFrameTile(start_, editor_.frame().size()))
        emit editor_.currentTileRequested(*tile);
}

} // namespace qm::ui
