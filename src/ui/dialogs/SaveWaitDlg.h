#pragma once
// The saving indicator shown after every change a page queues: the logo, "Saving..." and a running bar,
// centred over the main window and hidden again by its 1 s timer. It only informs: it takes neither the
// focus nor the mouse, so the user goes on working while it shows.

#include "ui/common/SkinnedDialog.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace quorvel {

class SaveWaitDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>"); the hide timer is "timer200".
    enum Id { kLogo = 30, kText = 31, kBar = 32 };
    static constexpr QSize kDesignSize{500, 200};
    static constexpr int kShowMs = 1000;

    explicit SaveWaitDlg(QWidget* owner);

    // Centred over the owner, the bar restarted, the timer (re)started.
    void ShowSaving();

    QTimer* HideTimer() const { return hideTimer_; }
    QProgressBar* Bar() const { return bar_; }

private:
    void Step();

    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTimer* hideTimer_ = nullptr;
    QTimer* stepTimer_ = nullptr;  // moves the bar while shown
};

}  // namespace quorvel
