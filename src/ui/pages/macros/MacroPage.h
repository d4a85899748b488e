#pragma once
// The macro editor (tab 4, container 53): the macro list card, the event list with its editor, and the
// recording and play-settings card. Macros belong to the mouse model, not to a profile; every change is
// stored at once. Nothing is sent to the mouse from here: a macro reaches it when the button page gives it
// to a button.
//
// Recording: the Record button starts it on the chosen macro; while it runs every key the window receives
// is recorded (KeyCaptureFilter on the application), the window disables its tabs and profile button
// (PageHost::SetRecording), and the rest of the page is locked. It ends with the Stop button, at the event
// limit (with a message), or from outside (StopMacroRecording, CloseTransient, Refresh); in every case the
// whole recording is stored in one transaction, or nothing when the mouse model changed meanwhile.

#include <string>

#include "actions/MacroRecorder.h"
#include "store/KeyCapture.h"
#include "ui/common/Page.h"

class QLabel;

namespace quorvel {

class DesignLayout;
class KeyCaptureFilter;
class MacroEventEditor;
class MacroEventPanel;
class MacroListPanel;
class MacroPlayPanel;

class MacroPage : public Page {
    Q_OBJECT
public:
    MacroPage(PageHost& host, QWidget* parent);

    void Refresh() override;
    bool RefreshesOn(unsigned pages) const override;
    void UISize(qreal scale) override;
    void CloseTransient() override;

    // The device the recording was meant for is gone: the recording stops, nothing half-stored.
    void StopMacroRecording();
    bool Recording() const;

    // The macro the page shows (0: none).
    int CurrentMacro() const { return macroId_; }
    // The clock recordings measure delays with (tests drive it); not while recording.
    void SetRecordingClock(MacroRecorder::Clock clock);

signals:
    // Macros were added, renamed or deleted: the button page's macro menu and button texts follow.
    void macrosChanged();

private:
    void ShowMacro(int macroId);
    void ShowChosenEvent();
    void StartRecording();
    void StopRecording();
    void SendAgain(int macroId);
    void KeyRecorded(const CapturedKey& key);
    void LockForRecording(bool recording);

    int macroId_ = 0;
    qreal scale_ = 1.0;
    DesignLayout* layout_ = nullptr;
    QLabel* caption_ = nullptr;
    MacroListPanel* list_ = nullptr;
    MacroEventPanel* events_ = nullptr;
    MacroEventEditor* editor_ = nullptr;
    MacroPlayPanel* play_ = nullptr;
    KeyCaptureFilter* capture_ = nullptr;
    MacroRecorder recorder_;
};

}  // namespace quorvel
