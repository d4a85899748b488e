#pragma once
// The device core's place in the start-up: opened once the main window is shown, stopped first at
// shutdown, before anything it uses goes. It opens the core's composition root (the HID backend as
// quorvelctl chooses it: QUORVEL_VIRTUAL picks the virtual mouse, QUORVEL_HID_TRACE records every
// transfer; hot-plug watching on), builds the rest of the window on it, starts the worker on the window's
// view bridge (task 1: discovery) and queues the software version check (task 24).

#include <QString>

#include "session/CoreSession.h"

namespace quorvel {

class DeviceMainDlg;

class CoreStep {
public:
    CoreStep() = default;
    ~CoreStep();
    CoreStep(const CoreStep&) = delete;
    CoreStep& operator=(const CoreStep&) = delete;

    // False with *error when the core cannot be opened (a bad QUORVEL_VIRTUAL, a trace file that cannot be
    // written, unreadable product files). With `start` false the window is built on the core but no worker
    // runs (the smoke test).
    bool Start(DeviceMainDlg& window, const std::string& programDir, QString* error, bool start = true);
    // The worker is stopped and joined (a running download cancelled first). Idempotent. After it the
    // window no longer reaches into the core's devices.
    void Stop();

    CoreSession& Session() { return session_; }

private:
    CoreSession session_;
    DeviceMainDlg* window_ = nullptr;
};

}  // namespace quorvel
