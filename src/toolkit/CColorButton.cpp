#include "toolkit/CColorButton.h"

#include <QButtonGroup>
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

void CColorButton::SetGroup(QButtonGroup* group) {
    if (QButtonGroup* old = this->group()) old->removeButton(this);
    setCheckable(group != nullptr);
    if (group) group->addButton(this);
}

void CColorButton::SetGroup(const QString& name) {
    QButtonGroup* group = nullptr;
    if (!name.isEmpty() && parentWidget()) {
        const QString key = QStringLiteral("colour group ") + name;
        group = parentWidget()->findChild<QButtonGroup*>(key, Qt::FindDirectChildrenOnly);
        if (!group) {
            group = new QButtonGroup(parentWidget());
            group->setObjectName(key);
        }
    }
    SetGroup(group);
}

void CColorButton::SetCheck(bool checked) {
    QButtonGroup* group = this->group();
    if (checked || !group || !isChecked()) {
        setChecked(checked);
        return;
    }
    // An exclusive group keeps its checked button: let go for the moment it takes to uncheck it.
    group->setExclusive(false);
    setChecked(false);
    group->setExclusive(true);
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
