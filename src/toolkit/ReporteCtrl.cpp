#include "toolkit/ReporteCtrl.h"

#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr int kDesignItems = 7;  // segments keep the width of the longest list (125 Hz to 8000 Hz)
constexpr qreal kGap = 8;
}  // namespace

ReporteCtrl::ReporteCtrl(QWidget* parent) : ItemPicker(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void ReporteCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hover_ = -1;
    update();
}

int ReporteCtrl::AddItem(const QString& text, int code, int colour) {
    items_.push_back({text, code, colour});
    update();
    return GetItemCount() - 1;
}

QString ReporteCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].text : QString();
}

void ReporteCtrl::SetItemText(int index, const QString& text) {
    if (index < 0 || index >= GetItemCount()) return;
    items_[index].text = text;
    update();
}

int ReporteCtrl::GetItemKeyValue(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].code : -1;
}

void ReporteCtrl::SetSelectItemValue(int code) {
    int found = -1;
    for (int i = 0; i < GetItemCount() && found < 0; ++i) {
        if (items_[i].code == code) found = i;
    }
    SetSelectItem(found);
}

void ReporteCtrl::SetSelectItem(int index) {
    selected_ = index >= 0 && index < GetItemCount() ? index : -1;
    update();
}

QSize ReporteCtrl::sizeHint() const {
    return QSize(640, 40);
}

QRectF ReporteCtrl::ItemRect(int index) const {
    const int columns = qMax(GetItemCount(), kDesignItems);
    const qreal w = (width() - kGap * (columns - 1)) / columns;
    return QRectF(index * (w + kGap), 0, w, height()).adjusted(0.5, 0.5, -0.5, -0.5);
}

void ReporteCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (items_.isEmpty()) {
        PaintCard(p, QRectF(rect()), height() / 2.0, CardState::Disabled);
        return;
    }
    const qreal radius = qMin(10.0, height() / 2.0);
    p.setFont(PixelFont(font(), qBound(11.0, height() * 0.36, 16.0), QFont::DemiBold));
    for (int i = 0; i < GetItemCount(); ++i) {
        const QRectF r = ItemRect(i);
        const bool selected = i == selected_;
        if (selected) {
            const QColor fill = items_[i].colour != 0 ? ColorFromRef(items_[i].colour) : AccentColor();
            p.setPen(Qt::NoPen);
            p.setBrush(WithAlpha(fill, 60));
            p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
            p.setBrush(isEnabled() ? fill : palette::kBorder);
            p.drawRoundedRect(r, radius, radius);
            p.setPen(fill.lightnessF() > 0.55 ? palette::kWindow : palette::kText);
        } else {
            PaintCard(p, r, radius,
                      !isEnabled()  ? CardState::Disabled
                      : i == hover_ ? CardState::Hot
                                    : CardState::Normal);
            p.setPen(!isEnabled()  ? palette::kTextDisabled
                     : i == hover_ ? palette::kText
                                   : palette::kTextDim);
        }
        DrawElided(p, r.adjusted(4, 0, -4, 0), Qt::AlignCenter, items_[i].text);
    }
    if (hasFocus() && selected_ >= 0) {
        p.setPen(QPen(palette::kText, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(ItemRect(selected_).adjusted(3, 3, -3, -3), radius - 2, radius - 2);
    }
}

}  // namespace quorvel
