#include "ui/map/MapViewPainter.h"

#include "ui/map/CQuiltmarkView.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace qm::ui {

MapViewPainter::MapViewPainter(const CQuiltmarkView& view) : view_(view), ruler_(view) {}

void MapViewPainter::paint(QPainter& p, const QRect& area, bool outlineShown)
{
    const int cs = view_.cellSize();
    const QRect client(QPoint(0, 0), view_.viewport()->size());
    const QRect mapArea = QRect(cs, cs, view_.drawnColumns() * cs, view_.drawnRows() * cs) & client;
    QRegion rest = QRegion(area & client) - mapArea;
    const QColor background = view_.palette().color(QPalette::Window);
    for (const QRect& r : rest)
        p.fillRect(r, background);
    ruler_.paint(p);
    try {
        paintMapArea(p);
    } catch (const std::bad_alloc&) {
        // No memory for the blocks on screen: the map area stays empty.
        p.fillRect(mapArea, background);
    }
    if (outlineShown)
        paintOutline(p);
}

void MapViewPainter::paintMapArea(QPainter& p)
{
    const int cs = view_.cellSize();
    const MapRenderer& renderer = view_.renderer();
    const bool showTags = view_.tagsVisible();
    const bool overMap = showTags && view_.tagsTransparent();
    const int cols = std::min(view_.drawnColumns(), renderer.columns() - view_.firstColumn());
    const int rows = std::min(view_.drawnRows(), renderer.rows() - view_.firstRow());
    const int outW = std::min(cols * cs, view_.viewport()->width() - cs);
    const int outH = std::min(rows * cs, view_.viewport()->height() - cs);
    if (outW <= 0 || outH <= 0)
        return;
    if (frame_.width() != outW || frame_.height() != outH)
        frame_ = QImage(outW, outH, QImage::Format_RGB32);

    // The source pixels come from the renderer's blocks, each block asked for
    // once a paint and held for it. Output column x shows source column
    // sourceX[x], counted from the first one shown.
    const MapRenderer::BlockPin pin(renderer);
    constexpr int BP = MapRenderer::BLOCK_PIXELS;
    const MapImage topImage = showTags ? MapImage::Tags : MapImage::Map;
    const int sourceLeft = view_.firstColumn() * 8;
    const int sourceTop = view_.firstRow() * 8;
    const int sourceW = (outW - 1) * 8 / cs + 1;
    const int firstBlock = sourceLeft / BP;
    const int segments = (sourceLeft + sourceW - 1) / BP - firstBlock + 1;
    std::vector<int> sourceX(static_cast<size_t>(outW));
    for (int x = 0; x < outW; ++x)
        sourceX[static_cast<size_t>(x)] = x * 8 / cs;
    std::vector<const uchar*> topBlocks(static_cast<size_t>(segments));
    std::vector<const uchar*> underBlocks(static_cast<size_t>(segments));
    int blockRow = -1;
    // Each source row shown is first gathered from its blocks into one line.
    topLine_.resize(static_cast<size_t>(sourceW));
    underLine_.resize(overMap ? static_cast<size_t>(sourceW) : 0);
    auto gatherRow = [&](const std::vector<const uchar*>& blocks, size_t rowInBlock, uchar* to) {
        for (int s = 0; s < segments; ++s) {
            const int from = std::max(sourceLeft, (firstBlock + s) * BP);
            const int end = std::min(sourceLeft + sourceW, (firstBlock + s + 1) * BP);
            std::memcpy(to + (from - sourceLeft), blocks[static_cast<size_t>(s)] + rowInBlock + from % BP,
                        static_cast<size_t>(end - from));
        }
    };
    const QRgb* lut = view_.displayColours().constData();

    const qsizetype outStride = frame_.bytesPerLine();
    uchar* outBits = frame_.bits();
    auto fetchBlocks = [&](int row) {
        for (int s = 0; s < segments; ++s) {
            topBlocks[static_cast<size_t>(s)] = renderer.blockPixels(topImage, firstBlock + s, row);
            if (overMap)
                underBlocks[static_cast<size_t>(s)] = renderer.blockPixels(MapImage::Map, firstBlock + s, row);
        }
    };
    int previousRow = -1;
    for (int y = 0; y < outH; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
        const int sy = sourceTop + y * 8 / cs;
        if (sy == previousRow) {
            std::memcpy(line, outBits + (y - 1) * outStride, static_cast<size_t>(outW) * sizeof(QRgb));
            continue;
        }
        previousRow = sy;
        if (sy / BP != blockRow) {
            blockRow = sy / BP;
            fetchBlocks(blockRow);
        }
        const size_t rowInBlock = static_cast<size_t>(sy % BP) * BP;
        gatherRow(topBlocks, rowInBlock, topLine_.data());
        const uchar* src = topLine_.data();
        if (overMap) {
            gatherRow(underBlocks, rowInBlock, underLine_.data());
            const uchar* below = underLine_.data();
            for (int x = 0; x < outW; ++x) {
                const int sx = sourceX[static_cast<size_t>(x)];
                const uchar t = src[sx];
                line[x] = lut[(t & 3) ? t : below[sx]];
            }
        } else if (cs == 8) {
            for (int x = 0; x < outW; ++x)
                line[x] = lut[src[x]];
        } else if (cs >= 16) {
            // Whole runs of the same source pixel.
            int x = 0;
            for (int sx = 0; x < outW; ++sx) {
                const QRgb c = lut[src[sx]];
                const int end = std::min(outW, ((sx + 1) * cs + 7) / 8);
                for (; x < end; ++x)
                    line[x] = c;
            }
        } else {
            for (int x = 0; x < outW; ++x)
                line[x] = lut[src[sourceX[static_cast<size_t>(x)]]];
        }
    }
    if (view_.gridVisible()) {
        const QRgb g = view_.gridColour().rgb();
        for (int y = 0; y < outH; y += cs) {
            QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
            std::fill(line, line + outW, g);
        }
        for (int y = 0; y < outH; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(outBits + y * outStride);
            for (int x = 0; x < outW; x += cs)
                line[x] = g;
        }
    }
    p.drawImage(QPoint(cs, cs), frame_);
}

void MapViewPainter::paintOutline(QPainter& p)
{
    if (view_.selection().isEmpty())
        return;
    const int cs = view_.cellSize();
    const QRect mapArea(cs, cs, view_.viewport()->width() - cs, view_.viewport()->height() - cs);
    const QColor colour = view_.cursorColour();
    p.save();
    p.setClipRect(mapArea);
    if (view_.currentTool() == TOOL_REV_EYEDROPPER) {
        // Each highlighted cell gets a frame of its own.
        p.setPen(QPen(colour, 0));
        p.setBrush(Qt::NoBrush);
        for (const QPoint& c : view_.selection())
            if (view_.cellOnScreen(c))
                p.drawRect(view_.cellRect(c.x(), c.y()).adjusted(0, 0, -1, -1));
        p.restore();
        return;
    }
    // The outer border of the union of the selected cells: a grid of the
    // cells on screen, turned into row runs, then the region minus its inside.
    const int gw = view_.visibleColumns() + 1;
    const int gh = view_.visibleRows() + 1;
    std::vector<std::uint8_t> marked(static_cast<size_t>(gw) * static_cast<size_t>(gh), 0);
    bool any = false;
    for (const QPoint& c : view_.selection()) {
        const int gx = c.x() - view_.firstColumn();
        const int gy = c.y() - view_.firstRow();
        if (gx >= 0 && gy >= 0 && gx < gw && gy < gh) {
            marked[static_cast<size_t>(gy) * gw + gx] = 1;
            any = true;
        }
    }
    if (any) {
        QList<QRect> runs;
        for (int gy = 0; gy < gh; ++gy) {
            for (int gx = 0; gx < gw;) {
                if (!marked[static_cast<size_t>(gy) * gw + gx]) {
                    ++gx;
                    continue;
                }
                int end = gx;
                while (end < gw && marked[static_cast<size_t>(gy) * gw + end])
                    ++end;
                runs.append(QRect(cs + gx * cs, cs + gy * cs, (end - gx) * cs, cs));
                gx = end;
            }
        }
        QRegion region;
        region.setRects(runs.constData(), static_cast<int>(runs.size()));
        const QRegion inside = region & region.translated(1, 0) & region.translated(-1, 0) &
                               region.translated(0, 1) & region.translated(0, -1);
        for (const QRect& r : region - inside)
            p.fillRect(r, colour);
    }
    p.restore();
}

} // namespace qm::ui
