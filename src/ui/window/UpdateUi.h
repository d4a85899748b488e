#pragma once
// The window side of the updates: the offer of a newer software or firmware, the progress dialogs, the
// set-up program's start and the end of an installation.
//
// A check that found a newer version is offered in a question box; yes queues task 27 (software) or 28
// (firmware) and opens its progress dialog, whose Cancel ends the download. When the task ends without
// success the dialog closes and a message says why (a cancel by the user excepted); a firmware update that
// reached the mouse says so. While an installation is queued or runs, Busy() is true: the window must not
// end then (the user is told to wait). Once the set-up program runs, the program ends. It follows the
// host's events itself: the offers, the progress of both transfers, and the ends of tasks 27 and 28.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

#include "device/DeviceTaskRequest.h"
#include "device/ThreadBasic.h"
#include "ui/common/TextIds.h"

namespace quorvel {

class PageHost;
class UpdateProcessDlg;

class UpdateUi : public QObject {
    Q_OBJECT
public:
    explicit UpdateUi(PageHost& host, QObject* parent = nullptr);

    // What the update flow reports (see DeviceView), on the UI thread.
    void SetFirmwareProgress(int percent, const std::string& text);
    void EndFirmwareProgress();
    void OfferUpdate(int kind, bool newer, const std::string& newest);
    void SetDownloadProgress(int percent);
    void InstallerStarted(const std::string& path);
    // Why task 27 or 28 did not succeed (kind 1 software, 2 firmware); said when the task's end arrives.
    void UpdateFailed(int kind, const std::string& reason);
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);

    // A download or a firmware transfer is queued or runs: the program must not end now.
    bool Busy() const;
    // Text to tell the user why the window does not close now.
    static int BusyTextId() { return txt::kUpdateBusy; }

    // What ends the program once the set-up program runs (default: the application's event loop ends with
    // 0, as every way out of the program does). Tests set their own.
    void SetExitAction(std::function<void()> exit) { exit_ = std::move(exit); }

    // The software download's dialog while it is open (null otherwise).
    UpdateProcessDlg* DownloadDialog() const;

private:
    void Install(int kind);
    void Ended(int kind, bool ok);
    QString Reason(int kind);

    PageHost& host_;
    std::function<void()> exit_;
    bool offerOpen_ = false;
    uint64_t softwareTask_ = 0;
    uint64_t firmwareTask_ = 0;
    bool cancelled_[3] = {false, false, false};  // by kind: the user pressed Cancel
    std::string reasons_[3];
    QPointer<UpdateProcessDlg> download_;
};

}  // namespace quorvel
