#include "ui/tiles/TileEditorClipboard.h"

#include "core/edit/PicturePaste.h"
#include "core/edit/TileDesignerClip.h"
#include "ui/tiles/CTileEditor.h"
#include "ui/tiles/TileEditArea.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <algorithm>

namespace qm::ui {

namespace {

QByteArray toBytes(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::span<const std::uint8_t> asSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())};
}

// The picture's pixel values and their width in bits, as a bitmap of the
// clipboard would carry them. 32-bit pictures count as 24 bits: their colour
// is taken and the alpha channel left aside. Only the top lines that the
// paste at firstTile reads are taken.
PictureData pictureFrom(const QImage& image, int firstTile)
{
    PictureData pic;
    pic.width = image.width();
    pic.height = image.height();
    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        pic.bitsPerPixel = 8;
        break;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
    case QImage::Format_ARGB4444_Premultiplied:
        pic.bitsPerPixel = 16;
        break;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        pic.bitsPerPixel = 24;
        break;
    default:
        pic.bitsPerPixel = image.depth();
        return pic;
    }
    const int lines = picturePasteLines(pic.width, pic.height, firstTile);
    pic.values.resize(static_cast<size_t>(pic.width) * static_cast<size_t>(lines));
    for (int y = 0; y < lines; ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < pic.width; ++x) {
            std::uint32_t v = 0;
            if (pic.bitsPerPixel == 8)
                v = line[x];
            else if (pic.bitsPerPixel == 16)
                v = reinterpret_cast<const quint16*>(line)[x];
            else
                v = image.pixel(x, y) & 0xFFFFFF;
            pic.values[static_cast<size_t>(y) * pic.width + x] = v;
        }
    }
    return pic;
}

} // namespace

void copyTileEditorFrame(CTileEditor& editor)
{
    std::vector<std::uint8_t> bytes;
    QString format;
    const TileEditArea& area = *editor.area();
    if (editor.tool() == CTileEditor::Tool::PixelSelector) {
        if (!area.hasPixelSelection())
            return;
        const PixelRect r = PixelRect::fromCorners(area.selectionFirst().x(), area.selectionFirst().y(),
                                                   area.selectionSecond().x(), area.selectionSecond().y());
        bytes = encodeTileDesignerPixel(editor.tileSet(), editor.frame(), r);
        format = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER_PIXEL.data(), CLIPBOARD_TILE_DESIGNER_PIXEL.size());
    } else {
        bytes = encodeTileDesigner(editor.tileSet(), editor.frame());
        format = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER.data(), CLIPBOARD_TILE_DESIGNER.size());
    }
    auto* data = new QMimeData;
    data->setData(format, toBytes(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
}

void cutTileEditorFrame(CTileEditor& editor)
{
    const TileEditArea& area = *editor.area();
    const TileFrame& frame = editor.frame();
    PixelRect r{0, 0, frame.width * 8 - 1, frame.height * 8 - 1};
    if (editor.tool() == CTileEditor::Tool::PixelSelector) {
        if (!area.hasPixelSelection())
            return;
        r = PixelRect::fromCorners(area.selectionFirst().x(), area.selectionFirst().y(), area.selectionSecond().x(),
                                   area.selectionSecond().y());
    }
    copyTileEditorFrame(editor);
    PixelClip blank;
    blank.width = static_cast<std::uint32_t>(r.width());
    blank.height = static_cast<std::uint32_t>(r.height());
    blank.pixels.assign(std::size_t(blank.width) * blank.height, 0);
    if (!editor.report(pasteTileDesignerPixel(editor.tileSet(), editor.undoStore(), frame, r.left, r.top, blank)))
        return;
    editor.stepBegun();
    editor.frameChanged();
}

void pasteIntoTileEditor(CTileEditor& editor)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const QString tileFormat = QString::fromLatin1(CLIPBOARD_TILE_DESIGNER.data(), CLIPBOARD_TILE_DESIGNER.size());
    const QString pixelFormat =
        QString::fromLatin1(CLIPBOARD_TILE_DESIGNER_PIXEL.data(), CLIPBOARD_TILE_DESIGNER_PIXEL.size());
    TileSet& set = editor.tileSet();
    UndoStore& undo = editor.undoStore();
    const TileFrame& frame = editor.frame();
    const TileEditArea& area = *editor.area();
    if (data->hasFormat(tileFormat)) {
        const QByteArray bytes = data->data(tileFormat);
        const auto entries = decodeTileClip(asSpan(bytes));
        if (!entries || !editor.report(pasteTileDesigner(set, undo, frame, *entries)))
            return;
    } else if (data->hasFormat(pixelFormat)) {
        if (editor.tool() != CTileEditor::Tool::PixelSelector || !area.hasPixelSelection())
            return;
        const QByteArray bytes = data->data(pixelFormat);
        const auto clip = decodeTileDesignerPixel(asSpan(bytes));
        if (!clip || !editor.report(pasteTileDesignerPixel(set, undo, frame, area.selectionFirst().x(),
                                                           area.selectionFirst().y(), *clip)))
            return;
    } else if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        const PicturePasteResult r = pastePicture(set, undo, frame.start, pictureFrom(image, frame.start));
        if (!editor.report(r.result) || r.firstTile < 0)
            return;
        editor.stepBegun();
        // The picture may reach beyond the frame: announce every tile it touched.
        editor.area()->update();
        editor.refreshControls();
        editor.sendRange(frame.start, std::max(r.lastTile, frame.lastInSet()), 0);
        return;
    } else {
        return;
    }
    editor.stepBegun();
    editor.updateCaption();
    editor.frameChanged();
}

} // namespace qm::ui
