#pragma once
// A horizontal slider painted from the skin: the track fills with the accent up to the thumb, and the thumb
// is the skin's "img_slider_bar.png" (a drawn knob without it). Positions are whole numbers in a range.
// progressMoved reports every position a drag or a key passes through; progressReleased the position where
// a change ends (mouse released, key pressed, wheel turned while focused). SetProgress never reports.
// DPISlider and LightSlider are the two uses.

#include <QWidget>

namespace quorvel {

class SkinSlider : public QWidget {
    Q_OBJECT
public:
    explicit SkinSlider(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return minimum_; }
    int GetMaximum() const { return maximum_; }
    void SetProgress(int position);  // clamped to the range
    int GetProgress() const { return position_; }
    void SetPageStep(int step) { pageStep_ = qMax(1, step); }
    bool IsDragging() const { return dragging_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void progressMoved(int position);
    void progressReleased(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // Geometry shared with the subclasses' decorations.
    qreal ThumbSize() const;
    QRectF TrackRect() const;  // the line the thumb centre runs along
    qreal PositionX(int position) const;
    // Space kept below the track for labels (the subclasses' texts).
    virtual qreal LabelHeight() const { return 0; }
    // Drawn after the track and before the thumb.
    virtual void PaintDecorations(QPainter& painter) { (void)painter; }

private:
    int PositionAt(qreal x) const;
    void MoveTo(int position);  // by the user: clamps, reports a change

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageStep_ = 10;
    bool dragging_ = false;
    qreal grabOffset_ = 0;
};

}  // namespace quorvel
