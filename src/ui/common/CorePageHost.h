#pragma once
// The core half of a PageHost, on a core session: the page actions, the events object, the task queue and
// the update requests. The window (and a page test's host) adds the window half: indicators, dialogs,
// texts, the layout scale. Pages see only PageHost.

#include <QPointer>

#include "ui/common/PageHost.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

class CoreSession;

// The current link of a session in one reading. On the worker thread (where discovery changes the link)
// the values agree; on another thread they are as current as a page needs when it is built.
LinkInfo ReadLink(CoreSession& session);

class CorePageHost : public PageHost {
public:
    CorePageHost();
    ~CorePageHost() override;

    // The session the requests go to (null until attached: nothing is queued, nothing read).
    void SetSession(CoreSession* session) { session_ = session; }

    ActionContext& Actions() override;
    DeviceEvents& Events() override { return *events_; }
    LinkInfo CurrentLink() override;
    std::vector<uint64_t> Queue(const ActionResult& result) override;
    uint64_t CheckFirmware() override;
    uint64_t CheckSoftware() override;
    uint64_t InstallUpdate(int kind) override;
    void CancelUpdate() override;
    VersionCheck UpdateCheck(int kind) override;
    UpdateInstall UpdateResult(int kind) override;

protected:
    CoreSession* session_ = nullptr;

private:
    // Parented to the window when it has one (dialogs find it there); deleted here otherwise.
    QPointer<DeviceEvents> events_;
};

}  // namespace quorvel
