#pragma once
// What the two update progress boxes share (UpdateProcessDlg, UpdateTipDlg): a status line, a bar and a
// Cancel on the update's framed look, centred over the owner's window. Cancel (and Esc, and the window
// manager's close) asks once; the box stays until the task ends and Finish closes it.

#include "ui/common/SkinnedDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorvel {

class TextRegistry;

class ProgressDialog : public SkinnedDialog {
    Q_OBJECT
public:
    struct Ids {
        int status, bar, cancel;
    };

    int Progress() const { return percent_; }
    // Ends the dialog once the task is over (accept: no cancel is asked for).
    void Finish();
    bool Finishing() const { return finishing_; }

    void reject() override;

signals:
    // The user asked to stop; the dialog waits for the task to end.
    void cancelRequested();

protected:
    ProgressDialog(QWidget* owner, const char* name, QSize designSize, Ids ids);

    // The bar at `percent` (0-100).
    void SetPercent(int percent);
    TextRegistry& Texts() { return *texts_; }

    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;

private:
    TextRegistry* texts_;
    int percent_ = 0;
    bool finishing_ = false;
};

}  // namespace quorvel
