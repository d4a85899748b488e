#include "ui/common/DesignLayout.h"

#include <QWidget>
#include <algorithm>

#include "ui/common/UiFonts.h"

namespace quorvel {

int FontRule::Pixels(int design, qreal scale) const {
    const qreal exact = design * scale;
    return qMax(minimum, round ? qRound(exact) : static_cast<int>(exact));
}

DesignLayout::DesignLayout(QWidget* owner, QSize designSize) : QLayout(owner), designSize_(designSize) {
    // The owner's size is the window's business: the layout asks for none.
    setSizeConstraint(QLayout::SetNoConstraint);
    setContentsMargins(0, 0, 0, 0);
}

DesignLayout::~DesignLayout() {
    for (Item& item : items_) delete item.item;
}

void DesignLayout::Put(QWidget* widget, const QRect& design, const EdgeRules& rules, int fontPx,
                       QFont::Weight weight) {
    auto found =
        std::find_if(items_.begin(), items_.end(), [widget](const Item& i) { return i.widget == widget; });
    if (found == items_.end()) {
        // Not addChildWidget: that would show a child the owner has not shown yet. Showing and hiding
        // stay the owner's business; a hidden widget is placed all the same, ready when it shows.
        items_.push_back({new QWidgetItem(widget), widget, design, rules, fontPx, weight});
        found = items_.end() - 1;
    } else {
        found->design = design;
        found->rules = rules;
        found->fontPx = fontPx;
        found->weight = weight;
    }
    ApplyFont(*found);
    if (QWidget* owner = parentWidget()) PlaceItem(*found, owner->contentsRect() - contentsMargins());
}

void DesignLayout::Move(QWidget* widget, const QRect& design) {
    for (Item& item : items_) {
        if (item.widget != widget) continue;
        item.design = design;
        if (QWidget* owner = parentWidget()) PlaceItem(item, owner->contentsRect() - contentsMargins());
    }
}

void DesignLayout::Forget(QWidget* widget) {
    for (int i = 0; i < count(); ++i) {
        if (items_[static_cast<size_t>(i)].widget != widget) continue;
        delete takeAt(i);
        return;
    }
}

void DesignLayout::SetScale(qreal scale) {
    if (scale <= 0) return;
    scale_ = scale;
    for (const Item& item : items_) ApplyFont(item);
    Place();
}

void DesignLayout::SetFontRule(FontRule rule) {
    fontRule_ = rule;
    for (const Item& item : items_) ApplyFont(item);
}

QFont DesignLayout::Font(int designPx, QFont::Weight weight) const {
    return UiFont(fontRule_.Pixels(designPx, scale_), weight);
}

void DesignLayout::ApplyFont(const Item& item) const {
    if (item.widget && item.fontPx > 0) item.widget->setFont(Font(item.fontPx, item.weight));
}

int DesignLayout::ScaledValue(int design, Edge edge) const {
    return static_cast<int>((design - edge.unscaled) * scale_) + edge.unscaled;
}

int DesignLayout::Coordinate(int design, int designExtent, Edge edge, int nearEdge, int nearDesign,
                             int boxExtent) const {
    const auto at = [this, &edge](int v) { return edge.scaled ? ScaledValue(v, edge) : v; };
    switch (edge.anchor) {
        case Anchor::Start:
            return at(design);
        case Anchor::End: {
            // The box's extent in design units at this scale, and the distance kept from its far side.
            const int extent = edge.scaled ? static_cast<int>(boxExtent / scale_) : boxExtent;
            return at(extent - (designExtent - design));
        }
        case Anchor::Centre:
            return boxExtent / 2 + at(design - designExtent / 2);
        case Anchor::Size:
            return nearEdge + at(design - nearDesign);
        case Anchor::Far:
            return boxExtent - at(designExtent - design);
    }
    return 0;
}

QRect DesignLayout::Map(const QRect& design, const EdgeRules& rules, const QRect& box) const {
    // Local design coordinates; a Start edge scales the ancestor's coordinate and the origin apart, as
    // a card placed in its page's coordinates always has.
    const int l = design.left() - origin_.x(), t = design.top() - origin_.y();
    const int r = l + design.width(), b = t + design.height();
    const auto start = [this](Edge e, int v, int o) {
        return e.scaled ? ScaledValue(v, e) - static_cast<int>(o * scale_) : v - o;
    };
    const int W = box.width(), H = box.height(), DW = designSize_.width(), DH = designSize_.height();
    // An edge with a margin stays that far inside its own side of the box; a sized far edge follows its
    // near edge there.
    const auto margin = [this](Edge e) { return e.scaled ? Length(e.margin) : e.margin; };
    const auto nearSide = [&](Edge e, int v) { return e.margin >= 0 ? qMax(v, margin(e)) : v; };
    const auto farSide = [&](Edge e, int v, int extent) {
        return e.margin >= 0 ? qMin(v, extent - margin(e)) : v;
    };
    const int left = nearSide(rules.left, rules.left.anchor == Anchor::Start
                                              ? start(rules.left, design.left(), origin_.x())
                                              : Coordinate(l, DW, rules.left, 0, 0, W));
    const int top =
        nearSide(rules.top, rules.top.anchor == Anchor::Start ? start(rules.top, design.top(), origin_.y())
                                                              : Coordinate(t, DH, rules.top, 0, 0, H));
    const int right = farSide(rules.right,
                              rules.right.anchor == Anchor::Start
                                  ? start(rules.right, design.left() + design.width(), origin_.x())
                                  : Coordinate(r, DW, rules.right, left, l, W),
                              W);
    const int bottom = farSide(rules.bottom,
                               rules.bottom.anchor == Anchor::Start
                                   ? start(rules.bottom, design.top() + design.height(), origin_.y())
                                   : Coordinate(b, DH, rules.bottom, top, t, H),
                               H);
    return QRect(box.left() + left, box.top() + top, right - left, bottom - top);
}

void DesignLayout::PlaceItem(const Item& item, const QRect& box) const {
    if (item.widget) item.widget->setGeometry(Map(item.design, item.rules, box));
}

void DesignLayout::Place() {
    QWidget* owner = parentWidget();
    if (!owner) return;
    const QRect box = owner->contentsRect() - contentsMargins();
    for (const Item& item : items_) PlaceItem(item, box);
}

void DesignLayout::addItem(QLayoutItem* item) {
    // Widgets come in through Add, with their rectangles; anything else has no place in the design.
    delete item;
}

QLayoutItem* DesignLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* DesignLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<size_t>(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

int DesignLayout::count() const {
    return static_cast<int>(items_.size());
}

QSize DesignLayout::sizeHint() const {
    return designSize_;
}

QSize DesignLayout::minimumSize() const {
    return QSize(0, 0);
}

void DesignLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Place();
}

}  // namespace quorvel
