#include "core/edit/TileFrameEdit.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qm {

namespace {

// The frame's pixels as one picture, width*8 by height*8, row-major.
std::vector<std::uint8_t> readPicture(const TileSet& set, const TileFrame& frame)
{
    const int w = frame.pixelWidth();
    const int h = frame.pixelHeight();
    std::vector<std::uint8_t> pic(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pic[static_cast<size_t>(y * w + x)] = framePixel(set, frame, x, y);
    return pic;
}

void writePicture(TileSet& set, const TileFrame& frame, const std::vector<std::uint8_t>& pic)
{
    const int w = frame.pixelWidth();
    const int h = frame.pixelHeight();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setFramePixel(set, frame, x, y, pic[static_cast<size_t>(y * w + x)]);
}

struct TileLook {
    std::array<std::uint8_t, 64> pixels{};
    std::uint8_t palette = 0;
};

std::vector<TileLook> readLooks(const TileSet& set, const TileFrame& frame)
{
    std::vector<TileLook> looks(static_cast<size_t>(frame.size()));
    for (int i = 0; i < frame.size(); ++i) {
        const CTile& t = set.tiles[static_cast<size_t>(frame.start + i)];
        looks[static_cast<size_t>(i)] = {t.pixels, t.palette()};
    }
    return looks;
}

std::array<std::uint8_t, 64> mirrored(const std::array<std::uint8_t, 64>& p, bool horizontal)
{
    std::array<std::uint8_t, 64> out{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            out[static_cast<size_t>(y * 8 + x)] =
                horizontal ? p[static_cast<size_t>(y * 8 + 7 - x)] : p[static_cast<size_t>((7 - y) * 8 + x)];
    return out;
}

std::array<std::uint8_t, 64> turned(const std::array<std::uint8_t, 64>& p)
{
    std::array<std::uint8_t, 64> out{};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            out[static_cast<size_t>(r * 8 + c)] = p[static_cast<size_t>((7 - c) * 8 + r)];
    return out;
}

} // namespace

Result snapshotTiles(const TileSet& set, UndoStore& undo, int first, int last, StepName name)
{
    undo.beginStep(STEP_TILES, name);
    first = std::max(first, 0);
    last = std::min(last, TILES_PER_SET - 1);
    for (int i = first; i <= last; ++i) {
        if (!undo.saveTile(set.tiles[static_cast<size_t>(i)]))
            return Result::failure(MSG_NO_MEMORY_UNDO);
    }
    return Result::success();
}

Result snapshotFrame(const TileSet& set, UndoStore& undo, const TileFrame& frame, StepName name)
{
    return snapshotTiles(set, undo, frame.start, frame.start + frame.size() - 1, name);
}

int frameTileAtPixel(const TileFrame& frame, int x, int y)
{
    if (x < 0 || y < 0 || x >= frame.pixelWidth() || y >= frame.pixelHeight())
        return -1;
    const int tile = frame.tileAt(y / 8, x / 8);
    return tile >= 0 && tile < TILES_PER_SET ? tile : -1;
}

std::uint8_t framePixel(const TileSet& set, const TileFrame& frame, int x, int y)
{
    const int tile = frameTileAtPixel(frame, x, y);
    return tile < 0 ? 0 : set.tiles[static_cast<size_t>(tile)].pixel(x % 8, y % 8);
}

bool setFramePixel(TileSet& set, const TileFrame& frame, int x, int y, std::uint8_t colour)
{
    const int tile = frameTileAtPixel(frame, x, y);
    if (tile < 0)
        return false;
    CTile& t = set.tiles[static_cast<size_t>(tile)];
    if (t.pixel(x % 8, y % 8) == colour)
        return false;
    t.setPixel(x % 8, y % 8, colour);
    return true;
}

EditOutcome pencilPress(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y, std::uint8_t colour)
{
    EditOutcome out;
    if (frameTileAtPixel(frame, x, y) < 0)
        return out;
    out.result = snapshotFrame(set, undo, frame, StepName::TilePencil);
    if (!out.result)
        return out;
    setFramePixel(set, frame, x, y, colour);
    out.changed = true;
    return out;
}

EditOutcome bucketFill(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y, std::uint8_t colour)
{
    EditOutcome out;
    if (frameTileAtPixel(frame, x, y) < 0)
        return out;
    const std::uint8_t target = framePixel(set, frame, x, y);
    if (target == colour)
        return out;
    out.result = snapshotFrame(set, undo, frame, StepName::TileBucketFill);
    if (!out.result)
        return out;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        if (frameTileAtPixel(frame, px, py) < 0 || framePixel(set, frame, px, py) != target)
            continue;
        setFramePixel(set, frame, px, py, colour);
        stack.push_back({px + 1, py});
        stack.push_back({px - 1, py});
        stack.push_back({px, py + 1});
        stack.push_back({px, py - 1});
    }
    out.changed = true;
    return out;
}

Result scrollFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, ScrollDirection direction, bool eachTile)
{
    if (!frame.insideSet())
        return Result::failure(direction == ScrollDirection::Left ? MSG_SCROLL_EMPTY_TILES : MSG_ROTATE_EMPTY_TILES);
    if (Result r = snapshotFrame(set, undo, frame, StepName::ScrollTiles); !r)
        return r;
    if (eachTile) {
        for (int i = 0; i < frame.size(); ++i) {
            CTile& t = set.tiles[static_cast<size_t>(frame.start + i)];
            switch (direction) {
            case ScrollDirection::Up: t.scrollUp(); break;
            case ScrollDirection::Down: t.scrollDown(); break;
            case ScrollDirection::Left: t.scrollLeft(); break;
            case ScrollDirection::Right: t.scrollRight(); break;
            }
        }
        return Result::success();
    }
    const int w = frame.pixelWidth();
    const int h = frame.pixelHeight();
    const std::vector<std::uint8_t> old = readPicture(set, frame);
    std::vector<std::uint8_t> pic(old.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx = x, sy = y; // where the new pixel comes from
            switch (direction) {
            case ScrollDirection::Up: sy = (y + 1) % h; break;
            case ScrollDirection::Down: sy = (y + h - 1) % h; break;
            case ScrollDirection::Left: sx = (x + 1) % w; break;
            case ScrollDirection::Right: sx = (x + w - 1) % w; break;
            }
            pic[static_cast<size_t>(y * w + x)] = old[static_cast<size_t>(sy * w + sx)];
        }
    }
    writePicture(set, frame, pic);
    return Result::success();
}

Result flipFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, bool horizontal, bool eachTile)
{
    if (!frame.insideSet())
        return Result::failure(MSG_FLIP_EMPTY_TILES);
    if (Result r = snapshotFrame(set, undo, frame, StepName::FlipTiles); !r)
        return r;
    const std::vector<TileLook> old = readLooks(set, frame);
    for (int r = 0; r < frame.height; ++r) {
        for (int c = 0; c < frame.width; ++c) {
            int sr = r, sc = c; // the tile that moves here
            if (!eachTile) {
                if (horizontal)
                    sc = frame.width - 1 - c;
                else
                    sr = frame.height - 1 - r;
            }
            const TileLook& from = old[static_cast<size_t>(sr * frame.width + sc)];
            CTile& t = set.tiles[static_cast<size_t>(frame.tileAt(r, c))];
            t.pixels = mirrored(from.pixels, horizontal);
            t.setPalette(from.palette);
        }
    }
    return Result::success();
}

Result rotateFrame(TileSet& set, UndoStore& undo, const TileFrame& frame, bool eachTile)
{
    if (frame.width != frame.height)
        return Result::failure(MSG_ROTATE_NOT_SQUARE);
    if (!frame.insideSet())
        return Result::failure(MSG_ROTATE_PAST_END);
    if (Result r = snapshotFrame(set, undo, frame, StepName::RotateTiles); !r)
        return r;
    const std::vector<TileLook> old = readLooks(set, frame);
    for (int r = 0; r < frame.height; ++r) {
        for (int c = 0; c < frame.width; ++c) {
            int sr = r, sc = c;
            if (!eachTile) {
                sr = frame.height - 1 - c;
                sc = r;
            }
            const TileLook& from = old[static_cast<size_t>(sr * frame.width + sc)];
            CTile& t = set.tiles[static_cast<size_t>(frame.tileAt(r, c))];
            t.pixels = turned(from.pixels);
            t.setPalette(from.palette);
        }
    }
    return Result::success();
}

Result setFramePalette(TileSet& set, UndoStore& undo, const TileFrame& frame, int palette, const PaletteNotice& notice)
{
    if (palette < 0 || palette > 7)
        return Result::success();
    if (Result r = snapshotFrame(set, undo, frame, StepName::TilePalette); !r)
        return r;
    set.setCurrentPalette(palette);
    const int last = frame.lastInSet();
    for (int i = frame.start; i >= 0 && i <= last; ++i) {
        CTile& t = set.tiles[static_cast<size_t>(i)];
        if (t.palette() == palette)
            continue;
        TilePaletteChange change;
        change.oldPalette = t.palette();
        change.newPalette = static_cast<std::uint8_t>(palette);
        change.layer = set.kind();
        change.firstTile = i;
        change.lastTile = i;
        t.setPalette(palette);
        if (notice)
            notice(change);
    }
    return Result::success();
}

Result setTilePalette(TileSet& set, UndoStore& undo, int tile, int palette, const PaletteNotice& notice)
{
    CTile* t = set.tileAt(tile);
    if (!t || palette < 0 || palette > 7 || t->palette() == palette)
        return Result::success();
    if (Result r = snapshotTiles(set, undo, tile, tile, StepName::TilePalette); !r)
        return r;
    TilePaletteChange change;
    change.oldPalette = t->palette();
    change.newPalette = static_cast<std::uint8_t>(palette);
    change.layer = set.kind();
    change.firstTile = tile;
    change.lastTile = tile;
    t->setPalette(palette);
    if (notice)
        notice(change);
    return Result::success();
}

void setFrameComment(TileSet& set, const TileFrame& frame, std::string_view text)
{
    const int last = frame.lastInSet();
    for (int i = frame.start; i >= 0 && i <= last; ++i)
        set.tiles[static_cast<size_t>(i)].setComment(text);
}

} // namespace qm
