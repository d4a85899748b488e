#include "toolkit/BatteryCtrl.h"

#include <QPainter>
#include <QPainterPath>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
QColor LevelColour(int level) {
    if (level < 20) return palette::kDanger;
    if (level < 40) return palette::kWarn;
    return palette::kGood;
}
}  // namespace

void PaintBatteryCell(QPainter& p, const QRectF& rect, int level, int status, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal cap = rect.width() * 0.08;
    const QRectF body(rect.left(), rect.top(), rect.width() - cap - 1, rect.height());
    const qreal radius = body.height() * 0.22;
    const QColor outline = enabled ? palette::kText.darker(120) : palette::kTextDisabled;
    p.setPen(QPen(outline, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(0.7, 0.7, -0.7, -0.7), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawRoundedRect(
        QRectF(body.right() + 1, body.center().y() - body.height() * 0.2, cap, body.height() * 0.4),
        cap * 0.4, cap * 0.4);
    const int shown = qBound(0, level, 100);
    if (shown > 0) {
        const QRectF inner = body.adjusted(3, 3, -3, -3);
        p.setBrush(enabled ? LevelColour(shown) : palette::kTextDisabled);
        p.drawRoundedRect(QRectF(inner.left(), inner.top(), inner.width() * shown / 100.0, inner.height()),
                          radius * 0.5, radius * 0.5);
    }
    if (status == 1) {
        const QRectF b = body.adjusted(body.width() * 0.3, 2, -body.width() * 0.3, -2);
        QPainterPath bolt;
        bolt.moveTo(b.left() + b.width() * 0.62, b.top());
        bolt.lineTo(b.left() + b.width() * 0.18, b.top() + b.height() * 0.56);
        bolt.lineTo(b.left() + b.width() * 0.5, b.top() + b.height() * 0.56);
        bolt.lineTo(b.left() + b.width() * 0.38, b.bottom());
        bolt.lineTo(b.left() + b.width() * 0.82, b.top() + b.height() * 0.44);
        bolt.lineTo(b.left() + b.width() * 0.5, b.top() + b.height() * 0.44);
        bolt.closeSubpath();
        p.setPen(QPen(palette::kWindow, 1));
        p.setBrush(palette::kText);
        p.drawPath(bolt);
    }
    p.restore();
}

BatteryCtrl::BatteryCtrl(QWidget* parent) : QWidget(parent) {}

void BatteryCtrl::SetBatteryInfo(int level, int status) {
    if (level == level_ && status == status_) return;
    level_ = level;
    status_ = status;
    update();
}

QString BatteryCtrl::LevelText() const {
    return level_ > 0 ? QStringLiteral("%1%").arg(qMin(level_, 100)) : QStringLiteral("-");
}

QSize BatteryCtrl::sizeHint() const {
    return QSize(96, 24);
}

void BatteryCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = qMin(height() * 0.62, 18.0);
    const QRectF cell(2, (height() - h) / 2, h * 2.0, h);
    PaintBatteryCell(p, cell, level_, status_, isEnabled());
    p.setFont(PixelFont(font(), qBound(10.0, height() * 0.5, 15.0), QFont::DemiBold));
    p.setPen(isEnabled() ? palette::kText : palette::kTextDisabled);
    p.drawText(QRectF(cell.right() + 8, 0, width() - cell.right() - 8, height()),
               Qt::AlignLeft | Qt::AlignVCenter, LevelText());
}

}  // namespace quorvel
