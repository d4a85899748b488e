#pragma once
// The drawn look of the small images: when the skin lacks an icon, a control paints the glyph of the
// same meaning with lines, in the colour of its state, at any size.

#include <QColor>
#include <QRectF>

class QPainter;

namespace quorvel {

enum class Glyph {
    None,
    Close,
    Minimise,
    Maximise,
    Restore,
    Settings,
    Previous,
    Next,
    Up,
    Down,
    More,
    Reset,
    Record,
    Stop,
    List,
    Home,
    Keys,
    Dpi,
    Macro,
    Light,
    Info,
    Help,
    Delay,
    Mouse,
    Keyboard,
    Check,
};

void PaintGlyph(QPainter& painter, const QRectF& rect, Glyph glyph, const QColor& colour);

}  // namespace quorvel
