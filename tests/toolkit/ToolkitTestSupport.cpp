#include "ToolkitTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace quorvel::test {

void ScratchSkin::Write(const QString& name, const QByteArray& bytes) const {
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

int DistinctColours(const QImage& image, int cap) {
    QSet<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            colours.insert(line[x]);
            if (colours.size() >= cap) return cap;
        }
    }
    return static_cast<int>(colours.size());
}

QImage Grab(QWidget& widget) {
    widget.ensurePolished();
    return widget.grab().toImage();
}

namespace {
void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(pos);
    QMouseEvent event(type, local, widget.mapToGlobal(local), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}
}  // namespace

void Click(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers) {
    SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, modifiers);
    SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, modifiers);
}

void DoubleClick(QWidget& widget, QPoint pos) {
    Click(widget, pos);
    SendMouse(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void Drag(QWidget& widget, const QList<QPoint>& points) {
    if (points.isEmpty()) return;
    SendMouse(widget, QEvent::MouseButtonPress, points.first(), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& p : points) SendMouse(widget, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, points.last(), Qt::LeftButton, Qt::NoButton);
}

void Wheel(QWidget& widget, QPoint pos, int notches) {
    const QPointF local(pos);
    QWheelEvent event(local, widget.mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

void KeyClick(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&widget, &release);
}

void TypeText(QWidget& widget, const QString& text) {
    for (QChar c : text) KeyClick(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

}  // namespace quorvel::test
