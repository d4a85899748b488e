#include "toolkit/MouseCtrl.h"

#include <QPainter>
#include <QPainterPath>

#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr QSize kStandInSize(480, 340);  // the drawn mouse, in the coordinates sample pictures use
constexpr qreal kCaptionGap = 8;
constexpr qreal kHotspot = 7;

// A plain mouse seen from above, for a skin without the model's picture.
void PaintStandIn(QPainter& p, const QRectF& r) {
    const qreal sx = r.width() / kStandInSize.width();
    const qreal sy = r.height() / kStandInSize.height();
    auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * sx, r.top() + y * sy); };
    QPainterPath body;
    body.moveTo(at(240, 14));
    body.cubicTo(at(330, 14), at(368, 120), at(368, 205));
    body.cubicTo(at(368, 290), at(320, 338), at(240, 338));
    body.cubicTo(at(160, 338), at(112, 290), at(112, 205));
    body.cubicTo(at(112, 120), at(150, 14), at(240, 14));
    QLinearGradient fill(at(0, 14), at(0, 338));
    fill.setColorAt(0, palette::kHover);
    fill.setColorAt(1, palette::kSurface);
    p.setPen(QPen(palette::kBorder.lighter(140), 2));
    p.setBrush(fill);
    p.drawPath(body);
    p.setPen(QPen(palette::kWindow, 2));
    p.drawLine(at(240, 16), at(240, 160));
    QPainterPath seam;
    seam.moveTo(at(118, 150));
    seam.quadTo(at(240, 178), at(362, 150));
    p.setBrush(Qt::NoBrush);
    p.drawPath(seam);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kWindow);
    p.drawRoundedRect(QRectF(at(228, 26), at(252, 78)), 10 * sx, 10 * sx);
}
}  // namespace

MouseCtrl::MouseCtrl(QWidget* parent) : ItemPicker(Qt::Vertical, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void MouseCtrl::SetImage(const QString& name) {
    image_ = name;
    updateGeometry();
    update();
}

QSize MouseCtrl::ImageSize() const {
    const QSize natural = image_.isEmpty() ? QSize() : Skin::Instance().NaturalSize(image_);
    return natural.isEmpty() ? kStandInSize : natural;
}

void MouseCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hover_ = -1;
    update();
}

int MouseCtrl::AddItem(const QString& caption, int keyCode, int direction, QPoint first, QPoint second) {
    items_.push_back({caption, keyCode, direction, first, second});
    update();
    return GetItemCount() - 1;
}

int MouseCtrl::GetItemKeyValue(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].keyCode : -1;
}

QString MouseCtrl::GetItemCaption(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].caption : QString();
}

void MouseCtrl::SetItemCaption(int index, const QString& caption) {
    if (index < 0 || index >= GetItemCount()) return;
    items_[index].caption = caption;
    update();
}

void MouseCtrl::SetSelectItem(int index) {
    selected_ = index >= 0 && index < GetItemCount() ? index : -1;
    update();
}

QSize MouseCtrl::sizeHint() const {
    return ImageSize() + QSize(300, 20);
}

bool MouseCtrl::LeftSide(const Item& item) const {
    if (item.direction == 0) return true;
    if (item.direction == 1) return false;
    return item.second.x() < item.first.x();
}

MouseCtrl::Layout MouseCtrl::ComputeLayout() const {
    const QSize picture = ImageSize();
    const QFontMetricsF metrics(PixelFont(font(), 13, QFont::DemiBold));
    // Captions hang outside the line ends; find how far they reach past the picture on each side.
    qreal leftText = 0, rightText = 0;
    for (const Item& item : items_) {
        const qreal w = metrics.horizontalAdvance(item.caption) + 2 * kCaptionGap + 16;
        if (LeftSide(item)) {
            leftText = qMax(leftText, w);
        } else {
            rightText = qMax(rightText, w);
        }
    }
    // The width the picture and its captions take at a scale, and where the picture's left edge sits in it.
    auto extent = [&](qreal scale, qreal* left) {
        qreal minX = 0, maxX = picture.width() * scale;
        for (const Item& item : items_) {
            const qreal end = item.second.x() * scale;
            if (LeftSide(item)) {
                minX = qMin(minX, end - leftText);
            } else {
                maxX = qMax(maxX, end + rightText);
            }
        }
        *left = -minX;
        return maxX - minX;
    };
    // The largest scale at which everything fits (the extent grows with the scale).
    qreal low = 0.02, high = qMin(width() / qreal(picture.width()), height() / qreal(picture.height()));
    qreal left = 0;
    if (extent(high, &left) > width()) {
        for (int i = 0; i < 24; ++i) {
            const qreal mid = (low + high) / 2;
            (extent(mid, &left) <= width() ? low : high) = mid;
        }
        high = low;
    }
    Layout layout;
    layout.scale = qMax(0.02, high);
    const qreal used = extent(layout.scale, &left);
    layout.origin = QPointF((width() - used) / 2 + left, (height() - picture.height() * layout.scale) / 2);
    return layout;
}

QRectF MouseCtrl::CaptionRect(const Layout& layout, int index) const {
    const Item& item = items_[index];
    const QFontMetricsF metrics(PixelFont(font(), 13, QFont::DemiBold));
    const qreal w = metrics.horizontalAdvance(item.caption) + 2 * kCaptionGap;
    const qreal h = metrics.height() + 10;
    const QPointF end = layout.Map(item.second);
    const qreal x = LeftSide(item) ? end.x() - 6 - w : end.x() + 6;
    return QRectF(x, end.y() - h / 2, w, h);
}

int MouseCtrl::IndexAt(const QPointF& pos) const {
    const Layout layout = ComputeLayout();
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        const QPointF spot = layout.Map(items_[i].first);
        if (CaptionRect(layout, i).contains(pos) || QLineF(spot, pos).length() <= kHotspot + 5) return i;
    }
    return -1;
}

QRectF MouseCtrl::HitRect(int index) const {
    return CaptionRect(ComputeLayout(), index);
}

int MouseCtrl::StepTarget(int step) const {
    const int count = GetItemCount();
    if (count == 0) return -1;
    return selected_ < 0 ? 0 : (selected_ + step + count) % count;
}

void MouseCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const Layout layout = ComputeLayout();
    const QSize picture = ImageSize();
    const QRectF pictureRect(layout.origin, QSizeF(picture) * layout.scale);
    if (image_.isEmpty() || !Skin::Instance().Paint(p, pictureRect, image_)) PaintStandIn(p, pictureRect);

    const QColor accent = AccentColor();
    const QFont captionFont = PixelFont(font(), 13, QFont::DemiBold);
    for (int i = 0; i < GetItemCount(); ++i) {
        const Item& item = items_[i];
        const bool selected = i == selected_;
        const bool hot = i == hover_;
        const QPointF spot = layout.Map(item.first);
        const QPointF end = layout.Map(item.second);
        const QColor line = selected ? accent : hot ? palette::kText : WithAlpha(palette::kTextDim, 200);

        p.setPen(QPen(line, selected ? 1.6 : 1.1));
        p.drawLine(spot, end);
        // The button: a ring with a dot, glowing when chosen.
        if (selected) {
            p.setPen(Qt::NoPen);
            p.setBrush(WithAlpha(accent, 70));
            p.drawEllipse(spot, kHotspot + 5, kHotspot + 5);
        }
        p.setPen(QPen(line, 1.6));
        p.setBrush(WithAlpha(palette::kWindow, 200));
        p.drawEllipse(spot, kHotspot, kHotspot);
        p.setPen(Qt::NoPen);
        p.setBrush(line);
        p.drawEllipse(spot, 2.6, 2.6);

        const QRectF caption = CaptionRect(layout, i);
        p.setFont(captionFont);
        if (selected) {
            p.setBrush(accent);
            p.drawRoundedRect(caption, caption.height() / 2, caption.height() / 2);
            p.setPen(palette::kWindow);
        } else {
            PaintCard(p, caption, caption.height() / 2, hot ? CardState::Hot : CardState::Normal);
            p.setPen(hot ? palette::kText : palette::kText.darker(115));
        }
        p.drawText(caption, Qt::AlignCenter, item.caption);
    }
    if (hasFocus()) {
        const QRectF around =
            selected_ >= 0 ? CaptionRect(layout, selected_).adjusted(-4, -4, 4, 4) : QRectF(rect());
        PaintFocusMark(p, around, around.height() / 2);
    }
}

}  // namespace quorvel
