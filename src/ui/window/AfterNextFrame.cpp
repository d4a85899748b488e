#include "ui/window/AfterNextFrame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quorvel {
namespace {

class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, std::function<void()> call) : QObject(&window), call_(std::move(call)) {
        window.installEventFilter(this);
        QTimer::singleShot(kFrameWait, this, [this] { Run(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // The window paints every dirty widget and flushes while it handles this event: the call goes
        // after it.
        if (event->type() == QEvent::UpdateRequest)
            QMetaObject::invokeMethod(this, [this] { Run(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void Run() {
        if (!call_) return;
        const std::function<void()> call = std::move(call_);
        call_ = nullptr;
        deleteLater();
        call();
    }

    std::function<void()> call_;
};

}  // namespace

void AfterNextFrame(QWidget& window, std::function<void()> call) {
    if (!window.isVisible()) {
        call();
        return;
    }
    new FrameWatch(window, std::move(call));
}

}  // namespace quorvel
