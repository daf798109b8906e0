#include "core/edit/TileDesignerClip.h"

#include "core/base/ByteReader.h"
#include "core/base/ByteWriter.h"
#include "core/edit/TileFrameEdit.h"

#include <algorithm>

namespace qm {

std::vector<std::uint8_t> encodeTileDesigner(const TileSet& set, const TileFrame& frame)
{
    std::vector<TileClipEntry> entries;
    entries.reserve(static_cast<size_t>(frame.size()));
    for (int r = 0; r < frame.height; ++r) {
        for (int c = frame.width - 1; c >= 0; --c) {
            TileClipEntry e;
            if (const CTile* t = set.tileAt(frame.tileAt(r, c))) {
                e.palette = t->palette();
                e.pixels = t->pixels;
                e.comment = std::string(t->commentText());
            }
            entries.push_back(std::move(e));
        }
    }
    return encodeTileClip(entries);
}

Result pasteTileDesigner(TileSet& set, UndoStore& undo, const TileFrame& frame,
                         const std::vector<TileClipEntry>& entries)
{
    if (Result r = snapshotFrame(set, undo, frame, StepName::PasteTiles); !r)
        return r;
    const size_t count = entries.size();
    size_t next = 0;
    for (int r = 0; r < frame.height; ++r) {
        for (int c = frame.width - 1; c >= 0; --c) {
            const size_t position = static_cast<size_t>(r * frame.width + c);
            if (position >= count || next >= count)
                break;
            const TileClipEntry& e = entries[next++];
            if (CTile* t = set.tileAt(frame.tileAt(r, c))) {
                t->setPixels(e.pixels);
                t->setPalette(e.palette);
                t->setComment(e.comment);
            }
        }
    }
    return Result::success();
}

PixelRect PixelRect::fromCorners(int x0, int y0, int x1, int y1)
{
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

std::vector<std::uint8_t> encodeTileDesignerPixel(const TileSet& set, const TileFrame& frame, const PixelRect& rect)
{
    ByteWriter w;
    const int width = std::max(rect.width(), 0);
    const int height = std::max(rect.height(), 0);
    w.u32(static_cast<std::uint32_t>(width));
    w.u32(static_cast<std::uint32_t>(height));
    for (int y = rect.top; y < rect.top + height; ++y)
        for (int x = rect.left; x < rect.left + width; ++x)
            w.u8(framePixel(set, frame, x, y));
    return w.take();
}

std::optional<PixelClip> decodeTileDesignerPixel(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    PixelClip clip;
    if (!r.u32(clip.width) || !r.u32(clip.height))
        return std::nullopt;
    const std::uint64_t count = std::uint64_t(clip.width) * clip.height;
    if (count != r.remaining())
        return std::nullopt;
    clip.pixels.resize(static_cast<size_t>(count));
    if (count && !r.bytes(clip.pixels.data(), clip.pixels.size()))
        return std::nullopt;
    for (auto& p : clip.pixels)
        p &= 0x03;
    return clip;
}

Result pasteTileDesignerPixel(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y,
                              const PixelClip& clip)
{
    if (Result r = snapshotFrame(set, undo, frame, StepName::PasteTiles); !r)
        return r;
    // Only the part that can land inside the frame is walked.
    const std::int64_t w = clip.width, h = clip.height;
    const std::int64_t firstRow = std::max<std::int64_t>(0, -y);
    const std::int64_t lastRow = std::min<std::int64_t>(h, std::int64_t(frame.pixelHeight()) - y);
    const std::int64_t firstCol = std::max<std::int64_t>(0, -x);
    const std::int64_t lastCol = std::min<std::int64_t>(w, std::int64_t(frame.pixelWidth()) - x);
    for (std::int64_t j = firstRow; j < lastRow; ++j)
        for (std::int64_t i = firstCol; i < lastCol; ++i)
            setFramePixel(set, frame, static_cast<int>(x + i), static_cast<int>(y + j),
                          clip.pixels[static_cast<size_t>(j * w + i)]);
    return Result::success();
}

} // namespace qm
