#pragma once
// The device core's place in the start-up: created and started once the main window exists, stopped
// first at shutdown, before anything it uses goes. Today it sets up the HID backend as quorvelctl does
// (QUORVEL_VIRTUAL chooses the virtual mouse, QUORVEL_HID_TRACE records every transfer) and answers the
// About box's question for the mouse's release number. The core session (worker, database, update flow)
// takes this place next; nothing else in the start-up changes for it.

#include <QString>

namespace quorvel {

class DeviceMainDlg;

class CoreStep {
public:
    CoreStep() = default;
    ~CoreStep();
    CoreStep(const CoreStep&) = delete;
    CoreStep& operator=(const CoreStep&) = delete;

    // False with *error when the chosen backend cannot be made (a bad QUORVEL_VIRTUAL, a trace file that
    // cannot be written).
    bool Start(DeviceMainDlg& window, QString* error);
    // Idempotent. After it the window no longer reaches into the core.
    void Stop();

private:
    DeviceMainDlg* window_ = nullptr;
};

}  // namespace quorvel
