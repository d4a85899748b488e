#include "ui/window/AfterNextFrame.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quorvel {
namespace {

class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, std::function<void()> call)
        : QObject(&window), surface_(window.windowHandle()), call_(std::move(call)) {
        window.installEventFilter(this);
        if (surface_) surface_->installEventFilter(this);
        QTimer::singleShot(kFrameWait, this, [this] { Run(); });
    }
    ~FrameWatch() override {
        if (surface_) surface_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // The window paints every dirty widget and flushes while it handles either event, once it is on
        // the screen: an update request later on, the expose for a window just shown. The call goes after.
        const bool frame = event->type() == QEvent::UpdateRequest || event->type() == QEvent::Expose;
        if (frame && (!surface_ || surface_->isExposed()))
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

    QPointer<QWindow> surface_;  // the native window; its expose paints the first frame
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
