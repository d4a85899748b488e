#pragma once
// The free colour choice: a field of hues (left to right) and saturation (top to bottom) beside a strip of
// brightness. Dragging in either reports every colour passed (colorChanging) and the colour where the
// button is released (colorPicked). The selected colour is kept exactly as set, so a colour put in and read
// back unchanged is the same value even where the field cannot show it. Colours are stored values.

#include <QImage>
#include <QWidget>

namespace quorvel {

class MPalette : public QWidget {
    Q_OBJECT
public:
    explicit MPalette(QWidget* parent = nullptr);

    void SetSelectColor(int colour);
    int GetSelectColor() const { return colour_; }

    QSize sizeHint() const override;

signals:
    void colorChanging(int colour);
    void colorPicked(int colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Part { None, Field, Strip };
    QRectF FieldRect() const;
    QRectF StripRect() const;
    void TrackTo(const QPointF& pos);
    void Apply(qreal hue, qreal saturation, qreal value, bool release);

    int colour_ = 0xFFFFFF;
    qreal hue_ = 0;  // kept while the colour is grey, so the marker does not jump
    qreal saturation_ = 0;
    qreal value_ = 1;
    Part dragging_ = Part::None;
    QImage field_;  // the hue/saturation field at its last size
};

}  // namespace quorvel
