#pragma once
// The settings kept between runs: QSettings of organisation "Brightloom." and
// application "Quiltmark", groups "Frame" and "TileDesigner", and the recent
// files (six) in a group of their own.

#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace qm::ui {

inline constexpr int MAX_RECENT_FILES = 6;
inline constexpr int TILE_EDITOR_WIDTH = 225;
inline constexpr int TILE_EDITOR_HEIGHT = 228;

// Show states stored in "Status".
inline constexpr int SHOW_NORMAL = 1;
inline constexpr int SHOW_MINIMIZED = 2;
inline constexpr int SHOW_MAXIMIZED = 3;

// Every integer is -1 when absent.
struct FrameSettings {
    QString lastPath;
    int status = -1;
    int top = -1;
    int left = -1;
    int bottom = -1;
    int right = -1;
    int tileEditorTop = -1;
    int tileEditorLeft = -1;
    int zoom = -1; // "Zoom": the zoom box's entry
};

std::unique_ptr<QSettings> openSettings();

FrameSettings readFrameSettings(QSettings& settings);
void writeFrameSettings(QSettings& settings, const FrameSettings& values);

// "UndoMemoryMB" and "AutosaveSeconds" of "Frame", read at start: the memory
// budget of the undo history (256 when absent or below 1) and the seconds
// between recovery copies (120 when absent; 0 or less turns them off).
struct HistorySettings {
    int undoMemoryMB = 256;
    int autosaveSeconds = 120;
};
HistorySettings readHistorySettings(QSettings& settings);

QStringList readRecentFiles(QSettings& settings);
void writeRecentFiles(QSettings& settings, const QStringList& files);
// The path moves to the front; the list keeps at most six entries.
QStringList withRecentFile(QStringList files, const QString& path);

// Where the main window goes: size Right - Left by Bottom - Top at (Left, Top)
// moved by the work area's origin, with the left edge at most screen width -
// icon width and the top at most screen height - icon height. None when any
// of the five "Frame" integers is -1 (the default placement is kept).
struct FramePlacement {
    QRect rect;
    int status = SHOW_NORMAL;
};
std::optional<FramePlacement> framePlacement(const FrameSettings& values, const QRect& workArea,
                                             const QSize& screenSize, const QSize& iconSize = QSize(32, 32));

// (Left, Top) of "TileDesigner" with 225 x 228, or an empty rectangle when
// either value is missing.
QRect tileEditorRect(const FrameSettings& values);

} // namespace qm::ui
