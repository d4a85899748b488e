#include "toolkit/SkinSlider.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

SkinSlider::SkinSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void SkinSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = qMax(minimum, maximum);
    position_ = qBound(minimum_, position_, maximum_);
    update();
}

void SkinSlider::SetProgress(int position) {
    position = qBound(minimum_, position, maximum_);
    if (position == position_) return;
    position_ = position;
    update();
}

QSize SkinSlider::sizeHint() const {
    return QSize(320, qRound(ThumbSize() + 12 + LabelHeight()));
}
QSize SkinSlider::minimumSizeHint() const {
    return QSize(80, qRound(ThumbSize() + LabelHeight()));
}

qreal SkinSlider::ThumbSize() const {
    return qBound(16.0, (height() - LabelHeight()) * 0.7, 26.0);
}

QRectF SkinSlider::TrackRect() const {
    const qreal thumb = ThumbSize();
    const qreal y = (height() - LabelHeight()) / 2;
    return QRectF(thumb / 2 + 1, y, width() - thumb - 2, 0);
}

qreal SkinSlider::PositionX(int position) const {
    const QRectF track = TrackRect();
    if (maximum_ == minimum_) return track.left();
    return track.left() + track.width() * (position - minimum_) / qreal(maximum_ - minimum_);
}

int SkinSlider::PositionAt(qreal x) const {
    const QRectF track = TrackRect();
    if (track.width() <= 0) return minimum_;
    const qreal ratio = qBound(0.0, (x - track.left()) / track.width(), 1.0);
    return minimum_ + qRound(ratio * (maximum_ - minimum_));
}

void SkinSlider::MoveTo(int position) {
    position = qBound(minimum_, position, maximum_);
    if (position == position_) return;
    position_ = position;
    update();
    emit progressMoved(position_);
}

void SkinSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const qreal x = event->position().x();
    const qreal thumbX = PositionX(position_);
    dragging_ = true;
    // Grabbing the thumb keeps it under the pointer; a press on the track jumps there.
    if (qAbs(x - thumbX) <= ThumbSize() / 2) {
        grabOffset_ = x - thumbX;
    } else {
        grabOffset_ = 0;
        MoveTo(PositionAt(x));
    }
    update();
}

void SkinSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    MoveTo(PositionAt(event->position().x() - grabOffset_));
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    MoveTo(PositionAt(event->position().x() - grabOffset_));
    update();
    emit progressReleased(position_);
}

void SkinSlider::keyPressEvent(QKeyEvent* event) {
    int target = position_;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            target -= 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            target += 1;
            break;
        case Qt::Key_PageDown:
            target -= pageStep_;
            break;
        case Qt::Key_PageUp:
            target += pageStep_;
            break;
        case Qt::Key_Home:
            target = minimum_;
            break;
        case Qt::Key_End:
            target = maximum_;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    const int before = position_;
    MoveTo(target);
    if (position_ != before) emit progressReleased(position_);
}

void SkinSlider::wheelEvent(QWheelEvent* event) {
    // Only a focused slider takes the wheel, so scrolling a page never changes a setting by accident.
    if (!hasFocus() || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const int before = position_;
    MoveTo(position_ + (event->angleDelta().y() > 0 ? 1 : -1));
    if (position_ != before) emit progressReleased(position_);
}

void SkinSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = TrackRect();
    const qreal thickness = qMax(4.0, ThumbSize() * 0.24);
    const QRectF groove(track.left(), track.top() - thickness / 2, track.width(), thickness);
    const qreal x = PositionX(position_);
    const QColor accent = isEnabled() ? AccentColor() : palette::kTextDisabled;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x07, 0x09, 0x0D));
    p.drawRoundedRect(groove.adjusted(-1, -1, 1, 1), thickness / 2 + 1, thickness / 2 + 1);
    p.setBrush(palette::kBorder);
    p.drawRoundedRect(groove, thickness / 2, thickness / 2);
    if (x > groove.left()) {
        QLinearGradient fill(groove.topLeft(), QPointF(x, groove.top()));
        fill.setColorAt(0, accent.darker(160));
        fill.setColorAt(1, accent);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(groove.left(), groove.top(), x - groove.left(), groove.height()),
                          thickness / 2, thickness / 2);
    }
    PaintDecorations(p);

    const qreal size = ThumbSize();
    const QRectF thumb(x - size / 2, track.top() - size / 2, size, size);
    if (hasFocus() || dragging_) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(accent, dragging_ ? 70 : 40));
        p.drawEllipse(thumb.adjusted(-5, -5, 5, 5));
    }
    if (!isEnabled()) p.setOpacity(0.5);
    if (!Skin::Instance().PaintFit(p, thumb, QStringLiteral("img_slider_bar.png"))) {
        p.setPen(QPen(accent, 2.2));
        p.setBrush(palette::kText);
        p.drawEllipse(thumb.adjusted(1.5, 1.5, -1.5, -1.5));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(thumb.center(), size * 0.14, size * 0.14);
    }
}

}  // namespace quorvel
