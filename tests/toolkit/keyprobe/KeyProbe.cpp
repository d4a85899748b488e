// Prints every key event the window receives as one table row: press or release, Qt key, native keycode,
// native keysym, modifiers. record-keys.sh drives it under Xvfb with xdotool to record what X11 delivers.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>

class Probe : public QWidget {
protected:
    bool event(QEvent* event) override {
        // Tab and Backtab would move the focus before keyPressEvent; take every key here.
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) {
                std::printf("{%s, 0x%08x, %u, 0x%04x, 0x%08x},\n",
                            event->type() == QEvent::KeyPress ? "true" : "false", key->key(),
                            key->nativeScanCode(), key->nativeVirtualKey(),
                            static_cast<unsigned>(key->modifiers().toInt()));
                std::fflush(stdout);
            }
            return true;
        }
        return QWidget::event(event);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Probe probe;
    probe.setWindowTitle(QStringLiteral("keyprobe"));
    probe.resize(200, 100);
    probe.show();
    probe.activateWindow();
    probe.setFocus();
    return app.exec();
}
