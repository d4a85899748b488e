#pragma once
// Labels of the page panels (lighting, device information) and their dialogs: a heading in the text
// colour, or a caption in the dim colour, at a pixel size that follows the layout scale.

#include <QLabel>

namespace quorvel {

enum class LabelTone { Heading, Caption };

// A label with objectName "id<id>"; its font is set by SetLabelFont.
QLabel* NewPanelLabel(QWidget* parent, int id, LabelTone tone);
// The label's font at `pixels` design pixels times the scale.
void SetLabelFont(QLabel* label, int pixels, qreal scale);

// Design value times the layout scale, truncated toward zero as the layout does.
inline int Scaled(qreal scale, int value) {
    return static_cast<int>(value * scale);
}

}  // namespace quorvel
