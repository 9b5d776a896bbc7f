#include "managed/art/generator/Symbols.h"

#include <QtGui/QPainterPath>
#include <QtGui/QPolygonF>

#include <QtCore/qmath.h>

#include <cmath>

namespace Halvora {
namespace Art {

namespace {

QPen OutlinePen(qreal width = 1.5) {
    return QPen(Palette::kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen StrokePen(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Fraction helpers: a point or rectangle given in parts of the box, so a symbol scales with it.
QPointF At(const QRectF& b, qreal fx, qreal fy) {
    return {b.left() + fx * b.width(), b.top() + fy * b.height()};
}

QRectF Part(const QRectF& b, qreal fx, qreal fy, qreal fw, qreal fh) {
    return {b.left() + fx * b.width(), b.top() + fy * b.height(), fw * b.width(), fh * b.height()};
}

// A white "!" centred on `centre`, `height` tall.
void Exclamation(QPainter& p, QPointF centre, qreal height, const QColor& mark) {
    const qreal w = height * 0.2;
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawRoundedRect(QRectF(centre.x() - w / 2, centre.y() - height / 2, w, height * 0.62), w / 2,
                      w / 2);
    p.drawEllipse(QPointF(centre.x(), centre.y() + height / 2 - w / 2), w * 0.6, w * 0.6);
}

} // namespace

void Begin(QPainter& p, QSize size, const QColor& background) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRect(QPoint(0, 0), size), background);
}

void Padlock(QPainter& p, const QRectF& box, const QColor& body) {
    // Shackle first, so the body covers its feet.
    const QRectF shackle = Part(box, 0.28, 0.08, 0.44, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Palette::kOutline, box.width() * 0.14));
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.left(), shackle.center().y()),
               QPointF(shackle.left(), shackle.bottom()));
    p.drawLine(QPointF(shackle.right(), shackle.center().y()),
               QPointF(shackle.right(), shackle.bottom()));
    p.setPen(StrokePen(Palette::kSteel, box.width() * 0.07));
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.left(), shackle.center().y()),
               QPointF(shackle.left(), shackle.bottom()));
    p.drawLine(QPointF(shackle.right(), shackle.center().y()),
               QPointF(shackle.right(), shackle.bottom()));

    const QRectF b = Part(box, 0.16, 0.46, 0.68, 0.48);
    p.setPen(OutlinePen(box.width() > 20 ? 1.5 : 1.0));
    p.setBrush(body);
    p.drawRoundedRect(b, b.width() * 0.12, b.width() * 0.12);
    // Keyhole.
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::kOutline);
    const QPointF k = At(b, 0.5, 0.4);
    p.drawEllipse(k, b.width() * 0.09, b.width() * 0.09);
    p.drawRect(QRectF(k.x() - b.width() * 0.04, k.y(), b.width() * 0.08, b.height() * 0.32));
}

void Bell(QPainter& p, const QRectF& box) {
    // Sound waves either side.
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Palette::kOrange, box.width() * 0.06));
    const QRectF inner = Part(box, 0.06, 0.16, 0.88, 0.62);
    const QRectF outer = Part(box, -0.04, 0.06, 1.08, 0.82);
    for (const QRectF& r : {inner, outer}) {
        p.drawArc(r, -30 * 16, 60 * 16);
        p.drawArc(r, 150 * 16, 60 * 16);
    }
    // The bell: a dome widening to a flared rim.
    QPainterPath bell;
    bell.moveTo(At(box, 0.22, 0.74));
    bell.cubicTo(At(box, 0.30, 0.62), At(box, 0.28, 0.22), At(box, 0.50, 0.18));
    bell.cubicTo(At(box, 0.72, 0.22), At(box, 0.70, 0.62), At(box, 0.78, 0.74));
    bell.closeSubpath();
    p.setPen(OutlinePen());
    p.setBrush(QColor(0xF5, 0xC5, 0x18));
    p.drawEllipse(At(box, 0.5, 0.82), box.width() * 0.08, box.width() * 0.08); // clapper
    p.drawPath(bell);
    p.drawRoundedRect(Part(box, 0.16, 0.72, 0.68, 0.07), 2, 2);                // rim
    p.drawEllipse(At(box, 0.5, 0.15), box.width() * 0.05, box.width() * 0.05); // knob
    // A highlight on the dome.
    p.setPen(StrokePen(QColor(0xFF, 0xF1, 0xB0), box.width() * 0.05));
    p.drawArc(Part(box, 0.36, 0.28, 0.2, 0.5), 100 * 16, 60 * 16);
}

void WarningTriangle(QPainter& p, const QRectF& box, const QColor& fill, const QColor& mark) {
    const QPolygonF tri{At(box, 0.5, 0.06), At(box, 0.96, 0.9), At(box, 0.04, 0.9)};
    p.setPen(OutlinePen(box.width() > 20 ? 1.5 : 1.0));
    p.setBrush(fill);
    p.drawPolygon(tri);
    Exclamation(p, At(box, 0.5, 0.58), box.height() * 0.46, mark);
}

void CircleCross(QPainter& p, const QRectF& box, const QColor& fill) {
    const QRectF c = Part(box, 0.06, 0.06, 0.88, 0.88);
    p.setPen(OutlinePen());
    p.setBrush(fill);
    p.drawEllipse(c);
    CrossMark(p, Part(box, 0.31, 0.31, 0.38, 0.38), Qt::white, box.width() * 0.12);
}

void CircleQuestion(QPainter& p, const QRectF& box, const QColor& fill) {
    const QRectF c = Part(box, 0.06, 0.06, 0.88, 0.88);
    p.setPen(OutlinePen());
    p.setBrush(fill);
    p.drawEllipse(c);
    // "?": an open arc curling into a short stem, and a dot.
    QPainterPath q;
    q.arcMoveTo(Part(box, 0.36, 0.22, 0.28, 0.26), 160);
    q.arcTo(Part(box, 0.36, 0.22, 0.28, 0.26), 160, -230);
    q.quadTo(At(box, 0.5, 0.5), At(box, 0.5, 0.6));
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Qt::white, box.width() * 0.1));
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(At(box, 0.5, 0.75), box.width() * 0.06, box.width() * 0.06);
}

void DiamondBolt(QPainter& p, const QRectF& box, const QColor& fill) {
    const QPolygonF diamond{At(box, 0.5, 0.03), At(box, 0.97, 0.5), At(box, 0.5, 0.97),
                            At(box, 0.03, 0.5)};
    p.setPen(OutlinePen());
    p.setBrush(fill);
    p.drawPolygon(diamond);
    const QPolygonF bolt{At(box, 0.56, 0.2), At(box, 0.36, 0.54), At(box, 0.5, 0.54),
                         At(box, 0.42, 0.8), At(box, 0.64, 0.44), At(box, 0.5, 0.44),
                         At(box, 0.58, 0.2)};
    p.setPen(StrokePen(Qt::white, 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(bolt);
}

void OctagonPause(QPainter& p, const QRectF& box, const QColor& fill) {
    QPolygonF oct;
    const QPointF c = box.center();
    const qreal r = box.width() * 0.47;
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(22.5 + 45.0 * i);
        oct << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    }
    p.setPen(OutlinePen());
    p.setBrush(fill);
    p.drawPolygon(oct);
    QPolygonF rim;
    for (const QPointF& v : oct)
        rim << c + (v - c) * 0.86;
    p.setPen(StrokePen(Qt::white, box.width() * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(rim);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(Part(box, 0.34, 0.3, 0.11, 0.4), 1.5, 1.5);
    p.drawRoundedRect(Part(box, 0.55, 0.3, 0.11, 0.4), 1.5, 1.5);
}

void Banknote(QPainter& p, const QRectF& box) {
    const QRectF note = Part(box, 0.04, 0.24, 0.92, 0.52);
    p.setPen(OutlinePen());
    p.setBrush(Palette::kGreen);
    p.drawRoundedRect(note, 2.5, 2.5);
    p.setPen(StrokePen(QColor(0xA8, 0xDC, 0xB6), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(note.adjusted(3, 3, -3, -3), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0xF0, 0xDE));
    p.drawEllipse(note.center(), note.height() * 0.26, note.height() * 0.26);
    p.setBrush(Palette::kGreen);
    p.drawEllipse(note.center(), note.height() * 0.1, note.height() * 0.1);
}

void Card(QPainter& p, const QRectF& box) {
    const QRectF card = Part(box, 0.06, 0.2, 0.88, 0.56);
    p.setPen(OutlinePen());
    p.setBrush(Palette::kBlue);
    p.drawRoundedRect(card, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1B, 0x2A, 0x3A));
    p.drawRect(QRectF(card.left() + 0.75, card.top() + card.height() * 0.18, card.width() - 1.5,
                      card.height() * 0.18)); // magnetic stripe
    p.setBrush(QColor(0xE8, 0xC3, 0x4A));
    p.drawRoundedRect(Part(card, 0.1, 0.5, 0.2, 0.28), 1.5, 1.5); // chip
    p.setBrush(QColor(0xB9, 0xD3, 0xEE));
    p.drawRect(Part(card, 0.42, 0.62, 0.46, 0.09)); // number line
}

void ClockBadge(QPainter& p, const QRectF& box, const QColor& fill) {
    p.setPen(OutlinePen(1.2));
    p.setBrush(fill);
    p.drawEllipse(box);
    p.setPen(StrokePen(Palette::kOutline, qMax(1.2, box.width() * 0.1)));
    const QPointF c = box.center();
    p.drawLine(c, QPointF(c.x(), box.top() + box.height() * 0.22));
    p.drawLine(c, QPointF(box.left() + box.width() * 0.74, c.y()));
}

void LevelArrow(QPainter& p, const QRectF& box, bool up, const QColor& fill) {
    // A level line with waves, and a bold arrow leaving or reaching it.
    const qreal levelY = up ? 0.2 : 0.8;
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Palette::kBlue, box.height() * 0.07));
    QPainterPath wave;
    wave.moveTo(At(box, 0.08, levelY));
    for (int i = 0; i < 4; ++i) {
        const qreal x0 = 0.08 + 0.21 * i;
        wave.quadTo(At(box, x0 + 0.05, levelY - 0.06), At(box, x0 + 0.105, levelY));
        wave.quadTo(At(box, x0 + 0.155, levelY + 0.06), At(box, x0 + 0.21, levelY));
    }
    p.drawPath(wave);
    const qreal tipY = up ? 0.3 : 0.7;
    const qreal tailY = up ? 0.9 : 0.1;
    const qreal headY = up ? 0.56 : 0.44;
    const QPolygonF arrow{At(box, 0.5, tipY),   At(box, 0.8, headY),  At(box, 0.62, headY),
                          At(box, 0.62, tailY), At(box, 0.38, tailY), At(box, 0.38, headY),
                          At(box, 0.2, headY)};
    p.setPen(OutlinePen());
    p.setBrush(fill);
    p.drawPolygon(arrow);
}

void Droplet(QPainter& p, const QRectF& box, const QColor& fill) {
    QPainterPath drop;
    drop.moveTo(At(box, 0.5, 0.04));
    drop.cubicTo(At(box, 0.62, 0.3), At(box, 0.88, 0.5), At(box, 0.86, 0.68));
    drop.cubicTo(At(box, 0.86, 0.88), At(box, 0.68, 0.97), At(box, 0.5, 0.97));
    drop.cubicTo(At(box, 0.32, 0.97), At(box, 0.14, 0.88), At(box, 0.14, 0.68));
    drop.cubicTo(At(box, 0.12, 0.5), At(box, 0.38, 0.3), At(box, 0.5, 0.04));
    p.setPen(OutlinePen(box.width() > 20 ? 1.5 : 1.0));
    p.setBrush(fill);
    p.drawPath(drop);
    p.setPen(StrokePen(QColor(255, 255, 255, 190), qMax(1.0, box.width() * 0.09)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(Part(box, 0.26, 0.5, 0.4, 0.36), 180 * 16, 70 * 16);
}

void RefundArrow(QPainter& p, const QRectF& box, const QColor& fill) {
    // A curved arrow turning back to the left.
    QPainterPath arc;
    arc.moveTo(At(box, 0.3, 0.4));
    arc.lineTo(At(box, 0.62, 0.4));
    arc.cubicTo(At(box, 0.95, 0.4), At(box, 0.95, 0.86), At(box, 0.62, 0.86));
    arc.lineTo(At(box, 0.3, 0.86));
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(fill, box.height() * 0.16));
    p.drawPath(arc);
    const QPolygonF head{At(box, 0.04, 0.4), At(box, 0.38, 0.12), At(box, 0.38, 0.68)};
    p.setPen(StrokePen(fill, 1.0));
    p.setBrush(fill);
    p.drawPolygon(head);
}

void CheckMark(QPainter& p, const QRectF& box, const QColor& color, qreal width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(color, width));
    p.drawPolyline(QPolygonF{At(box, 0.08, 0.52), At(box, 0.38, 0.82), At(box, 0.92, 0.18)});
}

void CrossMark(QPainter& p, const QRectF& box, const QColor& color, qreal width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(color, width));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void Layers(QPainter& p, const QRectF& box, const QColor& fill) {
    // Three stacked sheets seen from above, the top one in full colour.
    const QColor shades[3] = {fill.lighter(160), fill.lighter(130), fill};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 0.5 - 0.17 * i;
        const QPolygonF sheet{At(box, 0.5, y - 0.2), At(box, 0.95, y), At(box, 0.5, y + 0.2),
                              At(box, 0.05, y)};
        p.setPen(OutlinePen(1.2));
        p.setBrush(shades[i]);
        p.drawPolygon(sheet.translated(0, box.height() * 0.17));
    }
}

void KeypadGrid(QPainter& p, const QRectF& box, const QColor& fill) {
    p.setPen(OutlinePen(1.0));
    p.setBrush(fill);
    const qreal cell = box.width() / 3.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRoundedRect(
                QRectF(box.left() + c * cell + 1.5, box.top() + r * cell + 1.5, cell - 3, cell - 3),
                1.5, 1.5);
}

void Plug(QPainter& p, const QRectF& box, const QColor& color) {
    // A plug pulled out of its socket: two halves apart, with a break between them.
    p.setPen(StrokePen(color, box.width() * 0.08));
    p.setBrush(Qt::NoBrush);
    p.drawLine(At(box, 0.04, 0.78), At(box, 0.22, 0.62));
    p.drawLine(At(box, 0.96, 0.22), At(box, 0.78, 0.38));
    p.setPen(OutlinePen(1.2));
    p.setBrush(color);
    QPolygonF left{At(box, 0.14, 0.6), At(box, 0.34, 0.4), At(box, 0.5, 0.56), At(box, 0.3, 0.76)};
    QPolygonF right{At(box, 0.56, 0.34), At(box, 0.7, 0.2), At(box, 0.86, 0.36),
                    At(box, 0.72, 0.5)};
    p.drawPolygon(left);
    p.drawPolygon(right);
    p.setPen(StrokePen(color, box.width() * 0.06));
    p.drawLine(At(box, 0.42, 0.48), At(box, 0.5, 0.4));
    p.drawLine(At(box, 0.5, 0.56), At(box, 0.58, 0.48));
    p.setPen(StrokePen(Palette::kRed, box.width() * 0.05));
    p.drawLine(At(box, 0.54, 0.62), At(box, 0.64, 0.72));
    p.drawLine(At(box, 0.62, 0.56), At(box, 0.76, 0.6));
}

void Nozzle(QPainter& p, QPointF tip, qreal degrees, QPointF hoseEnd, const QColor& handle) {
    QTransform t;
    t.translate(tip.x(), tip.y());
    t.rotate(degrees);
    const QPointF hoseStart = t.map(QPointF(0, 34));
    const QPointF hoseBend = t.map(QPointF(0, 46));
    // Hose first, so the handle covers its end.
    QPainterPath hose;
    hose.moveTo(hoseStart);
    hose.quadTo(hoseBend, hoseEnd);
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Palette::kOutline, 5));
    p.drawPath(hose);
    p.setPen(StrokePen(QColor(0x4A, 0x50, 0x58), 2.5));
    p.drawPath(hose);

    p.save();
    p.setTransform(t, true);
    p.setPen(OutlinePen(1.0));
    p.setBrush(Palette::kSteel);
    p.drawRoundedRect(QRectF(-2, 0, 4, 14), 1.5, 1.5); // spout
    p.setBrush(handle);
    QPainterPath grip;
    grip.moveTo(-5, 12);
    grip.lineTo(5, 12);
    grip.lineTo(6, 34);
    grip.lineTo(-6, 34);
    grip.closeSubpath();
    p.drawPath(grip);
    // Trigger guard on the side of the grip.
    p.setBrush(Qt::NoBrush);
    p.setPen(StrokePen(Palette::kOutline, 2));
    QPainterPath guard;
    guard.moveTo(-5, 16);
    guard.cubicTo(-14, 18, -14, 30, -6, 31);
    p.drawPath(guard);
    p.restore();
}

} // namespace Art
} // namespace Halvora
