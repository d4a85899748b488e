#include "toolkit/Theme.h"

namespace quorvel {

namespace {
QColor& Accent() {
    static QColor accent{0x1E, 0xC8, 0xF5};
    return accent;
}
}  // namespace

QString GetTheme() {
    return QStringLiteral("default");
}

QColor AccentColor() {
    return Accent();
}

void SetAccentColor(const QColor& colour) {
    if (colour.isValid()) Accent() = colour;
}

QColor ColorFromRef(int colorRef) {
    const auto v = static_cast<unsigned>(colorRef);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int ColorToRef(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

}  // namespace quorvel
