#include "ui/common/CorePageHost.h"

#include "actions/ActionTasks.h"
#include "session/CoreSession.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

LinkInfo ReadLink(CoreSession& session) {
    LinkInfo link;
    if (!session.DevicesOpen()) {
        link.labels = MakeVersionLabels(-1, 0);
        return link;
    }
    link.open = true;
    link.linkKind = session.Manager().CurrentLinkKind();
    link.labels = CurrentVersionLabels(session.Core());
    link.state = session.Core().Snapshot();
    return link;
}

CorePageHost::CorePageHost() : events_(new DeviceEvents) {}

CorePageHost::~CorePageHost() {
    delete events_.data();
}

ActionContext& CorePageHost::Actions() {
    return session_->Actions();
}

LinkInfo CorePageHost::CurrentLink() {
    return session_ ? ReadLink(*session_) : LinkInfo{};
}

std::vector<uint64_t> CorePageHost::Queue(const ActionResult& result) {
    if (!session_) return {};
    std::vector<uint64_t> ids = QueueActionTasks(session_->Worker(), result);
    if (!ids.empty()) ShowSavingIndicator();
    return ids;
}

uint64_t CorePageHost::CheckFirmware() {
    return session_ ? session_->Worker().QueueTask(DeviceTaskRequest(kTaskCheckFirmware)) : 0;
}

uint64_t CorePageHost::CheckSoftware() {
    return session_ ? session_->Worker().QueueTask(DeviceTaskRequest(kTaskCheckSoftware)) : 0;
}

uint64_t CorePageHost::InstallUpdate(int kind) {
    if (!session_ || (kind != kUpdateSoftware && kind != kUpdateFirmware)) return 0;
    // The task's cancel token exists before the task is queued: a Cancel while it waits counts.
    session_->Update().PrepareInstall(kind);
    return session_->Worker().QueueTask(
        DeviceTaskRequest(kind == kUpdateSoftware ? kTaskInstallSoftware : kTaskFlashFirmware));
}

void CorePageHost::CancelUpdate() {
    if (session_) session_->Update().CancelTransfer();
}

VersionCheck CorePageHost::UpdateCheck(int kind) {
    if (!session_) return {};
    return kind == kUpdateSoftware ? session_->Update().SoftwareCheck() : session_->Update().FirmwareCheck();
}

UpdateInstall CorePageHost::UpdateResult(int kind) {
    if (!session_) return {};
    return kind == kUpdateSoftware ? session_->Update().SoftwareInstall()
                                   : session_->Update().FirmwareInstall();
}

}  // namespace quorvel
