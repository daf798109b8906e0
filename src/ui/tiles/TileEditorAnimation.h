#pragma once
// The tile editor's animation: Play shows the frames of the set one after
// another at the speed of the "S:" field, for the number of frames of the
// "Play" field; Stop ends it; Back Up Frame and Forward Frame step the
// manager's current tile by a frame.

#include "core/tiles/TileAnimation.h"

#include <QObject>

class QTimer;

namespace qm::ui {

class CTileEditor;

class TileEditorAnimation : public QObject {
    Q_OBJECT
public:
    explicit TileEditorAnimation(CTileEditor& editor);

    // The tile the animation starts from (the editor's current tile). A
    // running cycle starts afresh from it.
    int start() const { return start_; }
    void setStart(int tile);
    // The frame size changed: a running cycle starts afresh.
    void restart();
    bool running() const;
    int speed() const { return speed_; }
    int frameCount() const { return frameCount_; }
    QTimer* timer() const { return timer_; }

public slots:
    void play();
    // Ends a running cycle with the editor back at the tile it started from.
    void stop();
    void tick();
    void backFrame();
    void forwardFrame();

private:
    CTileEditor& editor_;
    QTimer* timer_ = nullptr;
    TileAnimation animation_;
    int start_ = 0;
    int speed_ = 100;
    int frameCount_ = 1;
};

} // namespace qm::ui
