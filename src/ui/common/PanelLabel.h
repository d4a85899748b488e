#pragma once
// Labels of the page panels (lighting, device information) and their dialogs: a heading in the text
// colour, or a caption in the dim colour; the design layout sizes their fonts.

#include <QLabel>

namespace quorvel {

enum class LabelTone { Heading, Caption };

// A label with objectName "id<id>".
QLabel* NewPanelLabel(QWidget* parent, int id, LabelTone tone);
// The weight of its font: headings semibold, captions normal.
QFont::Weight PanelLabelWeight(const QLabel* label);

}  // namespace quorvel
