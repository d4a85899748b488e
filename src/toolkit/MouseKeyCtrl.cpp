#include "toolkit/MouseKeyCtrl.h"

#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr qreal kGap = 6;
}

MouseKeyCtrl::MouseKeyCtrl(QWidget* parent) : ItemPicker(Qt::Vertical, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void MouseKeyCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hover_ = -1;
    update();
}

int MouseKeyCtrl::AddItem(const QString& caption, const QString& description, int keyCode) {
    items_.push_back({caption, description, keyCode});
    updateGeometry();
    update();
    return GetItemCount() - 1;
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].keyCode : -1;
}

QString MouseKeyCtrl::GetItemKeyName(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].caption : QString();
}

void MouseKeyCtrl::SetItemKeyName(int index, const QString& caption) {
    if (index < 0 || index >= GetItemCount()) return;
    items_[index].caption = caption;
    update();
}

QString MouseKeyCtrl::GetItemKeyDesc(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].description : QString();
}

bool MouseKeyCtrl::SetItemKeyDesc(int keyCode, const QString& description) {
    bool found = false;
    for (Item& item : items_) {
        if (item.keyCode != keyCode) continue;
        item.description = description;
        found = true;
    }
    if (found) update();
    return found;
}

int MouseKeyCtrl::IndexOfKey(int keyCode) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (items_[i].keyCode == keyCode) return i;
    }
    return -1;
}

void MouseKeyCtrl::SetSelectItem(int index) {
    selected_ = index >= 0 && index < GetItemCount() ? index : -1;
    update();
}

void MouseKeyCtrl::SetItemHeight(int height) {
    rowHeight_ = qMax(20, height);
    updateGeometry();
    update();
}

QSize MouseKeyCtrl::sizeHint() const {
    return QSize(300, qMax(1, GetItemCount()) * (rowHeight_ + static_cast<int>(kGap)));
}

QRectF MouseKeyCtrl::RowRect(int index) const {
    return QRectF(0, index * (rowHeight_ + kGap), width(), rowHeight_).adjusted(0.5, 0.5, -0.5, -0.5);
}

int MouseKeyCtrl::StepTarget(int step) const {
    return GetItemCount() > 0 ? qBound(0, selected_ + step, GetItemCount() - 1) : -1;
}

void MouseKeyCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (items_.isEmpty()) {
        PaintCard(p, QRectF(0, 0, width(), qMin(height(), rowHeight_)), 8, CardState::Disabled);
        return;
    }
    const QColor accent = AccentColor();
    const qreal text = qBound(11.0, rowHeight_ * 0.32, 16.0);
    for (int i = 0; i < GetItemCount(); ++i) {
        const QRectF r = RowRect(i);
        if (r.top() > height()) break;
        const bool selected = i == selected_;
        CardState state = selected ? CardState::Selected : i == hover_ ? CardState::Hot : CardState::Normal;
        if (!isEnabled()) state = CardState::Disabled;
        PaintCard(p, r, 8, state);
        // Index badge.
        const qreal badge = r.height() * 0.56;
        const QRectF badgeRect(r.left() + 10, r.center().y() - badge / 2, badge, badge);
        p.setPen(Qt::NoPen);
        p.setBrush(selected ? accent : palette::kBorder);
        p.drawRoundedRect(badgeRect, 6, 6);
        p.setFont(PixelFont(font(), text * 0.9, QFont::Bold));
        p.setPen(selected ? palette::kWindow : palette::kTextDim);
        p.drawText(badgeRect, Qt::AlignCenter, QString::number(i + 1));

        const qreal left = badgeRect.right() + 12;
        const qreal half = (r.right() - left) * 0.45;
        p.setFont(PixelFont(font(), text, QFont::DemiBold));
        p.setPen(isEnabled() ? palette::kText : palette::kTextDisabled);
        DrawElided(p, QRectF(left, r.top(), half, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   items_[i].caption);
        p.setFont(PixelFont(font(), text * 0.92));
        p.setPen(selected ? accent.lighter(115) : palette::kTextDim);
        DrawElided(p, QRectF(left + half, r.top(), r.right() - left - half - 12, r.height()),
                   Qt::AlignRight | Qt::AlignVCenter, items_[i].description);
    }
    if (hasFocus())
        PaintFocusMark(p, selected_ >= 0 ? RowRect(selected_).adjusted(-2, -2, 2, 2) : QRectF(rect()), 10);
}

}  // namespace quorvel
