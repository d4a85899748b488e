#pragma once
// The background of the button page's panels: the skin's panel frame, or a drawn card without it. Holds the
// layout scale its panel places its controls with (design pixels times the scale).

#include <QWidget>

class QLabel;

namespace quorvel {

class ButtonPanelCard : public QWidget {
    Q_OBJECT
public:
    explicit ButtonPanelCard(QWidget* parent = nullptr);

    void SetScale(qreal scale);
    qreal Scale() const { return scale_; }

protected:
    // A design length at the current scale (truncated, as the window's layout does).
    int S(qreal design) const { return static_cast<int>(design * scale_); }
    // Places the controls for the current size and scale.
    virtual void Layout() {}
    // A label in the panels' type: `pixels` high at 1x, bright or dim.
    QLabel* NewLabel(int id, int pixels, bool bright);
    void RefontLabel(QLabel* label, int pixels, bool bright = false);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    qreal scale_ = 1.0;
};

}  // namespace quorvel
