#include "toolkit/MTabCtrl.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr int kDesignRows = 6;  // a strip is designed for six items; fewer keep their height
}

MTabCtrl::MTabCtrl(QWidget* parent) : ItemPicker(Qt::Vertical, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

int MTabCtrl::InsertItem(int itemId, const QString& text, const QString& icon, Glyph fallback) {
    items_.push_back({itemId, text, icon, fallback, true});
    updateGeometry();
    update();
    return GetItemCount() - 1;
}

int MTabCtrl::GetItemId(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].id : -1;
}

int MTabCtrl::IndexOfItem(int itemId) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (items_[i].id == itemId) return i;
    }
    return -1;
}

void MTabCtrl::SetItemText(int index, const QString& text) {
    if (index < 0 || index >= GetItemCount()) return;
    items_[index].text = text;
    update();
}

QString MTabCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].text : QString();
}

void MTabCtrl::SetItemVisible(int index, bool visible) {
    if (index < 0 || index >= GetItemCount() || items_[index].visible == visible) return;
    items_[index].visible = visible;
    update();
}

bool MTabCtrl::IsItemVisible(int index) const {
    return index >= 0 && index < GetItemCount() && items_[index].visible;
}

void MTabCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetItemCount()) index = -1;
    if (index == current_) return;
    current_ = index;
    update();
    emit currentChanged(index);
}

TabText FitTabText(const QFont& base, bool selected, const QString& text, qreal width, QPaintDevice* device) {
    const auto advance = [device, &text](const QFont& font) {
        return device ? QFontMetrics(font, device).horizontalAdvance(text)
                      : QFontMetrics(font).horizontalAdvance(text);
    };
    TabText out{base, false};
    out.font.setBold(false);  // the regular weight, whatever the strip's font has
    // A long name takes two lines rather than losing its end; whether it does is decided in the regular
    // weight, so selecting a tab never moves its name onto a second line.
    if (advance(out.font) > width) out.wrap = true;
    if (!selected) return out;
    out.font.setBold(true);
    if (out.wrap) return out;
    // Shrink the bold name until it fits; sizes are set in pixels or points, whichever the font has.
    const bool pixels = base.pixelSize() > 0;
    qreal size = pixels ? base.pixelSize() : base.pointSizeF();
    while (size > 1 && advance(out.font) > width) {
        size -= pixels ? 1 : 0.5;
        if (pixels)
            out.font.setPixelSize(static_cast<int>(size));
        else
            out.font.setPointSizeF(size);
    }
    return out;
}

QSize MTabCtrl::sizeHint() const {
    return QSize(190, 60 * qMax(kDesignRows, GetItemCount()));
}

int MTabCtrl::RowHeight() const {
    int visible = 0;
    for (const Item& item : items_) visible += item.visible ? 1 : 0;
    return qMax(1, height() / qMax(kDesignRows, visible));
}

QRect MTabCtrl::ItemRect(int index) const {
    if (!IsItemVisible(index)) return {};
    int row = 0;
    for (int i = 0; i < index; ++i) row += items_[i].visible ? 1 : 0;
    const int h = RowHeight();
    return QRect(0, row * h, width(), h);
}

int MTabCtrl::IndexAt(const QPointF& pos) const {
    // Whole pixels, as the rows are.
    for (int i = 0; i < GetItemCount(); ++i) {
        if (ItemRect(i).contains(pos.toPoint())) return i;
    }
    return -1;
}

void MTabCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent = AccentColor();
    // The rail the selection bar runs along.
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(palette::kBorder, 160));
    p.drawRoundedRect(QRectF(8, 6, 3.5, height() - 12), 1.75, 1.75);
    for (int i = 0; i < GetItemCount(); ++i) {
        const QRect r = ItemRect(i);
        if (r.isEmpty()) continue;
        const Item& item = items_[i];
        const bool selected = i == current_;
        const bool hot = i == hover_ && isEnabled();
        const QRectF card = QRectF(r).adjusted(8, 4, -8, -4);
        if (selected) {
            QLinearGradient glow(card.topLeft(), card.topRight());
            QColor start = accent;
            start.setAlpha(70);
            QColor end = accent;
            end.setAlpha(8);
            glow.setColorAt(0, start);
            glow.setColorAt(1, end);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawRoundedRect(card, 8, 8);
            p.setBrush(accent);
            p.drawRoundedRect(
                QRectF(card.left(), card.top() + card.height() * 0.22, 3.5, card.height() * 0.56), 1.75,
                1.75);
        } else if (hot) {
            p.setPen(Qt::NoPen);
            p.setBrush(palette::kHover);
            p.drawRoundedRect(card, 8, 8);
        }
        const QColor ink = !isEnabled() ? palette::kTextDisabled
                           : selected   ? palette::kText
                           : hot        ? palette::kText
                                        : palette::kTextDim;
        const qreal icon = qMin(24.0, card.height() * 0.5);
        const QRectF iconRect(card.left() + 16, card.center().y() - icon / 2, icon, icon);
        const QColor iconInk = selected ? accent : ink;
        if (item.icon.isEmpty() || !Skin::Instance().PaintTinted(p, iconRect, item.icon, iconInk)) {
            PaintGlyph(p, iconRect, item.glyph, iconInk);
        }
        const QRectF textRect(iconRect.right() + 12, card.top(), card.right() - iconRect.right() - 16,
                              card.height());
        const TabText text = FitTabText(font(), selected, item.text, textRect.width(), this);
        p.setFont(text.font);
        p.setPen(ink);
        p.drawText(textRect,
                   Qt::AlignVCenter | Qt::AlignLeft | (text.wrap ? Qt::TextWordWrap : Qt::TextSingleLine),
                   item.text);
    }
    if (hasFocus() && current_ >= 0) {
        p.setPen(QPen(accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(ItemRect(current_)).adjusted(8.5, 4.5, -8.5, -4.5), 8, 8);
    }
}

}  // namespace quorvel
