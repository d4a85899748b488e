#pragma once
// A button that is an image of the skin (reset, close, arrows, "more"), with a drawn glyph of the same
// meaning when the skin lacks it. Hover and press are drawn as a soft backdrop, so one image serves every
// state. A click is clicked() (the click event); checkable buttons keep their state with GetCheck/SetCheck.

#include <QAbstractButton>
#include <QColor>

#include "toolkit/Glyphs.h"

namespace quorvel {

class CImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CImageButton(QWidget* parent = nullptr);
    CImageButton(const QString& image, Glyph fallback, QWidget* parent = nullptr);

    // A skin name ("btn_reset.png", "icon\icon_rec.png").
    void SetImage(const QString& name);
    QString Image() const { return image_; }
    void SetGlyph(Glyph glyph);
    Glyph GetGlyph() const { return glyph_; }
    // Backdrop under the pointer; the window's close button uses the danger colour.
    void SetHoverColor(const QColor& colour);
    // Draws a monochrome image in the colour of its state instead of its own colours.
    void SetTintImage(bool tint);

    bool GetCheck() const { return isChecked(); }
    void SetCheck(bool checked) { setChecked(checked); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString image_;
    Glyph glyph_ = Glyph::None;
    QColor hover_;
    bool tint_ = false;
};

}  // namespace quorvel
