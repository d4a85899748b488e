#include "toolkit/MPalette.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

MPalette::MPalette(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    SetSelectColor(0xFFFFFF);
}

void MPalette::SetSelectColor(int colour) {
    colour_ = colour & 0xFFFFFF;
    const QColor c = ColorFromRef(colour_);
    if (c.hsvHueF() >= 0) hue_ = c.hsvHueF();
    saturation_ = c.hsvSaturationF();
    value_ = c.valueF();
    update();
}

QSize MPalette::sizeHint() const {
    return QSize(170, 160);
}

QRectF MPalette::StripRect() const {
    const qreal w = qMax(12.0, width() * 0.09);
    return QRectF(width() - w, 0, w, height()).adjusted(0.5, 0.5, -0.5, -0.5);
}

QRectF MPalette::FieldRect() const {
    const QRectF strip = StripRect();
    return QRectF(0, 0, strip.left() - 8, height()).adjusted(0.5, 0.5, -0.5, -0.5);
}

void MPalette::Apply(qreal hue, qreal saturation, qreal value, bool release) {
    hue_ = hue;
    saturation_ = saturation;
    value_ = value;
    colour_ = ColorToRef(QColor::fromHsvF(hue_, saturation_, value_));
    update();
    emit colorChanging(colour_);
    if (release) emit colorPicked(colour_);
}

namespace {
// The field and the strip are drawn a pixel row at a time; a point picks the value its row shows.
qreal Fraction(qreal offset, qreal length) {
    const int cells = qMax(1, static_cast<int>(length));
    const int cell = qBound(0, static_cast<int>(std::floor(offset)), cells - 1);
    return cells > 1 ? cell / qreal(cells - 1) : 0.0;
}
}  // namespace

void MPalette::TrackTo(const QPointF& pos) {
    if (dragging_ == Part::Field) {
        const QRectF f = FieldRect();
        const qreal hue = qMin(0.9999, Fraction(pos.x() - f.left(), f.width()));
        const qreal saturation = 1.0 - Fraction(pos.y() - f.top(), f.height());
        // Picking in the field from black would show nothing; it brings the light up.
        Apply(hue, saturation, value_ < 0.05 ? 1.0 : value_, false);
    } else if (dragging_ == Part::Strip) {
        const QRectF s = StripRect();
        Apply(hue_, saturation_, 1.0 - Fraction(pos.y() - s.top(), s.height()), false);
    }
}

void MPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF pos = event->position();
    // The edges take a press too: the last row of each is where a user aims for the extremes.
    dragging_ = StripRect().adjusted(-4, -4, 4, 4).contains(pos)   ? Part::Strip
                : FieldRect().adjusted(-2, -2, 2, 2).contains(pos) ? Part::Field
                                                                   : Part::None;
    TrackTo(pos);
}

void MPalette::mouseMoveEvent(QMouseEvent* event) {
    TrackTo(event->position());
}

void MPalette::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ == Part::None || event->button() != Qt::LeftButton) return;
    TrackTo(event->position());
    dragging_ = Part::None;
    emit colorPicked(colour_);
}

void MPalette::keyPressEvent(QKeyEvent* event) {
    qreal hue = hue_, saturation = saturation_, value = value_;
    switch (event->key()) {
        case Qt::Key_Left:
            hue = qMax(0.0, hue - 1.0 / 72);
            break;
        case Qt::Key_Right:
            hue = qMin(0.9999, hue + 1.0 / 72);
            break;
        case Qt::Key_Up:
            saturation = qMin(1.0, saturation + 0.05);
            break;
        case Qt::Key_Down:
            saturation = qMax(0.0, saturation - 0.05);
            break;
        case Qt::Key_PageUp:
            value = qMin(1.0, value + 0.05);
            break;
        case Qt::Key_PageDown:
            value = qMax(0.0, value - 0.05);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    Apply(hue, saturation, value, true);
}

void MPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF f = FieldRect();
    const qreal dpr = devicePixelRatioF();
    const QSize pixels((f.size() * dpr).toSize());
    if (field_.size() != pixels && !pixels.isEmpty()) {
        field_ = QImage(pixels, QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
            const qreal saturation = 1.0 - y / qreal(qMax(1, pixels.height() - 1));
            for (int x = 0; x < pixels.width(); ++x) {
                line[x] = QColor::fromHsvF(qMin(0.9999, x / qreal(pixels.width())), saturation, 1.0).rgb();
            }
        }
        field_.setDevicePixelRatio(dpr);
    }
    QPainterPath clip;
    clip.addRoundedRect(f, 8, 8);
    p.save();
    p.setClipPath(clip);
    p.drawImage(f.topLeft(), field_);
    p.restore();
    p.setPen(QPen(palette::kBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(f, 8, 8);

    const QRectF s = StripRect();
    QLinearGradient strip(s.topLeft(), s.bottomLeft());
    strip.setColorAt(0, QColor::fromHsvF(hue_, saturation_, 1.0));
    strip.setColorAt(1, Qt::black);
    p.setBrush(strip);
    p.drawRoundedRect(s, s.width() / 2, s.width() / 2);

    // Markers: a ring on the field, a bar on the strip.
    const QPointF mark(f.left() + hue_ * f.width(), f.top() + (1.0 - saturation_) * f.height());
    p.setBrush(ColorFromRef(colour_));
    p.setPen(QPen(Qt::black, 3));
    p.drawEllipse(mark, 7, 7);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawEllipse(mark, 7, 7);
    const qreal y = s.top() + (1.0 - value_) * s.height();
    const QRectF bar(s.left() - 3, qBound(s.top(), y - 3, s.bottom() - 6), s.width() + 6, 6);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(bar, 3, 3);
    if (hasFocus()) {
        p.setPen(QPen(AccentColor(), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(f.adjusted(-0.5, -0.5, 0.5, 0.5), 8, 8);
    }
}

}  // namespace quorvel
