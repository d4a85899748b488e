#include "app/CoreStep.h"

#include "device/HidDeviceManager.h"
#include "ui/DeviceMainDlg.h"

namespace quorvel {

CoreStep::~CoreStep() {
    Stop();
}

bool CoreStep::Start(DeviceMainDlg& window, QString* error) {
    HidDeviceManager& manager = HidDeviceManager::Instance();
    const std::string why = HidDeviceManager::InstanceError();
    if (!why.empty() || manager.Backend() == nullptr) {
        if (error) *error = QString::fromStdString(why.empty() ? "no HID backend" : why);
        return false;
    }
    window_ = &window;
    window.SetReleaseSource([&manager] {
        uint32_t release = 0;
        return manager.ReleaseForLinkMode(&release, 0) ? release : 0u;
    });
    return true;
}

void CoreStep::Stop() {
    if (!window_) return;
    window_->SetReleaseSource(nullptr);
    window_ = nullptr;
}

}  // namespace quorvel
