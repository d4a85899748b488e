#include "toolkit/CImageButton.h"

#include <QPainter>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

CImageButton::CImageButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

CImageButton::CImageButton(const QString& image, Glyph fallback, QWidget* parent) : CImageButton(parent) {
    image_ = image;
    glyph_ = fallback;
}

void CImageButton::SetImage(const QString& name) {
    if (image_ == name) return;
    image_ = name;
    update();
}

void CImageButton::SetGlyph(Glyph glyph) {
    glyph_ = glyph;
    update();
}

void CImageButton::SetHoverColor(const QColor& colour) {
    hover_ = colour;
    update();
}

void CImageButton::SetTintImage(bool tint) {
    tint_ = tint;
    update();
}

QSize CImageButton::sizeHint() const {
    return QSize(30, 30);
}

void CImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool enabled = isEnabled();
    const bool hot = enabled && underMouse();
    const bool down = enabled && isDown();
    const qreal radius = qMin(r.width(), r.height()) * 0.22;

    if (hot || down || isChecked() || hasFocus()) {
        QColor back = hover_.isValid() && (hot || down) ? hover_ : palette::kHover;
        if (isChecked() && !hot) back = AccentColor().darker(250);
        if (down) back = back.darker(125);
        if (!hot && !down && !isChecked()) back.setAlpha(0);  // focus only: outline below
        p.setPen(Qt::NoPen);
        p.setBrush(back);
        p.drawRoundedRect(r, radius, radius);
        if (hasFocus()) {
            p.setPen(QPen(AccentColor(), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        }
    }

    QColor ink = palette::kTextDim;
    if (hot || down || isChecked()) ink = palette::kText;
    if (!enabled) ink = palette::kTextDisabled;
    if (hover_.isValid() && (hot || down)) ink = Qt::white;

    if (!enabled) p.setOpacity(0.45);
    bool drawn = false;
    if (!image_.isEmpty()) {
        drawn =
            tint_ ? Skin::Instance().PaintTinted(p, r, image_, ink) : Skin::Instance().PaintFit(p, r, image_);
    }
    if (!drawn) {
        const qreal side = qMin(r.width(), r.height()) * 0.72;
        PaintGlyph(p, QRectF(r.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), glyph_, ink);
        if (glyph_ == Glyph::None && !text().isEmpty()) {
            p.setPen(ink);
            p.drawText(r, Qt::AlignCenter, text());
        }
    }
}

}  // namespace quorvel
