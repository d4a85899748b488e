#include "toolkit/DPISlider.h"

#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

DPISlider::DPISlider(QWidget* parent) : SkinSlider(parent) {
    SetRange(0, 520);
}

void DPISlider::SetDPIDesc(const QString& maximum, const QString& step) {
    maximumText_ = maximum;
    stepText_ = step;
    update();
}

void DPISlider::SetValueText(const QString& text) {
    valueText_ = text;
    update();
}

qreal DPISlider::LabelHeight() const {
    return maximumText_.isEmpty() && stepText_.isEmpty() ? 0 : qBound(14.0, height() * 0.34, 22.0);
}

void DPISlider::PaintDecorations(QPainter& p) {
    const QRectF track = TrackRect();
    const qreal label = LabelHeight();
    if (label > 0) {
        p.setFont(PixelFont(font(), label * 0.62));
        p.setPen(palette::kTextDim);
        const QRectF row(track.left(), height() - label, track.width(), label);
        p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, stepText_);
        p.drawText(row, Qt::AlignRight | Qt::AlignVCenter, maximumText_);
    }
    if (!valueText_.isEmpty() && (IsDragging() || hasFocus())) {
        // A small bubble with the value rides above the thumb while it moves.
        p.setFont(PixelFont(font(), qBound(10.0, ThumbSize() * 0.55, 14.0), QFont::DemiBold));
        const qreal w = p.fontMetrics().horizontalAdvance(valueText_) + 14;
        const qreal h = p.fontMetrics().height() + 4;
        const qreal x = qBound(0.0, PositionX(GetProgress()) - w / 2, width() - w);
        const QRectF bubble(x, track.top() - ThumbSize() / 2 - h - 2, w, h);
        if (bubble.top() >= 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(AccentColor());
            p.drawRoundedRect(bubble, h / 2, h / 2);
            p.setPen(palette::kWindow);
            p.drawText(bubble, Qt::AlignCenter, valueText_);
        }
    }
}

}  // namespace quorvel
