#pragma once
// The design geometry of a window, page or panel, written once: each widget's rectangle in the design
// (the window is 1400 x 788; a page or panel gives its own design extent) and its font size, placed for a
// layout scale (client height / 788). The widget that owns the layout declares rectangles; the layout does
// the scaling.
//
// Each edge of a rectangle says how it follows the box it sits in:
//   Start   the design coordinate (times the scale)
//   End     the design distance from the far side of the box
//   Far     the same distance, scaled on its own and taken from the box's far side in pixels (an edge
//           that keeps the box's edge however wide the box is at the scale)
//   Centre  the design distance from the middle of the box
//   Size    (right, bottom) the near edge plus the design extent
// and whether it is scaled (the default) or kept in design pixels (Fixed). A scaled edge may keep its last
// `unscaled` design pixels as they are (a row that sits a fixed distance under a scaled line). An edge may
// also keep a least distance from its own side of the box (Inside: left and top from the near side, right
// and bottom from the far side, scaled with the edge): a centred column no wider than its design that
// narrows in a small box rather than reaching its sides. Products are truncated toward zero, as the window
// has always placed its controls.

#include <QFont>
#include <QLayout>
#include <QPointer>
#include <QRect>
#include <vector>

namespace quorvel {

enum class Anchor : unsigned char { Start, End, Centre, Size, Far };

struct Edge {
    Anchor anchor = Anchor::Start;
    bool scaled = true;
    int unscaled = 0;
    int margin = -1;  // the least distance from the edge's own side of the box; negative: none
};

// Shorthands for the edge rules: Scaled(Anchor::End), Fixed(), ...
constexpr Edge Scaled(Anchor anchor = Anchor::Start, int unscaled = 0) {
    return Edge{.anchor = anchor, .scaled = true, .unscaled = unscaled};
}
constexpr Edge Fixed(Anchor anchor = Anchor::Start) {
    return Edge{.anchor = anchor, .scaled = false};
}
// The edge kept at least `margin` design pixels inside its own side of the box: Inside(Fixed(), 170).
constexpr Edge Inside(Edge edge, int margin) {
    edge.margin = margin;
    return edge;
}

struct EdgeRules {
    Edge left, top, right, bottom;
};

// Every edge scaled from the start: the common case.
inline constexpr EdgeRules kScaledEdges{};
// Position scaled, width and height scaled on their own (near edge + size times the scale).
inline constexpr EdgeRules kScaledSizes{Scaled(), Scaled(), Scaled(Anchor::Size), Scaled(Anchor::Size)};
// The right edge keeps its design distance from the box's right edge.
inline constexpr EdgeRules kRightToEnd{Scaled(), Scaled(), Scaled(Anchor::End), Scaled()};
// Left and right keep their design distances from the box's right edge.
inline constexpr EdgeRules kAtEnd{Scaled(Anchor::End), Scaled(), Scaled(Anchor::End), Scaled()};
// Design pixels from the top left.
inline constexpr EdgeRules kFixedEdges{Fixed(), Fixed(), Fixed(), Fixed()};
// Design pixels from the top left; right and bottom keep their distances from the box's.
inline constexpr EdgeRules kFixedStretch{Fixed(), Fixed(), Fixed(Anchor::End), Fixed(Anchor::End)};
// Design pixels from the top right.
inline constexpr EdgeRules kFixedAtRight{Fixed(Anchor::End), Fixed(), Fixed(Anchor::End), Fixed()};
// Design pixels from the bottom left; the right edge from the right.
inline constexpr EdgeRules kFixedBottomRow{Fixed(), Fixed(Anchor::End), Fixed(Anchor::End),
                                           Fixed(Anchor::End)};

// How a font's design pixel size follows the scale.
struct FontRule {
    int minimum = 9;    // never smaller than this
    bool round = true;  // rounded to the nearest pixel, or truncated
    int Pixels(int design, qreal scale) const;
};

class DesignLayout : public QLayout {
    Q_OBJECT
public:
    // Installs itself on `owner`. `designSize`: the owner's extent in the design, which End and Centre
    // measure from.
    DesignLayout(QWidget* owner, QSize designSize);
    ~DesignLayout() override;

    // Declares `widget`'s design rectangle, with a font of `fontPx` design pixels (0: the widget keeps its
    // own). Returns the widget.
    template <typename T>
    T* Add(T* widget, const QRect& design, int fontPx = 0, QFont::Weight weight = QFont::DemiBold) {
        Put(widget, design, kScaledEdges, fontPx, weight);
        return widget;
    }
    template <typename T>
    T* Add(T* widget, const QRect& design, const EdgeRules& rules, int fontPx = 0,
           QFont::Weight weight = QFont::DemiBold) {
        Put(widget, design, rules, fontPx, weight);
        return widget;
    }
    // Changes a declared widget's rectangle (a row that the model shows or hides); places it now.
    void Move(QWidget* widget, const QRect& design);
    // Forgets a widget: its geometry is its owner's business again.
    void Forget(QWidget* widget);

    // The scale (client height / 788) and the font rule; both place everything again.
    void SetScale(qreal scale);
    qreal Scale() const { return scale_; }
    void SetFontRule(FontRule rule);
    // Design coordinates are those of an ancestor (a card placed in its page's coordinates): the point
    // where this box's top left sits in them.
    void SetDesignOrigin(QPoint origin) { origin_ = origin; }
    QSize DesignSize() const { return designSize_; }
    void SetDesignSize(QSize size) { designSize_ = size; }

    // Where `design` lands in a box of `box` pixels at the scale, by these rules.
    QRect Map(const QRect& design, const EdgeRules& rules, const QRect& box) const;
    // A design length at the scale (truncated), and a font of a design size by the font rule.
    int Length(int design) const { return static_cast<int>(design * scale_); }
    QFont Font(int designPx, QFont::Weight weight = QFont::DemiBold) const;

    // Places every declared widget in the owner's current rectangle.
    void Place();

    // QLayout
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Item {
        QLayoutItem* item;
        QPointer<QWidget> widget;
        QRect design;
        EdgeRules rules;
        int fontPx;
        QFont::Weight weight;
    };
    void Put(QWidget* widget, const QRect& design, const EdgeRules& rules, int fontPx, QFont::Weight weight);
    void PlaceItem(const Item& item, const QRect& box) const;
    void ApplyFont(const Item& item) const;
    int ScaledValue(int design, Edge edge) const;
    int Coordinate(int design, int designExtent, Edge edge, int nearEdge, int nearDesign,
                   int boxExtent) const;

    QSize designSize_;
    QPoint origin_;
    qreal scale_ = 1.0;
    FontRule fontRule_;
    std::vector<Item> items_;
};

}  // namespace quorvel
