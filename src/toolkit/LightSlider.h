#pragma once
// The brightness and speed sliders of the lighting page: few positions (brightness 0-4, speed within
// 0-15), so each position is a tick the thumb snaps to.

#include "toolkit/SkinSlider.h"

namespace quorvel {

class LightSlider : public SkinSlider {
    Q_OBJECT
public:
    explicit LightSlider(QWidget* parent = nullptr);

protected:
    void PaintDecorations(QPainter& painter) override;
};

}  // namespace quorvel
