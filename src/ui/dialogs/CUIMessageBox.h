#pragma once
// The program's message box: a skinned, modal box with a title, a message and one or two buttons, opened
// through ShowMessageBox. Its result is 1 when the first button was pressed and 2 for every other way out
// (the second button, Esc, the window manager's close, a close from outside, the owner going away).
// Only an explicit 1 is consent: callers test IsConsent(result), never "not 2".

#include <functional>

#include "ui/common/SkinnedDialog.h"
#include "ui/common/UiText.h"

namespace quorvel {

inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;
inline bool IsConsent(int result) {
    return result == kResultOk;
}

// The style integer: one button (text 20), two buttons (texts 23 and 25); any other value shows no button
// and only a close from outside (or Esc) ends the box.
inline constexpr int kBoxOk = 0;
inline constexpr int kBoxOkCancel = 4;

class CUIMessageBox : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id { kTitle = 31, kMessage = 32, kFirstButton = 33, kSecondButton = 34 };
    static constexpr QSize kDesignSize{430, 230};

    CUIMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style);

    int Style() const { return style_; }
    // Ends the box with 2: Esc, the close button of the window manager, CloseMessageBoxes().
    void reject() override;

private:
    int style_;
};

// Shows the box modally, centred on the screen, and returns 1 or 2 (see above).
int ShowMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style);
// The same without a nested event loop: `done` receives 1 or 2 once the box has closed (not when the box
// dies with its owner: whoever would hear of it is gone too).
// Returns the box (it deletes itself once closed).
CUIMessageBox* OpenMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style,
                              std::function<void(int)> done);
// A notice about the program itself (its own files), not about the mouse: it stays open until read,
// whatever the mice do.
void OpenProgramNotice(QWidget* owner, const UiText& title, const UiText& message);
// Closes every open message box with 2 (the device situation changed under an open question), except
// the program notices. Returns how many were closed.
int CloseMessageBoxes();

}  // namespace quorvel
