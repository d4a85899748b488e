#pragma once
// The macro editor (tab 4, container 53): macros, their events, recording, play settings, macro files.
// (Today an empty container; its page issue fills it. The main window calls the methods below.)

#include <string>

#include "ui/Page.h"

namespace quorvel {

class MacroPage : public Page {
    Q_OBJECT
public:
    MacroPage(PageHost& host, QWidget* parent);

    void Refresh() override;
    void CloseTransient() override;

    // The device the recording was meant for is gone: the recording stops, nothing half-stored.
    void StopMacroRecording();
    bool Recording() const;
};

}  // namespace quorvel
