#pragma once
// The device core's place in the start-up: created once the main window exists, stopped first at
// shutdown, before anything it uses goes. It opens the core's composition root (the HID backend as
// quorvelctl chooses it: QUORVEL_VIRTUAL picks the virtual mouse, QUORVEL_HID_TRACE records every transfer)
// and answers the About box's question for the mouse's release number. The main window puts the worker on
// it next; nothing else in the start-up changes for that.

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
    // written, unreadable product files).
    bool Start(DeviceMainDlg& window, const std::string& programDir, QString* error);
    // Idempotent. After it the window no longer reaches into the core.
    void Stop();

    CoreSession& Session() { return session_; }

private:
    CoreSession session_;
    DeviceMainDlg* window_ = nullptr;
};

}  // namespace quorvel
