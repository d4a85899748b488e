#include "ui/window/ViewBridge.h"

#include <QMetaObject>

#include "ui/window/DeviceEvents.h"

namespace quorvel {

ViewBridge::ViewBridge(DeviceEvents& events, std::function<LinkInfo()> readLink)
    : events_(&events), readLink_(std::move(readLink)) {}

void ViewBridge::Detach() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_ = nullptr;
}

void ViewBridge::Post(std::function<void(DeviceEvents&)> call) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!events_) return;
    DeviceEvents* events = events_;
    // Queued, never blocking: the worker goes on at once. The call is dropped if the events object goes.
    QMetaObject::invokeMethod(
        events, [events, call = std::move(call)] { call(*events); }, Qt::QueuedConnection);
}

// --- discovery

void ViewBridge::SetAllDeviceState(int state) {
    Post([state](DeviceEvents& e) { emit e.allDeviceState(state); });
}

void ViewBridge::SetDeviceState(int deviceType, int linkMode, int linkState) {
    Post([=](DeviceEvents& e) { emit e.deviceState(deviceType, linkMode, linkState); });
}

void ViewBridge::SetDeviceBattery(int deviceType, int status, int level) {
    Post([=](DeviceEvents& e) { emit e.deviceBattery(deviceType, status, level); });
}

void ViewBridge::SetDeviceVersion(int deviceType, uint32_t release) {
    Post([=](DeviceEvents& e) { emit e.deviceVersion(deviceType, release); });
}

void ViewBridge::DeviceSelected(int deviceType) {
    Post([deviceType](DeviceEvents& e) { emit e.deviceSelected(deviceType); });
}

void ViewBridge::ShowNoDeviceView(int titleTextId) {
    Post([titleTextId](DeviceEvents& e) { emit e.noDeviceView(titleTextId); });
}

void ViewBridge::ShowDeviceListView(int titleTextId) {
    Post([titleTextId](DeviceEvents& e) { emit e.deviceListView(titleTextId); });
}

void ViewBridge::CloseTransientWindows() {
    Post([](DeviceEvents& e) { emit e.closeTransientWindows(); });
}

void ViewBridge::ShowPermissionProblem(const HidPermissionProblem& problem) {
    Post([problem](DeviceEvents& e) { emit e.permissionProblem(problem); });
}

void ViewBridge::ShowConnectedView(int titleTextId) {
    Post([titleTextId](DeviceEvents& e) { emit e.connectedView(titleTextId); });
}

void ViewBridge::ShowLinkLostView(int onlineDevices) {
    Post([onlineDevices](DeviceEvents& e) { emit e.linkLostView(onlineDevices); });
}

// --- the device in use

void ViewBridge::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    Post([=](DeviceEvents& e) {
        emit e.taskFinished(id, request, result);
        emit e.taskSettled(id, request, result);
    });
}

void ViewBridge::SetBatteryInfo(int level, int status) {
    Post([=](DeviceEvents& e) { emit e.batteryInfo(level, status); });
}

void ViewBridge::RefreshPages(unsigned pages) {
    Post([pages](DeviceEvents& e) { emit e.pagesRefresh(pages); });
}

void ViewBridge::SetProfileTitle(int profile, const std::string& name) {
    Post([profile, name = QString::fromStdString(name)](DeviceEvents& e) {
        emit e.profileTitle(profile, name);
    });
}

void ViewBridge::ModelLoaded(const ModelState& model) {
    Post([model](DeviceEvents& e) { emit e.modelLoaded(model); });
}

void ViewBridge::StopMacroRecording() {
    Post([](DeviceEvents& e) { emit e.macroRecordingStopped(); });
}

void ViewBridge::DeviceLockWaiting(const std::string& holder) {
    Post([who = QString::fromStdString(holder)](DeviceEvents& e) { emit e.deviceLockWaiting(who); });
}

void ViewBridge::DeviceLockTaken() {
    Post([](DeviceEvents& e) { emit e.deviceLockTaken(); });
}

// --- the performance page

void ViewBridge::SetDpiRange(int maxDpi, int step, int sliderPositions) {
    Post([=](DeviceEvents& e) { emit e.dpiRange(maxDpi, step, sliderPositions); });
}

void ViewBridge::SetReportRateEntries(int highestEntry) {
    Post([highestEntry](DeviceEvents& e) { emit e.reportRateEntries(highestEntry); });
}

void ViewBridge::SelectReportRate(int code) {
    Post([code](DeviceEvents& e) { emit e.reportRateSelected(code); });
}

void ViewBridge::SetDpiLevelCount(int count) {
    Post([count](DeviceEvents& e) { emit e.dpiLevelCount(count); });
}

void ViewBridge::SelectDpiLevel(int level, int dpiValue, int sensorCode) {
    Post([=](DeviceEvents& e) { emit e.dpiLevelSelected(level, dpiValue, sensorCode); });
}

void ViewBridge::ReloadDpiControls() {
    Post([](DeviceEvents& e) { emit e.dpiControlsReload(); });
}

// --- the device-information page and the updates

void ViewBridge::ShowVersionLabels() {
    // Read here, on the worker, where the link changes: the link kind, its release and the state agree.
    LinkInfo link = readLink_ ? readLink_() : LinkInfo{};
    Post([link = std::move(link)](DeviceEvents& e) { emit e.linkChanged(link); });
}

void ViewBridge::SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) {
    Post([=](DeviceEvents& e) { emit e.mouseFirmwareLabel(label, checkResult); });
}

void ViewBridge::SetFirmwareProgress(int percent, const std::string& text) {
    Post([=](DeviceEvents& e) { emit e.firmwareProgress(percent, text); });
}

void ViewBridge::EndFirmwareProgress() {
    Post([](DeviceEvents& e) { emit e.firmwareProgressEnded(); });
}

void ViewBridge::SetFirmwareCheckLabel(const std::string& text) {
    Post([text](DeviceEvents& e) { emit e.firmwareCheckLabel(text); });
}

void ViewBridge::SetSoftwareCheckLabel(const std::string& text) {
    Post([text](DeviceEvents& e) { emit e.softwareCheckLabel(text); });
}

void ViewBridge::OfferUpdate(int kind, bool newer, const std::string& newest) {
    Post([=](DeviceEvents& e) { emit e.updateOffered(kind, newer, newest); });
}

void ViewBridge::SetDownloadProgress(int percent) {
    Post([percent](DeviceEvents& e) { emit e.downloadProgress(percent); });
}

void ViewBridge::InstallerStarted(const std::string& path) {
    Post([path](DeviceEvents& e) { emit e.installerStarted(path); });
}

void ViewBridge::UpdateFailed(int kind, const std::string& reason) {
    Post([kind, reason](DeviceEvents& e) { emit e.updateFailed(kind, reason); });
}

}  // namespace quorvel
