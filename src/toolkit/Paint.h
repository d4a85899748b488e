#pragma once
// Drawing shared by the controls' own look: rounded cards in their states, fonts sized in pixels, and
// text that fits its box.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace quorvel {

QColor WithAlpha(QColor colour, int alpha);
// The base font at a pixel size (controls size their text from their height, not the point size).
QFont PixelFont(const QFont& base, qreal pixels, QFont::Weight weight = QFont::Normal);

enum class CardState { Normal, Hot, Selected, Disabled };
// A card: raised surface, brighter under the pointer, accent outline and glow when selected.
void PaintCard(QPainter& painter, const QRectF& rect, qreal radius, CardState state);

// Text elided to the box, in one line.
void DrawElided(QPainter& painter, const QRectF& rect, int flags, const QString& text);

}  // namespace quorvel
