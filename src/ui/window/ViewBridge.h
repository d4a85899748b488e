#pragma once
// The GUI's DeviceView, on the worker side: each call posts one typed call (a lambda with the values it
// carries) to the events object's thread with QMetaObject::invokeMethod and Qt::QueuedConnection, where
// it becomes that object's signal. The worker never waits for the UI and knows no widget; the parts of the
// window connect to the signals they show.
//
// Detach() (UI thread, at teardown) stops the posting; calls already posted are dropped with the events
// object.

#include <functional>
#include <mutex>

#include "device/DeviceView.h"

namespace quorvel {

class DeviceEvents;
struct LinkInfo;

class ViewBridge : public DeviceView {
public:
    // readLink: the current link, called on the worker when it reports the link.
    ViewBridge(DeviceEvents& events, std::function<LinkInfo()> readLink);
    void Detach();

    // DiscoveryView
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int deviceType, int linkMode, int linkState) override;
    void SetDeviceBattery(int deviceType, int status, int level) override;
    void SetDeviceVersion(int deviceType, uint32_t release) override;
    void DeviceSelected(int deviceType) override;
    void ShowNoDeviceView(int titleTextId) override;
    void ShowDeviceListView(int titleTextId) override;
    // BringToFront is left to its no-op: discovery switches the view of a shown window but never shows a
    // hidden one, restores a minimised one or raises it over another application (a start at log-in
    // stays hidden; a game keeps the focus when the receiver is plugged in again). Only the user (a second
    // start, the tray) brings the window back.
    void CloseTransientWindows() override;
    void ShowPermissionProblem(const HidPermissionProblem& problem) override;

    // DeviceView
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) override;
    void SetBatteryInfo(int level, int status) override;
    void SetDpiRange(int maxDpi, int step, int sliderPositions) override;
    void SetReportRateEntries(int highestEntry) override;
    void SelectReportRate(int code) override;
    void SetDpiLevelCount(int count) override;
    void SelectDpiLevel(int level, int dpiValue, int sensorCode) override;
    void ReloadDpiControls() override;
    void RefreshPages(unsigned pages) override;
    void ShowVersionLabels() override;
    void SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) override;
    void ShowConnectedView(int titleTextId) override;
    void ShowLinkLostView(int onlineDevices) override;
    void StopMacroRecording() override;
    void SetProfileTitle(int profile, const std::string& name) override;
    void ModelLoaded(const ModelState& model) override;
    void SetFirmwareProgress(int percent, const std::string& text) override;
    void EndFirmwareProgress() override;
    void DeviceLockWaiting(const std::string& holder) override;
    void DeviceLockTaken() override;
    void SetSoftwareCheckLabel(const std::string& text) override;
    void SetFirmwareCheckLabel(const std::string& text) override;
    void OfferUpdate(int kind, bool newer, const std::string& newest) override;
    void SetDownloadProgress(int percent) override;
    void InstallerStarted(const std::string& path) override;
    void UpdateFailed(int kind, const std::string& reason) override;

private:
    // Any thread: runs `call` on the events object's thread, later.
    void Post(std::function<void(DeviceEvents&)> call);

    std::mutex mutex_;
    DeviceEvents* events_;
    std::function<LinkInfo()> readLink_;
};

}  // namespace quorvel
