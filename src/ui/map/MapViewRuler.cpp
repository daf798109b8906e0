#include "ui/map/MapViewRuler.h"

#include "ui/map/CQuiltmarkView.h"

#include <QPainter>

namespace qm::ui {

const QImage& MapViewRuler::label(int number, bool stacked)
{
    const int key = number * 2 + (stacked ? 1 : 0);
    auto it = labels_.find(key);
    if (it != labels_.end())
        return it.value();
    const LabelSize size = rulerLabelSize(number, plan_, stacked);
    QImage image(std::max(1, size.width), std::max(1, size.height), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor ink = view_.palette().color(QPalette::ButtonText);
    const QString digits = QString::number(number);
    const int s = plan_.scale;
    for (int i = 0; i < digits.size(); ++i) {
        const int digit = digits.at(i).digitValue();
        const int x0 = stacked ? 0 : i * (RULER_DIGIT_WIDTH + 1) * s;
        const int y0 = stacked ? i * (plan_.digitHeight + 1) * s : 0;
        for (int row = 0; row < plan_.digitHeight; ++row) {
            const std::uint8_t bits = rulerDigitRow(digit, row, plan_.digitHeight);
            for (int column = 0; column < RULER_DIGIT_WIDTH; ++column)
                if (bits & (4 >> column))
                    p.fillRect(x0 + column * s, y0 + row * s, s, s, ink);
        }
    }
    p.end();
    return labels_.insert(key, image).value();
}

void MapViewRuler::etchedBox(QPainter& p, const QRect& r) const
{
    // A sunken outer edge and a raised inner one.
    const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
    p.setPen(QPen(view_.palette().color(QPalette::Dark), 0));
    p.drawLine(x0, y0, x1 - 1, y0);
    p.drawLine(x0, y0, x0, y1 - 1);
    p.drawLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1);
    p.drawLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
    p.setPen(QPen(view_.palette().color(QPalette::Light), 0));
    p.drawLine(x0 + 1, y0 + 1, x1 - 2, y0 + 1);
    p.drawLine(x0 + 1, y0 + 1, x0 + 1, y1 - 2);
    p.drawLine(x0, y1, x1, y1);
    p.drawLine(x1, y0, x1, y1);
}

void MapViewRuler::paint(QPainter& p)
{
    const int cs = view_.cellSize();
    const QSize client = view_.viewport()->size();
    const MapGrid& map = view_.map();
    const RulerPlan plan = rulerPlan(cs, map.width, map.height);
    if (plan.step != plan_.step || plan.scale != plan_.scale || plan.digitHeight != plan_.digitHeight ||
        plan.stacked != plan_.stacked) {
        plan_ = plan;
        labels_.clear();
    }
    const bool everyLine = plan_.step == 1;
    const bool etched = everyLine && cs >= RULER_ETCHED_FROM;
    const QColor line = view_.palette().color(QPalette::Dark);
    const QRect rowStrip(0, cs, cs, client.height() - cs);
    const QRect columnStrip(cs, 0, client.width() - cs, cs);
    p.save();
    p.fillRect(QRect(0, 0, cs, cs) | rowStrip | columnStrip, view_.palette().color(QPalette::Button));

    // Down the left edge. Across a step a number stands after its tick.
    p.setClipRect(rowStrip);
    int top = cs;
    for (int r = view_.firstRow(); r < map.height && top < client.height(); ++r, top += cs) {
        const QRect box(0, top, cs, cs);
        if (etched)
            etchedBox(p, box);
        else if (everyLine)
            p.fillRect(0, box.bottom(), cs, 1, line);
        else if (r % plan_.step == 0)
            p.fillRect(0, top, cs, 1, line);
        if (r % plan_.step != 0)
            continue;
        const QImage& number = label(r, !everyLine && plan_.stacked);
        const int room = etched ? cs : cs - 1;
        p.drawImage(QPoint((cs - number.width()) / 2, everyLine ? top + (room - number.height()) / 2 : top + 2), number);
    }
    if (etched && top < client.height())
        etchedBox(p, QRect(0, top, cs, client.height() - top));

    // Along the top.
    p.setClipRect(columnStrip);
    int left = cs;
    for (int c = view_.firstColumn(); c < map.width && left < client.width(); ++c, left += cs) {
        const QRect box(left, 0, cs, cs);
        if (etched)
            etchedBox(p, box);
        else if (everyLine)
            p.fillRect(box.right(), 0, 1, cs, line);
        else if (c % plan_.step == 0)
            p.fillRect(left, 0, 1, cs, line);
        if (c % plan_.step != 0)
            continue;
        const QImage& number = label(c, false);
        const int room = etched ? cs : cs - 1;
        p.drawImage(QPoint(everyLine ? left + (room - number.width()) / 2 : left + 2, (cs - number.height()) / 2),
                    number);
    }
    if (etched && left < client.width())
        etchedBox(p, QRect(left, 0, client.width() - left, cs));
    p.restore();
}

} // namespace qm::ui
