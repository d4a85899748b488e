#pragma once
// Window geometry the way the design gives it: left, top, right, bottom, the right and bottom edges
// outside the rectangle.

#include <QRect>

namespace quorvel {

inline QRect Ltrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// A control's objectName: its id, "id<n>", unique within its window or page.
inline QString ControlName(int id) {
    return QStringLiteral("id%1").arg(id);
}

}  // namespace quorvel
