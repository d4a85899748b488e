#include "app/CoreStep.h"

#include "ui/window/DeviceMainDlg.h"

namespace quorvel {

CoreStep::~CoreStep() {
    Stop();
}

bool CoreStep::Start(DeviceMainDlg& window, const std::string& programDir, QString* error, bool start) {
    SessionOptions options;
    options.productDir = programDir;
    options.openTraceLog = false;  // the start-up opened it
    options.watchHotplug = true;   // mice plugged and unplugged reach the worker as tasks 2 and 3
    options.lockProgram = "quorvel";  // held while the window runs; waited for while another program has it
    const SessionResult opened = session_.Open(options);
    if (!opened.ok()) {
        if (error) *error = QString::fromStdString(opened.message);
        return false;
    }
    window_ = &window;
    HidDeviceManager& manager = session_.Manager();
    window.SetReleaseSource([&manager] {
        uint32_t release = 0;
        return manager.ReleaseForLinkMode(&release, 0) ? release : 0u;
    });
    window.Attach(session_);
    if (start) {
        session_.Start(&window.Bridge());
        window.CheckSoftwareAfterFirstLoad();
    }
    return true;
}

void CoreStep::Stop() {
    session_.Stop();
    if (window_) {
        window_->SetReleaseSource(nullptr);
        window_ = nullptr;
    }
}

}  // namespace quorvel
