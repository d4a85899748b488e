#include "ui/window/PageFill.h"

#include "device/DeviceTaskRequest.h"
#include "device/TaskResult.h"
#include "ui/window/DeviceEvents.h"
#include "ui/window/DeviceMainDlg.h"

namespace quorvel {

PageFill::PageFill(DeviceMainDlg& window, std::function<int()> currentModel)
    : QObject(&window), window_(window), currentModel_(std::move(currentModel)) {
    // Discovery reports its selection before it reads that mouse; the reports arrive in order.
    connect(&window.Events(), &DeviceEvents::deviceSelected, this, [this](int type) { selected_ = type; });
    // A task's end reaches the window after everything the task reported: the pages hold what was read.
    connect(&window, &DeviceMainDlg::taskEnded, this,
            [this](quint64, const DeviceTaskRequest& request, const TaskResult& result) {
                switch (request.code) {
                    case kTaskSelectDevice:
                        if (request.deviceType > 0) selected_ = request.deviceType;
                        [[fallthrough]];
                    case kTaskStart:
                    case kTaskArrival:
                    case kTaskRemoval:
                        read_ = result.ok() ? selected_ : 0;
                        break;
                    default:
                        break;
                }
            });
}

bool PageFill::Filled() const {
    // A start-up that failed before the attach still answers the socket (from its message box's loop).
    if (!window_.Attached()) return false;
    return window_.CurrentView() == MainViews::View::Device && !window_.SettingsOpen() &&
           window_.PendingPick() == 0 && read_ != 0 && currentModel_ && read_ == currentModel_();
}

}  // namespace quorvel
