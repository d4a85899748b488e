#include "toolkit/KeyCaptureFilter.h"

#include <QKeyEvent>

#include "toolkit/KeyTranslation.h"

namespace quorvel {

KeyCaptureFilter::KeyCaptureFilter(QObject* parent) : QObject(parent) {}

void KeyCaptureFilter::SetActive(bool active) {
    if (active && !active_) capture_.Reset();
    active_ = active;
}

bool KeyCaptureFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!active_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claim the key so no shortcut (a dialog's Escape, a menu's Alt) acts on it.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat() && (!repeats_ || event->type() == QEvent::KeyRelease)) return true;
            if (const auto raw = ToRawKeyEvent(*key)) {
                CapturedKey captured = capture_.CaptureKey(*raw);
                captured.modifiers = HeldModifierBits(captured.modifiers, key->modifiers());
                if (captured.kind == kCaptureKeyboard) emit keyCaptured(captured);
            }
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace quorvel
