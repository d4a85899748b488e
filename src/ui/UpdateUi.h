#pragma once
// The window side of the updates: the offer of a newer software or firmware, the download progress dialog,
// the set-up program's start, the end of a firmware transfer. (Filled by the updates issue.)

#include <QObject>
#include <cstdint>
#include <string>

#include "device/DeviceTaskRequest.h"
#include "device/ThreadBasic.h"

namespace quorvel {

class PageHost;

class UpdateUi : public QObject {
    Q_OBJECT
public:
    explicit UpdateUi(PageHost& host, QObject* parent = nullptr);

    // What the update flow reports (see DeviceView), on the UI thread.
    void OfferUpdate(int kind, bool newer, const std::string& newest);
    void SetDownloadProgress(int percent);
    void InstallerStarted(const std::string& path);
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);

    // A download or a firmware transfer runs: the program must not end now (the user is told to wait).
    bool Busy() const;

private:
    PageHost& host_;
};

}  // namespace quorvel
