#include "toolkit/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace quorvel {

namespace {

// A glyph is drawn on a 24x24 grid scaled into the largest centred square of the rectangle.
void Arrow(QPainter& p, qreal dx, qreal dy) {
    // Chevron pointing along (dx, dy).
    const QPointF c(12, 12);
    const QPointF tip = c + QPointF(dx, dy) * 3.5;
    const QPointF back = c - QPointF(dx, dy) * 3.5;
    const QPointF side(-dy * 6, dx * 6);
    p.drawPolyline(QPolygonF({back + side, tip, back - side}));
}

void Gear(QPainter& p) {
    QPainterPath path;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal angle = i * M_PI / kTeeth;
        const qreal r = (i % 2 == 0) ? 8.5 : 6.8;
        const qreal a0 = angle - M_PI / (kTeeth * 2.6);
        const qreal a1 = angle + M_PI / (kTeeth * 2.6);
        const QPointF p0(12 + r * qCos(a0), 12 + r * qSin(a0));
        const QPointF p1(12 + r * qCos(a1), 12 + r * qSin(a1));
        if (i == 0) {
            path.moveTo(p0);
        } else {
            path.lineTo(p0);
        }
        path.lineTo(p1);
    }
    path.closeSubpath();
    p.drawPath(path);
    p.drawEllipse(QPointF(12, 12), 2.8, 2.8);
}

void MouseOutline(QPainter& p) {
    p.drawRoundedRect(QRectF(7, 3.5, 10, 17), 5, 5);
    p.drawLine(QPointF(12, 3.5), QPointF(12, 9));
}

}  // namespace

void PaintGlyph(QPainter& painter, const QRectF& rect, Glyph glyph, const QColor& colour) {
    if (glyph == Glyph::None || rect.isEmpty()) return;
    const qreal side = qMin(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center() - QPointF(side / 2, side / 2));
    painter.scale(side / 24.0, side / 24.0);
    QPen pen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto& p = painter;
    switch (glyph) {
        case Glyph::None:
            break;
        case Glyph::Close:
            p.drawLine(QPointF(7, 7), QPointF(17, 17));
            p.drawLine(QPointF(17, 7), QPointF(7, 17));
            break;
        case Glyph::Minimise:
            p.drawLine(QPointF(7, 12.5), QPointF(17, 12.5));
            break;
        case Glyph::Maximise:
            p.drawRoundedRect(QRectF(7, 7, 10, 10), 1.5, 1.5);
            break;
        case Glyph::Restore:
            p.drawRoundedRect(QRectF(6.5, 9.5, 8, 8), 1.5, 1.5);
            p.drawPolyline(QPolygonF({QPointF(9.5, 9.5), QPointF(9.5, 6.5), QPointF(17.5, 6.5),
                                      QPointF(17.5, 14.5), QPointF(14.5, 14.5)}));
            break;
        case Glyph::Settings:
            Gear(p);
            break;
        case Glyph::Previous:
            Arrow(p, -1, 0);
            break;
        case Glyph::Next:
            Arrow(p, 1, 0);
            break;
        case Glyph::Up:
            Arrow(p, 0, -1);
            break;
        case Glyph::Down:
            Arrow(p, 0, 1);
            break;
        case Glyph::More:
            p.setBrush(colour);
            p.setPen(Qt::NoPen);
            for (qreal x : {6.0, 12.0, 18.0}) p.drawEllipse(QPointF(x, 12), 1.8, 1.8);
            break;
        case Glyph::Reset: {
            p.drawArc(QRectF(5.5, 5.5, 13, 13), 100 * 16, 290 * 16);
            const QPointF end(12 + 6.5 * qCos(qDegreesToRadians(100.0)),
                              12 - 6.5 * qSin(qDegreesToRadians(100.0)));
            p.drawPolyline(QPolygonF({end + QPointF(-3.5, -2.2), end, end + QPointF(-1.2, 3.6)}));
            break;
        }
        case Glyph::Record:
            p.setBrush(colour);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(12, 12), 6, 6);
            break;
        case Glyph::Stop:
            p.setBrush(colour);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 2, 2);
            break;
        case Glyph::List:
            for (qreal y : {7.0, 12.0, 17.0}) {
                p.drawPoint(QPointF(6, y));
                p.drawLine(QPointF(9.5, y), QPointF(18, y));
            }
            break;
        case Glyph::Home:
            p.drawPolyline(QPolygonF({QPointF(4.5, 11.5), QPointF(12, 5), QPointF(19.5, 11.5)}));
            p.drawPolyline(QPolygonF({QPointF(7, 10), QPointF(7, 19), QPointF(17, 19), QPointF(17, 10)}));
            p.drawLine(QPointF(12, 19), QPointF(12, 15));
            break;
        case Glyph::Keys:
            MouseOutline(p);
            p.drawLine(QPointF(7.5, 9), QPointF(16.5, 9));
            break;
        case Glyph::Dpi:
            p.drawEllipse(QPointF(12, 12), 7, 7);
            p.drawLine(QPointF(12, 12), QPointF(16, 8));
            p.drawPoint(QPointF(12, 12));
            break;
        case Glyph::Macro:
            p.drawRoundedRect(QRectF(4, 7, 16, 10), 2, 2);
            for (qreal x : {7.5, 11.0, 14.5}) p.drawPoint(QPointF(x, 10.5));
            p.drawLine(QPointF(8, 14), QPointF(16, 14));
            break;
        case Glyph::Light:
            p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * M_PI / 4;
                p.drawLine(QPointF(12 + 6 * qCos(a), 12 + 6 * qSin(a)),
                           QPointF(12 + 8.5 * qCos(a), 12 + 8.5 * qSin(a)));
            }
            break;
        case Glyph::Info:
            p.drawEllipse(QPointF(12, 12), 8, 8);
            p.drawLine(QPointF(12, 11), QPointF(12, 16));
            p.drawPoint(QPointF(12, 8));
            break;
        case Glyph::Help:
            p.drawEllipse(QPointF(12, 12), 8, 8);
            p.drawArc(QRectF(9.5, 7, 5, 5), 180 * 16, -250 * 16);
            p.drawLine(QPointF(12, 12.2), QPointF(12, 13.5));
            p.drawPoint(QPointF(12, 16.5));
            break;
        case Glyph::Delay:
            p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
            p.drawPolyline(QPolygonF({QPointF(12, 8), QPointF(12, 12), QPointF(15, 14)}));
            break;
        case Glyph::Mouse:
            MouseOutline(p);
            break;
        case Glyph::Keyboard:
            p.drawRoundedRect(QRectF(3.5, 7, 17, 10), 2, 2);
            for (qreal x : {7.0, 10.0, 13.0, 16.0}) p.drawPoint(QPointF(x, 10.5));
            p.drawLine(QPointF(8.5, 13.8), QPointF(15.5, 13.8));
            break;
        case Glyph::Check:
            p.drawPolyline(QPolygonF({QPointF(6, 12.5), QPointF(10, 16.5), QPointF(18, 8)}));
            break;
    }
    painter.restore();
}

}  // namespace quorvel
