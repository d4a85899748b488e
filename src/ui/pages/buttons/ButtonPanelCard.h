#pragma once
// The background of the button page's panels: the skin's panel frame, or a drawn card without it. Its
// controls are declared on its design layout, which places them for the layout scale.

#include <QWidget>

#include "ui/common/DesignLayout.h"

class QLabel;

namespace quorvel {

// The edge rules of the cards' controls; sizes are scaled on their own, as the cards have always had them.
// A control at the card's far side (close, reset): its left edge a scaled distance from the right.
inline constexpr EdgeRules kSizedAtRight{Scaled(Anchor::Far), Scaled(), Scaled(Anchor::Size),
                                         Scaled(Anchor::Size)};
// A control that reaches to a scaled distance from the card's right edge (titles, the key field).
inline constexpr EdgeRules kToRight{Scaled(), Scaled(), Scaled(Anchor::Far), Scaled(Anchor::Size)};
// A control in the bottom right corner (OK).
inline constexpr EdgeRules kSizedAtCorner{Scaled(Anchor::Far), Scaled(Anchor::Far), Scaled(Anchor::Size),
                                          Scaled(Anchor::Size)};

// The key-combination and click-function panels at 1x: their extent, close, title and OK.
inline constexpr QSize kPanelDesign(460, 230);
inline constexpr QRect kPanelClose(416, 14, 28, 28);
inline constexpr QRect kPanelTitle(24, 14, 384, 28);
inline constexpr QRect kPanelOk(316, 174, 120, 36);
inline constexpr int kPanelTitlePx = 16, kPanelTextPx = 13;

class ButtonPanelCard : public QWidget {
    Q_OBJECT
public:
    // `designSize`: the card's extent in the design, which controls declared from its far side keep
    // their distances to.
    ButtonPanelCard(QSize designSize, QWidget* parent);

    void SetScale(qreal scale);
    DesignLayout& Design() const { return *layout_; }

protected:
    // A label in the panels' tone, bright or dim; its font comes with its design rectangle.
    QLabel* NewLabel(int id, bool bright);

    void paintEvent(QPaintEvent* event) override;

private:
    DesignLayout* layout_;
};

}  // namespace quorvel
