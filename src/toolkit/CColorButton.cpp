#include "toolkit/CColorButton.h"

#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

CColorButton::CColorButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

CColorButton::CColorButton(int colour, const QString& group, QWidget* parent) : CColorButton(parent) {
    colour_ = colour;
    SetGroup(group);
}

void CColorButton::SetColor(int colour) {
    colour_ = colour;
    update();
}

void CColorButton::SetGroup(const QString& group) {
    group_ = group;
    setCheckable(!group.isEmpty());
}

void CColorButton::SetCheck(bool checked) {
    if (checked) UncheckSiblings();
    setChecked(checked);
}

void CColorButton::UncheckSiblings() {
    if (group_.isEmpty() || !parentWidget()) return;
    const auto siblings = parentWidget()->findChildren<CColorButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (CColorButton* other : siblings) {
        if (other != this && other->group_ == group_ && other->isChecked()) other->setChecked(false);
    }
}

void CColorButton::nextCheckState() {
    if (group_.isEmpty()) return;
    UncheckSiblings();
    setChecked(true);
}

QSize CColorButton::sizeHint() const {
    return QSize(26, 26);
}

void CColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal inset = qMax(3.0, r.width() * 0.14);
    const QRectF swatch = r.adjusted(inset, inset, -inset, -inset);
    const qreal radius = swatch.width() * 0.3;
    const QColor colour = ColorFromRef(colour_);
    if (isChecked()) {
        p.setPen(QPen(AccentColor(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius + 2, radius + 2);
    } else if (underMouse() && isEnabled()) {
        p.setPen(QPen(WithAlpha(palette::kText, 120), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius + 2, radius + 2);
    }
    if (!isEnabled()) p.setOpacity(0.4);
    p.setPen(QPen(WithAlpha(Qt::white, isDown() ? 160 : 60), 1));
    p.setBrush(colour);
    p.drawRoundedRect(swatch, radius, radius);
    if (hasFocus()) {
        p.setPen(QPen(palette::kText, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, radius + 3, radius + 3);
    }
}

}  // namespace quorvel
