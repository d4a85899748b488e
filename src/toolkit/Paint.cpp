#include "toolkit/Paint.h"

#include <QLinearGradient>
#include <QPainter>

#include "toolkit/Theme.h"

namespace quorvel {

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

QFont PixelFont(const QFont& base, qreal pixels, QFont::Weight weight) {
    QFont font = base;
    font.setPixelSize(qMax(1, qRound(pixels)));
    font.setWeight(weight);
    return font;
}

void PaintCard(QPainter& p, const QRectF& rect, qreal radius, CardState state) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    QColor top = palette::kRaised;
    QColor bottom = palette::kSurface;
    QColor border = palette::kBorder;
    if (state == CardState::Hot) {
        top = palette::kHover;
        border = border.lighter(130);
    } else if (state == CardState::Selected) {
        top = palette::kRaised.lighter(112);
        border = AccentColor();
    } else if (state == CardState::Disabled) {
        top = palette::kSurface;
    }
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(border, state == CardState::Selected ? 1.5 : 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    if (state == CardState::Selected) {
        QLinearGradient glow(r.topLeft(), r.bottomLeft());
        glow.setColorAt(0, WithAlpha(AccentColor(), 0));
        glow.setColorAt(1, WithAlpha(AccentColor(), 46));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(r, radius, radius);
    }
    p.restore();
}

void DrawElided(QPainter& p, const QRectF& rect, int flags, const QString& text) {
    const QString shown =
        p.fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, static_cast<int>(rect.width())));
    p.drawText(rect, flags | Qt::TextSingleLine, shown);
}

}  // namespace quorvel
