#include "ui/UpdateUi.h"

#include "ui/PageHost.h"

namespace quorvel {

UpdateUi::UpdateUi(PageHost& host, QObject* parent) : QObject(parent), host_(host) {}

void UpdateUi::OfferUpdate(int kind, bool newer, const std::string& newest) {
    (void)kind, (void)newer, (void)newest;
}

void UpdateUi::SetDownloadProgress(int percent) {
    (void)percent;
}

void UpdateUi::InstallerStarted(const std::string& path) {
    (void)path;
}

void UpdateUi::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    (void)id, (void)request, (void)result;
}

bool UpdateUi::Busy() const {
    return false;
}

}  // namespace quorvel
