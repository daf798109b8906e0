#include "ui/app/AppSettings.h"

#include <algorithm>

namespace qm::ui {

namespace {

const QString FRAME = QStringLiteral("Frame");
const QString TILE_DESIGNER = QStringLiteral("TileDesigner");
const QString RECENT = QStringLiteral("Recent File List");

int readInt(QSettings& s, const QString& key)
{
    bool ok = false;
    const int v = s.value(key, -1).toInt(&ok);
    return ok ? v : -1;
}

} // namespace

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brightloom."),
                                       QStringLiteral("Quiltmark"));
}

FrameSettings readFrameSettings(QSettings& s)
{
    FrameSettings v;
    s.beginGroup(FRAME);
    v.lastPath = s.value(QStringLiteral("LastPath")).toString();
    v.status = readInt(s, QStringLiteral("Status"));
    v.top = readInt(s, QStringLiteral("Top"));
    v.left = readInt(s, QStringLiteral("Left"));
    v.bottom = readInt(s, QStringLiteral("Bottom"));
    v.right = readInt(s, QStringLiteral("Right"));
    v.zoom = readInt(s, QStringLiteral("Zoom"));
    s.endGroup();
    s.beginGroup(TILE_DESIGNER);
    v.tileEditorTop = readInt(s, QStringLiteral("Top"));
    v.tileEditorLeft = readInt(s, QStringLiteral("Left"));
    s.endGroup();
    return v;
}

void writeFrameSettings(QSettings& s, const FrameSettings& v)
{
    s.beginGroup(FRAME);
    s.setValue(QStringLiteral("LastPath"), v.lastPath);
    s.setValue(QStringLiteral("Status"), v.status);
    s.setValue(QStringLiteral("Top"), v.top);
    s.setValue(QStringLiteral("Left"), v.left);
    s.setValue(QStringLiteral("Bottom"), v.bottom);
    s.setValue(QStringLiteral("Right"), v.right);
    s.setValue(QStringLiteral("Zoom"), v.zoom);
    s.endGroup();
    s.beginGroup(TILE_DESIGNER);
    s.setValue(QStringLiteral("Top"), v.tileEditorTop);
    s.setValue(QStringLiteral("Left"), v.tileEditorLeft);
    s.endGroup();
    s.sync();
}

HistorySettings readHistorySettings(QSettings& s)
{
    HistorySettings v;
    s.beginGroup(FRAME);
    bool ok = false;
    const int mb = s.value(QStringLiteral("UndoMemoryMB")).toInt(&ok);
    if (ok && mb >= 1)
        v.undoMemoryMB = mb;
    const int seconds = s.value(QStringLiteral("AutosaveSeconds")).toInt(&ok);
    if (ok)
        v.autosaveSeconds = std::max(seconds, 0);
    s.endGroup();
    return v;
}

QStringList readRecentFiles(QSettings& s)
{
    QStringList files;
    s.beginGroup(RECENT);
    for (int i = 1; i <= MAX_RECENT_FILES; ++i) {
        const QString f = s.value(QStringLiteral("File%1").arg(i)).toString();
        if (!f.isEmpty())
            files << f;
    }
    s.endGroup();
    return files;
}

void writeRecentFiles(QSettings& s, const QStringList& files)
{
    s.beginGroup(RECENT);
    for (int i = 1; i <= MAX_RECENT_FILES; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size())
            s.setValue(key, files.at(i - 1));
        else
            s.remove(key);
    }
    s.endGroup();
    s.sync();
}

QStringList withRecentFile(QStringList files, const QString& path)
{
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MAX_RECENT_FILES)
        files.removeLast();
    return files;
}

std::optional<FramePlacement> framePlacement(const FrameSettings& v, const QRect& workArea, const QSize& screenSize,
                                             const QSize& iconSize)
{
    if (v.status == -1 || v.top == -1 || v.left == -1 || v.bottom == -1 || v.right == -1)
        return std::nullopt;
    const int width = v.right - v.left;
    const int height = v.bottom - v.top;
    if (width <= 0 || height <= 0)
        return std::nullopt;
    int left = v.left + workArea.left();
    int top = v.top + workArea.top();
    left = std::min(left, screenSize.width() - iconSize.width());
    top = std::min(top, screenSize.height() - iconSize.height());
    FramePlacement p;
    p.rect = QRect(left, top, width, height);
    p.status = v.status;
    return p;
}

QRect tileEditorRect(const FrameSettings& v)
{
    if (v.tileEditorLeft == -1 || v.tileEditorTop == -1)
        return {};
    return QRect(v.tileEditorLeft, v.tileEditorTop, TILE_EDITOR_WIDTH, TILE_EDITOR_HEIGHT);
}

} // namespace qm::ui
