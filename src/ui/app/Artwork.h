#pragma once
// The program's own pictures: toolbar icons, tool cursors and the start-up
// picture, all drawn in code so that no binary resources are needed.

#include "ui/app/MapTool.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace qm::ui {

enum class Artwork {
    New,
    Open,
    Save,
    Reload,
    Undo,
    Redo,
    Eyedropper,
    RevEyedropper,
    Select,
    Pencil,
    Line,
    Hand,
    Bucket,
    Zoom,
    ZoomOut,
    FlipVertical,
    FlipHorizontal,
    Grid,
    // The tile editor's buttons beside those above.
    PixelSelect,
    ScrollUp,
    ScrollDown,
    ScrollLeft,
    ScrollRight,
    Rotate,
    Comment,
    BackFrame,
    ForwardFrame,
    Stop,
    Play,
};

QIcon artworkIcon(Artwork which);

// The cursor shown over the map for a tool (the arrow for select and none).
QCursor toolCursor(int tool);

// The picture shown while the editor starts.
QPixmap startupPicture();

} // namespace qm::ui
