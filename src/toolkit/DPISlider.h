#pragma once
// The slider of the active DPI level. Its positions are the sensor's slider positions (the page converts
// them to DPI); SetDPIDesc labels the ends with the sensor's texts (the maximum and the step), and the
// value the page shows follows the thumb.

#include "toolkit/SkinSlider.h"

namespace quorvel {

class DPISlider : public SkinSlider {
    Q_OBJECT
public:
    explicit DPISlider(QWidget* parent = nullptr);

    void SetDPIDesc(const QString& maximum, const QString& step);
    QString GetMaximumText() const { return maximumText_; }
    QString GetStepText() const { return stepText_; }
    // The value shown above the thumb ("1600"); empty shows none.
    void SetValueText(const QString& text);
    QString GetValueText() const { return valueText_; }

protected:
    qreal LabelHeight() const override;
    void PaintDecorations(QPainter& painter) override;

private:
    QString maximumText_;
    QString stepText_;
    QString valueText_;
};

}  // namespace quorvel
