#pragma once
// The firmware update's progress ("UpdateTipDlg"): a frameless box over the main window with the warning
// not to disconnect the mouse, the step ("Upgrading firmware: 45%") and its bar. Its Cancel ends the
// firmware download and is taken away once the image goes to the mouse, which must not be interrupted.
// It stays until the firmware task ends; one at a time per owner.

#include "ui/dialogs/ProgressDialog.h"

namespace quorvel {

class UpdateTipDlg : public ProgressDialog {
    Q_OBJECT
public:
    enum Id { kHeading = 31, kProgress = 32, kStatus = 33, kCancel = 34 };
    static constexpr QSize kDesignSize{420, 170};
    // From this step on the image is being sent: no cancel any more.
    static constexpr int kTransferStep = 10;

    explicit UpdateTipDlg(QWidget* owner);

    // The dialog of this owner: a new one (an earlier one is closed first), or the open one (null if none).
    static UpdateTipDlg* Open(QWidget* owner);
    static UpdateTipDlg* Find(QWidget* owner);

    // The status line (as the firmware task words it) and the bar.
    void SetStep(int percent, const QString& text);
    int Step() const { return Progress(); }

private:
    QString statusText_;  // empty: the initial text
    QLabel* heading_ = nullptr;
};

}  // namespace quorvel
