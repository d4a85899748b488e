#include "ui/DialogButton.h"

#include <QPainter>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

DialogButton::DialogButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void DialogButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hot = isEnabled() && underMouse();
    const bool down = isEnabled() && isDown();

    const int edge = qMin(height() / 2, 12);
    const bool skinned = Skin::Instance().PaintFrame(p, rect(), image_, QMargins(edge, edge, edge, edge));
    if (!skinned) {
        QColor fill = primary_ ? AccentColor() : palette::kRaised;
        if (hot) fill = primary_ ? fill.lighter(112) : palette::kHover;
        if (down) fill = fill.darker(120);
        p.setPen(primary_ ? Qt::NoPen : QPen(palette::kBorder, 1));
        p.setBrush(fill);
        const qreal radius = r.height() / 2;
        p.drawRoundedRect(r, radius, radius);
    } else if (hot || down) {
        p.fillRect(r, QColor(255, 255, 255, down ? 20 : 32));
    }
    if (hasFocus()) {
        p.setPen(QPen(primary_ ? palette::kText : AccentColor(), 1.2));
        p.setBrush(Qt::NoBrush);
        const qreal radius = (r.height() - 3) / 2;
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
    }
    // Dark ink on the drawn accent button; the skin's button image is dark like the rest of the skin.
    QColor ink = primary_ && !skinned ? QColor(0x06, 0x14, 0x1C) : palette::kText;
    if (!isEnabled()) ink = palette::kTextDisabled;
    p.setPen(ink);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace quorvel
