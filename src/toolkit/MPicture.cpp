#include "toolkit/MPicture.h"

#include <QPainter>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

MPicture::MPicture(QWidget* parent) : QWidget(parent), fallback_(palette::kSurface) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

MPicture::MPicture(const QString& image, Mode mode, QWidget* parent) : MPicture(parent) {
    image_ = image;
    mode_ = mode;
}

void MPicture::SetImage(const QString& name) {
    if (name == image_) return;
    image_ = name;
    updateGeometry();
    update();
}

void MPicture::SetMode(Mode mode, const QMargins& frame) {
    mode_ = mode;
    frame_ = frame;
    update();
}

void MPicture::SetFallbackColor(const QColor& colour) {
    fallback_ = colour;
    update();
}

QSize MPicture::ImageSize() const {
    return image_.isEmpty() ? QSize() : Skin::Instance().NaturalSize(image_);
}

QSize MPicture::sizeHint() const {
    const QSize size = ImageSize();
    return size.isEmpty() ? QSize(64, 64) : size;
}

void MPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    bool drawn = false;
    if (!image_.isEmpty()) {
        switch (mode_) {
            case Mode::Stretch:
                drawn = Skin::Instance().Paint(p, rect(), image_);
                break;
            case Mode::Fit:
                drawn = Skin::Instance().PaintFit(p, rect(), image_);
                break;
            case Mode::Frame:
                drawn = Skin::Instance().PaintFrame(p, rect(), image_, frame_);
                break;
        }
    }
    if (!drawn && fallback_.isValid()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(fallback_);
        const qreal radius = mode_ == Mode::Frame ? qMin(12, frame_.left()) : 0;
        p.drawRoundedRect(QRectF(rect()), radius, radius);
    }
}

}  // namespace quorvel
