#pragma once
// Key capture for a field or a window. Installed as an event filter on a widget (the key field) or on the
// application (recording, where every key of the window counts), it turns each key press and release into
// the captured key of the key capture and reports it; while active it takes every key, so Tab, Enter,
// Escape and Alt combinations are captured instead of moving the focus or closing a dialog. Keys repeated
// by holding them down are not captured again unless asked. Capture works while the window has the keyboard;
// keys typed into other programs are not seen.

#include <QObject>

#include "store/KeyCapture.h"

class QKeyEvent;

namespace quorvel {

class KeyCaptureFilter : public QObject {
    Q_OBJECT
public:
    explicit KeyCaptureFilter(QObject* parent = nullptr);

    void SetActive(bool active);  // starting also forgets which modifiers were held
    bool IsActive() const { return active_; }
    void SetCaptureRepeats(bool repeats) { repeats_ = repeats; }

signals:
    // Every keyboard key captured, pressed (up 0) or released (up 1).
    void keyCaptured(const quorvel::CapturedKey& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyCapture capture_;
    bool active_ = false;
    bool repeats_ = false;
};

}  // namespace quorvel
