#include "ui/app/Artwork.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace qm::ui {

namespace {

const QColor INK(40, 44, 52);
const QColor PAPER(250, 250, 246);
const QColor ACCENT(52, 120, 200);
const QColor WARM(230, 170, 40);
const QColor RED(200, 60, 50);

QPen inkPen(qreal width = 1.6) { return QPen(INK, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void drawArrowHead(QPainter& p, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    QPolygonF head;
    head << tip << tip - u * 5 + n * 3.5 << tip - u * 5 - n * 3.5;
    p.setBrush(INK);
    p.drawPolygon(head);
}

void drawCurvedArrow(QPainter& p, bool toLeft)
{
    p.save();
    if (!toLeft) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setPen(inkPen(2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(19, 18));
    path.cubicTo(QPointF(20, 9), QPointF(12, 6), QPointF(6, 10));
    p.drawPath(path);
    p.setPen(inkPen(1.2));
    drawArrowHead(p, QPointF(4, 12), QPointF(9, 8));
    p.restore();
}

void drawDropper(QPainter& p, const QColor& bulb)
{
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    p.setPen(inkPen(1.2));
    p.setBrush(PAPER);
    p.drawRect(QRectF(-1.8, -2, 3.6, 11)); // glass tube
    p.setBrush(bulb);
    p.drawRoundedRect(QRectF(-3.5, -10, 7, 7), 2.5, 2.5); // rubber bulb
    p.drawRect(QRectF(-4, -3.5, 8, 2));
    p.setPen(inkPen(1.4));
    p.drawLine(QPointF(0, 9), QPointF(0, 11.5));
    p.restore();
}

void drawMagnifier(QPainter& p, bool plus)
{
    p.setPen(inkPen(2.0));
    p.setBrush(QColor(220, 235, 250));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(INK, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(inkPen(1.8));
    p.drawLine(QPointF(7, 10), QPointF(13, 10));
    if (plus)
        p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

void drawFlip(QPainter& p, bool vertical)
{
    p.save();
    if (vertical) {
        p.translate(12, 12);
        p.rotate(90);
        p.translate(-12, -12);
    }
    p.setPen(QPen(INK, 1.2, Qt::DashLine));
    p.drawLine(QPointF(12, 3), QPointF(12, 21));
    p.setPen(inkPen(1.2));
    p.setBrush(ACCENT);
    p.drawPolygon(QPolygonF({QPointF(10, 5), QPointF(10, 19), QPointF(3, 19)}));
    p.setBrush(PAPER);
    p.drawPolygon(QPolygonF({QPointF(14, 5), QPointF(14, 19), QPointF(21, 19)}));
    p.restore();
}

// A tile with an arrow across it, pointing up (turned for the other ways).
void drawScroll(QPainter& p, int quarterTurns)
{
    p.save();
    p.translate(12, 12);
    p.rotate(90.0 * quarterTurns);
    p.translate(-12, -12);
    p.setPen(inkPen(1.2));
    p.setBrush(QColor(220, 235, 250));
    p.drawRect(QRectF(5.5, 5.5, 13, 13));
    p.setPen(QPen(INK, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 20), QPointF(12, 8));
    p.setPen(inkPen(1.2));
    drawArrowHead(p, QPointF(12, 2.5), QPointF(12, 8));
    p.restore();
}

// A triangle pointing right, with a bar before or after it.
void drawStep(QPainter& p, bool forward)
{
    p.save();
    if (!forward) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setPen(inkPen(1.2));
    p.setBrush(ACCENT);
    p.drawPolygon(QPolygonF({QPointF(5, 5), QPointF(16, 12), QPointF(5, 19)}));
    p.setBrush(INK);
    p.drawRect(QRectF(17, 5, 2.5, 14));
    p.restore();
}

void paintTileEditorArtwork(QPainter& p, Artwork which)
{
    switch (which) {
    case Artwork::PixelSelect:
        p.setPen(QPen(INK, 1.3, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setPen(Qt::NoPen);
        p.setBrush(ACCENT);
        p.drawRect(QRectF(8, 8, 4, 4));
        p.drawRect(QRectF(12, 12, 4, 4));
        break;
    case Artwork::ScrollUp:
        drawScroll(p, 0);
        break;
    case Artwork::ScrollRight:
        drawScroll(p, 1);
        break;
    case Artwork::ScrollDown:
        drawScroll(p, 2);
        break;
    case Artwork::ScrollLeft:
        drawScroll(p, 3);
        break;
    case Artwork::Rotate:
        p.setPen(inkPen(2.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 4.5, 15, 15), 100 * 16, -270 * 16); // clockwise, ending at the left
        p.setPen(inkPen(1.2));
        drawArrowHead(p, QPointF(4.5, 7.5), QPointF(4.5, 13));
        break;
    case Artwork::Comment: {
        p.setPen(inkPen(1.3));
        p.setBrush(PAPER);
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(2.5, 3.5, 19, 13), 3, 3);
        bubble.moveTo(7, 16.5);
        bubble.lineTo(6, 21.5);
        bubble.lineTo(12, 16.5);
        p.drawPath(bubble.simplified());
        p.setPen(inkPen(1.2));
        p.drawLine(QPointF(6, 8), QPointF(18, 8));
        p.drawLine(QPointF(6, 12), QPointF(14, 12));
        break;
    }
    case Artwork::BackFrame:
        drawStep(p, false);
        break;
    case Artwork::ForwardFrame:
        drawStep(p, true);
        break;
    case Artwork::Stop:
        p.setPen(inkPen(1.2));
        p.setBrush(RED);
        p.drawRect(QRectF(6, 6, 12, 12));
        break;
    case Artwork::Play:
        p.setPen(inkPen(1.2));
        p.setBrush(QColor(70, 160, 80));
        p.drawPolygon(QPolygonF({QPointF(7, 4.5), QPointF(19.5, 12), QPointF(7, 19.5)}));
        break;
    default:
        break;
    }
}

void paintArtwork(QPainter& p, Artwork which)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case Artwork::New: {
        p.setPen(inkPen(1.3));
        p.setBrush(PAPER);
        p.drawPolygon(QPolygonF({QPointF(5, 2.5), QPointF(14, 2.5), QPointF(19, 7.5), QPointF(19, 21.5),
                                 QPointF(5, 21.5)}));
        p.drawPolyline(QPolygonF({QPointF(14, 2.5), QPointF(14, 7.5), QPointF(19, 7.5)}));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if ((i + j) % 2 == 0) {
                    p.setBrush(i == 1 ? WARM : ACCENT);
                    p.drawRect(QRectF(7.5 + i * 3, 11 + j * 3, 3, 3));
                }
        break;
    }
    case Artwork::Open:
        p.setPen(inkPen(1.3));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({QPointF(2.5, 5.5), QPointF(9, 5.5), QPointF(11, 7.5), QPointF(20, 7.5),
                                 QPointF(20, 19.5), QPointF(2.5, 19.5)}));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(2.5, 19.5), QPointF(6, 11), QPointF(22.5, 11), QPointF(20, 19.5)}));
        break;
    case Artwork::Save:
        p.setPen(inkPen(1.3));
        p.setBrush(ACCENT);
        p.drawPolygon(QPolygonF({QPointF(3.5, 3.5), QPointF(17.5, 3.5), QPointF(20.5, 6.5), QPointF(20.5, 20.5),
                                 QPointF(3.5, 20.5)}));
        p.setBrush(PAPER);
        p.drawRect(QRectF(7, 3.5, 9, 6));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        p.setBrush(INK);
        p.drawRect(QRectF(13, 4.5, 2, 4));
        break;
    case Artwork::Reload: {
        p.setPen(inkPen(2.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 4.5, 15, 15), 100 * 16, 290 * 16);
        p.setPen(inkPen(1.2));
        drawArrowHead(p, QPointF(15.5, 4.8), QPointF(10, 4));
        break;
    }
    case Artwork::Undo:
        drawCurvedArrow(p, true);
        break;
    case Artwork::Redo:
        drawCurvedArrow(p, false);
        break;
    case Artwork::Eyedropper:
        drawDropper(p, WARM);
        break;
    case Artwork::RevEyedropper:
        p.setPen(QPen(RED, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 14.5, 7, 7));
        p.drawRect(QRectF(14.5, 1.5, 7, 7));
        drawDropper(p, RED);
        break;
    case Artwork::Select: {
        p.setPen(QPen(INK, 1.3, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 2.5, 14, 12));
        p.setPen(inkPen(1.1));
        p.setBrush(PAPER);
        p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(10, 22), QPointF(13.5, 18.5), QPointF(16, 23),
                                 QPointF(18, 22), QPointF(15.5, 17.5), QPointF(20, 17)}));
        break;
    }
    case Artwork::Pencil: {
        p.save();
        p.translate(12, 12);
        p.rotate(45);
        p.setPen(inkPen(1.2));
        p.setBrush(WARM);
        p.drawRect(QRectF(-3, -11, 6, 15));
        p.setBrush(QColor(240, 210, 170));
        p.drawPolygon(QPolygonF({QPointF(-3, 4), QPointF(3, 4), QPointF(0, 10.5)}));
        p.setBrush(INK);
        p.drawPolygon(QPolygonF({QPointF(-1, 8.2), QPointF(1, 8.2), QPointF(0, 10.5)}));
        p.setBrush(QColor(230, 140, 150));
        p.drawRect(QRectF(-3, -11, 6, 3));
        p.restore();
        break;
    }
    case Artwork::Line:
        p.setPen(QPen(INK, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 19), QPointF(19, 5));
        p.setPen(inkPen(1.2));
        p.setBrush(ACCENT);
        p.drawRect(QRectF(2.5, 16.5, 5, 5));
        p.drawRect(QRectF(16.5, 2.5, 5, 5));
        break;
    case Artwork::Hand: {
        p.setPen(inkPen(1.2));
        p.setBrush(QColor(245, 215, 185));
        for (int f = 0; f < 4; ++f)
            p.drawRoundedRect(QRectF(6 + f * 3.2, 3 + (f == 0 || f == 3 ? 2 : 0), 3.2, 10), 1.6, 1.6);
        p.drawRoundedRect(QRectF(2, 10, 4, 8), 2, 2);
        p.drawRoundedRect(QRectF(5.5, 10, 13.5, 11.5), 3.5, 3.5);
        break;
    }
    case Artwork::Bucket: {
        p.save();
        p.translate(11, 12);
        p.rotate(-30);
        p.setPen(inkPen(1.3));
        p.setBrush(PAPER);
        p.drawPolygon(QPolygonF({QPointF(-6, -5), QPointF(6, -5), QPointF(4.5, 7), QPointF(-4.5, 7)}));
        p.setBrush(ACCENT);
        p.drawEllipse(QRectF(-6, -7, 12, 4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-6, -12, 12, 12), 0, 180 * 16);
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(ACCENT);
        QPainterPath drop(QPointF(19.5, 12));
        drop.cubicTo(QPointF(22.5, 17), QPointF(22.5, 20), QPointF(19.5, 20));
        drop.cubicTo(QPointF(16.5, 20), QPointF(16.5, 17), QPointF(19.5, 12));
        p.drawPath(drop);
        break;
    }
    case Artwork::Zoom:
        drawMagnifier(p, true);
        break;
    case Artwork::ZoomOut:
        drawMagnifier(p, false);
        break;
    case Artwork::FlipVertical:
        drawFlip(p, true);
        break;
    case Artwork::FlipHorizontal:
        drawFlip(p, false);
        break;
    case Artwork::Grid:
        p.setPen(inkPen(1.2));
        p.setBrush(PAPER);
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        for (int i = 1; i < 3; ++i) {
            const qreal v = 3.5 + i * 17.0 / 3;
            p.drawLine(QPointF(v, 3.5), QPointF(v, 20.5));
            p.drawLine(QPointF(3.5, v), QPointF(20.5, v));
        }
        break;
    default:
        paintTileEditorArtwork(p, which);
        break;
    }
}

QPixmap artworkPixmap(Artwork which, int size)
{
    const qreal ratio = 2.0;
    QPixmap pm(int(size * ratio), int(size * ratio));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.scale(size / 24.0, size / 24.0);
    paintArtwork(p, which);
    return pm;
}

} // namespace

QIcon artworkIcon(Artwork which)
{
    QIcon icon;
    icon.addPixmap(artworkPixmap(which, 24));
    icon.addPixmap(artworkPixmap(which, 16));
    return icon;
}

QCursor toolCursor(int tool)
{
    struct Shape {
        Artwork art;
        int hotX, hotY; // in the 24-pixel drawing
    };
    Shape shape;
    switch (tool) {
    case TOOL_ZOOM:
        shape = {Artwork::Zoom, 10, 10};
        break;
    case TOOL_ZOOM_OUT:
        shape = {Artwork::ZoomOut, 10, 10};
        break;
    case TOOL_HAND:
        return QCursor(Qt::OpenHandCursor);
    case TOOL_PENCIL:
        shape = {Artwork::Pencil, 4, 20};
        break;
    case TOOL_BUCKET:
        shape = {Artwork::Bucket, 19, 20};
        break;
    case TOOL_EYEDROPPER:
        shape = {Artwork::Eyedropper, 4, 20};
        break;
    case TOOL_REV_EYEDROPPER:
        shape = {Artwork::RevEyedropper, 4, 20};
        break;
    case TOOL_LINE:
        return QCursor(Qt::CrossCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(artworkPixmap(shape.art, 24), shape.hotX, shape.hotY);
}

QPixmap startupPicture()
{
    // 213 x 148 dialog units.
    const int w = 426, h = 296;
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(36, 52, 84));
    sky.setColorAt(1, QColor(18, 24, 40));
    p.fillRect(pm.rect(), sky);

    // A strip of quilt patches, the way tiles sit on a map.
    const QColor patches[] = {QColor(224, 248, 208), QColor(136, 192, 112), QColor(52, 104, 86),
                              QColor(8, 24, 32),     QColor(240, 200, 90),  QColor(200, 90, 70),
                              QColor(90, 150, 220),  QColor(250, 250, 246)};
    const int cell = 22;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < w / cell + 1; ++x) {
            const int k = (x * 3 + y * 5 + (x * y) % 4) % 8;
            QColor c = patches[k];
            c.setAlpha(y == 0 ? 255 : 255 - y * 40);
            p.fillRect(QRect(x * cell, h - (y + 1) * cell, cell - 2, cell - 2), c);
        }
    p.setPen(QPen(QColor(255, 255, 255, 60), 1, Qt::DashLine));
    p.drawLine(QPointF(0, h - 5 * cell - 6), QPointF(w, h - 5 * cell - 6));

    QFont title = p.font();
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 250, 246));
    p.drawText(QRect(0, 46, w, 60), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Quilt Mark"));

    QFont sub = p.font();
    sub.setPixelSize(15);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(190, 210, 235));
    p.drawText(QRect(0, 106, w, 24), Qt::AlignHCenter, QStringLiteral("Game Boy map and tile editor"));
    QFont small = sub;
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(150, 165, 190));
    p.drawText(QRect(0, 132, w, 20), Qt::AlignHCenter,
               QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                     ? QStringLiteral("0.1")
                                                     : QCoreApplication::applicationVersion()));
    p.setPen(QColor(255, 255, 255, 90));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pm;
}

} // namespace qm::ui
