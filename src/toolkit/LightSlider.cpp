#include "toolkit/LightSlider.h"

#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

LightSlider::LightSlider(QWidget* parent) : SkinSlider(parent) {
    SetRange(0, 4);
    SetPageStep(1);
}

void LightSlider::PaintDecorations(QPainter& p) {
    const int span = GetMaximum() - GetMinimum();
    if (span <= 0 || span > 20) return;
    const QRectF track = TrackRect();
    const qreal r = qMax(1.6, ThumbSize() * 0.1);
    p.setPen(Qt::NoPen);
    for (int position = GetMinimum(); position <= GetMaximum(); ++position) {
        const bool passed = position <= GetProgress();
        p.setBrush(passed && isEnabled() ? palette::kText : palette::kTextDim);
        p.drawEllipse(QPointF(PositionX(position), track.top()), r, r);
    }
}

}  // namespace quorvel
