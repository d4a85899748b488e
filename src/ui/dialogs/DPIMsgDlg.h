#pragma once
// The on-screen DPI indicator: a small always-on-top pop-up at the bottom right of the work area that shows
// the DPI a level switch set, hidden again by its 2 s timer (or its close button). It is shown while a game
// runs, so it never takes the keyboard focus: it does not accept the focus, shows without activating and
// belongs to no window (a hidden main window must not hide it). Where a window cannot place itself (a
// Wayland session) and the desktop has a notification service, the same text goes out as a desktop notice
// instead (DesktopNotice); without one the pop-up shows where the compositor puts it.

#include "ui/common/SkinnedDialog.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace quorvel {

class CaptionButton;
class DesktopNotice;
class TextRegistry;

class DPIMsgDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>"); the hide timer is "timer100".
    enum Id { kClose = 30, kValue = 31, kUnit = 32, kBar = 33, kProfile = 34 };
    static constexpr QSize kDesignSize{300, 130};
    static constexpr int kShowMs = 2000;
    // Distance from the work area's right and bottom edges.
    static constexpr int kMargin = 2;

    // Lives as long as `owner` (without being its child); hidden until the first ShowValue.
    explicit DPIMsgDlg(QWidget* owner);

    // Shows the value at the bottom right of the work area of the primary screen and (re)starts the timer.
    void ShowValue(int dpiValue);
    // Shows which profile is now active (profiles that follow the game), in the same place and for as long.
    void ShowProfile(const QString& shownName);
    QString ProfileText() const;
    // The bar's full length: the largest DPI of the connected sensor (16000 until told).
    void SetMaximum(int maxDpi);

    int Value() const { return value_; }
    // Sends what the pop-up would show through `notice` when its service is there (tests; the program
    // makes its own on Wayland).
    void UseDesktopNotice(DesktopNotice* notice) { notice_ = notice; }
    // The text of the value or profile notice.
    QString NoticeText() const;
    QTimer* HideTimer() const { return timer_; }

protected:
    void PopUp();

private:
    int value_ = 1600;
    QLabel* valueText_ = nullptr;
    QLabel* unit_ = nullptr;
    QLabel* profile_ = nullptr;
    QString profileName_;
    QProgressBar* bar_ = nullptr;
    CaptionButton* close_ = nullptr;
    QTimer* timer_ = nullptr;
    TextRegistry* texts_ = nullptr;
    DesktopNotice* notice_ = nullptr;
};

}  // namespace quorvel
