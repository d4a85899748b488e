#pragma once
// The look every control shares: the skin in use, the accent colour, the dark palette that the drawn
// fallbacks paint with, and the stored colour value (red in the low byte) as a QColor.

#include <QColor>
#include <QString>

namespace quorvel {

// Name of the skin folder under "skins/" ("default").
QString GetTheme();

// The accent colour (selection, active level, progress). Settable so a product can brand it.
QColor AccentColor();
void SetAccentColor(const QColor& colour);

// The dark palette of the drawn look.
namespace palette {
inline const QColor kWindow{0x0C, 0x0F, 0x14};        // window background
inline const QColor kSurface{0x15, 0x19, 0x21};       // panels and lists
inline const QColor kRaised{0x1D, 0x22, 0x2C};        // cards, buttons
inline const QColor kHover{0x27, 0x2E, 0x3A};         // pointer over a control
inline const QColor kBorder{0x2C, 0x33, 0x40};        // outlines and separators
inline const QColor kText{0xE9, 0xED, 0xF3};          // primary text
inline const QColor kTextDim{0x8D, 0x96, 0xA6};       // secondary text, idle icons
inline const QColor kTextDisabled{0x55, 0x5D, 0x6B};  // disabled text and icons
inline const QColor kDanger{0xF0, 0x4A, 0x5A};        // close button, record, low battery
inline const QColor kGood{0x3D, 0xDC, 0x84};          // connected, charged
inline const QColor kWarn{0xF5, 0xB7, 0x3B};          // battery getting low
}  // namespace palette

// Colours are stored as R + 256·G + 65536·B; the high byte is ignored.
QColor ColorFromRef(int colorRef);
int ColorToRef(const QColor& colour);

}  // namespace quorvel
