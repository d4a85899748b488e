#pragma once
// The look of Qt's own controls (buttons, check boxes, radio buttons, combo boxes, edits, progress bars,
// menus, tool tips) in the skin: the dark palette with the accent, and the skin's images where they exist
// ("img_button.png", "img_combobox.png", "img_edit.png", "img_check_on.png" / "img_check_off.png",
// "img_radio_on.png" / "img_radio_off.png"), Fusion's drawing where they do not. The application sets it
// once: QApplication::setStyle(new SkinStyle). Images are loaded when first painted.

#include <QProxyStyle>

namespace quorvel {

// The keyboard focus mark of the skin: an accent ring just inside `rect`. Qt's controls get it through the
// style, the custom controls paint it themselves around the item the keys act on.
void PaintFocusMark(QPainter& painter, const QRectF& rect, qreal radius);

class SkinStyle : public QProxyStyle {
    Q_OBJECT
public:
    SkinStyle();

    QPalette standardPalette() const override;
    void polish(QPalette& palette) override;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

protected:
    // Enter acts on a focused button as Space does (outside dialogs, where Enter is the default button's).
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quorvel
