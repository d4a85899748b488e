#include "toolkit/ItemPicker.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quorvel {

ItemPicker::ItemPicker(Qt::Orientation keys, QWidget* parent) : QWidget(parent), keys_(keys) {}

int ItemPicker::IndexAt(const QPointF& pos) const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (HitRect(i).contains(pos)) return i;
    }
    return -1;
}

void ItemPicker::Select(int index) {
    selected_ = index;
    update();
}

int ItemPicker::StepTarget(int step) const {
    for (int i = Current() + step; i >= 0 && i < ItemCount(); i += step) {
        if (CanPick(i)) return i;
    }
    return -1;
}

void ItemPicker::Pick(int index) {
    if (!CanPick(index)) return;
    Select(index);
    // A screen reader follows the keys from item to item.
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
    Picked(index);
}

void ItemPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Pick(IndexAt(event->position()));
}

void ItemPicker::mouseMoveEvent(QMouseEvent* event) {
    const int hover = IndexAt(event->position());
    if (hover == hover_) return;
    hover_ = hover;
    setCursor(hover >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void ItemPicker::leaveEvent(QEvent*) {
    hover_ = -1;
    update();
}

void ItemPicker::keyPressEvent(QKeyEvent* event) {
    const bool horizontal = keys_ == Qt::Horizontal;
    const int back = horizontal ? Qt::Key_Left : Qt::Key_Up,
              forth = horizontal ? Qt::Key_Right : Qt::Key_Down;
    const int step = event->key() == forth ? 1 : event->key() == back ? -1 : 0;
    const int target = step != 0 ? StepTarget(step) : -1;
    if (target < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    Stepped(target);
}

}  // namespace quorvel
