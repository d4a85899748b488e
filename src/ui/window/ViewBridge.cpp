#include "ui/window/ViewBridge.h"

#include <QMetaObject>

#include "toolkit/BatteryCtrl.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/window/DeviceMainDlg.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"
#include "ui/window/MainViews.h"
#include "ui/pages/performance/PerformancePage.h"
#include "ui/window/ProfileFollow.h"
#include "ui/window/UpdateUi.h"

namespace quorvel {

ViewBridge::ViewBridge(DeviceMainDlg& window) : window_(&window) {}

void ViewBridge::Detach() {
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = nullptr;
}

void ViewBridge::Post(std::function<void(DeviceMainDlg&)> call) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!window_) return;
    DeviceMainDlg* window = window_;
    // Queued, never blocking: the worker goes on at once. The call is dropped if the window goes first.
    QMetaObject::invokeMethod(
        window, [window, call = std::move(call)] { call(*window); }, Qt::QueuedConnection);
}

// --- the device list and the views

void ViewBridge::SetAllDeviceState(int state) {
    Post([state](DeviceMainDlg& w) { w.Home().List().SetAllDeviceState(state); });
}

void ViewBridge::SetDeviceState(int deviceType, int linkMode, int linkState) {
    Post([=](DeviceMainDlg& w) { w.Home().List().SetDeviceState(deviceType, linkMode, linkState); });
}

void ViewBridge::SetDeviceBattery(int deviceType, int status, int level) {
    Post([=](DeviceMainDlg& w) { w.Home().List().SetDeviceBattery(deviceType, status, level); });
}

void ViewBridge::SetDeviceVersion(int deviceType, uint32_t release) {
    Post([=](DeviceMainDlg& w) { w.Home().List().SetDeviceVersion(deviceType, release); });
}

void ViewBridge::DeviceSelected(int deviceType) {
    Post([deviceType](DeviceMainDlg& w) { w.Home().List().SetSelectDevice(deviceType); });
}

void ViewBridge::ShowNoDeviceView(int titleTextId) {
    Post([titleTextId](DeviceMainDlg& w) {
        w.LeaveMouse(
            false);  // before the pages go: a field losing its focus must not store for another mouse
        w.Home().ClearPermissionProblems();  // this discovery's problems follow
        w.Views().ShowNoDevice(titleTextId);
    });
}

void ViewBridge::ShowDeviceListView(int titleTextId) {
    Post([titleTextId](DeviceMainDlg& w) {
        w.LeaveMouse(false);
        w.Home().ClearPermissionProblems();
        w.Views().ShowDeviceList(titleTextId);
    });
}

void ViewBridge::CloseTransientWindows() {
    Post([](DeviceMainDlg& w) { w.CloseTransientWindows(); });
}

void ViewBridge::ShowPermissionProblem(const HidPermissionProblem& problem) {
    Post([problem](DeviceMainDlg& w) { w.Home().AddPermissionProblem(problem); });
}

void ViewBridge::ShowConnectedView(int titleTextId) {
    Post([titleTextId](DeviceMainDlg& w) { w.ShowConnectedView(titleTextId); });
}

void ViewBridge::ShowLinkLostView(int onlineDevices) {
    Post([onlineDevices](DeviceMainDlg& w) {
        w.LeaveMouse(true);
        w.Views().ShowLinkLost(onlineDevices);
    });
}

// --- the frame and the window

void ViewBridge::TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    Post([=](DeviceMainDlg& w) { w.OnTaskFinished(id, request, result); });
}

void ViewBridge::SetBatteryInfo(int level, int status) {
    Post([=](DeviceMainDlg& w) {
        w.Frame().battery->SetBatteryInfo(level, status);
        w.Tabs().DeviceInfo().SetBatteryInfo(level, status);
    });
}

void ViewBridge::RefreshPages(unsigned pages) {
    Post([pages](DeviceMainDlg& w) { w.RefreshPages(pages); });
}

void ViewBridge::SetProfileTitle(int profile, const std::string& name) {
    (void)profile;  // the name says it; the window reads the number from the core when it needs it
    Post([name = QString::fromStdString(name)](DeviceMainDlg& w) { w.Frame().SetProfileName(name); });
}

void ViewBridge::ModelLoaded(const ModelState& model) {
    Post([model](DeviceMainDlg& w) { w.ApplyModel(model); });
}

void ViewBridge::StopMacroRecording() {
    Post([](DeviceMainDlg& w) {
        w.Tabs().Macros().StopMacroRecording();
        w.SetRecording(false);
    });
}

// --- the performance page

void ViewBridge::SetDpiRange(int maxDpi, int step, int sliderPositions) {
    Post([=](DeviceMainDlg& w) { w.Tabs().Performance().SetDpiRange(maxDpi, step, sliderPositions); });
}

void ViewBridge::SetReportRateEntries(int highestEntry) {
    Post([highestEntry](DeviceMainDlg& w) { w.Tabs().Performance().SetReportRateEntries(highestEntry); });
}

void ViewBridge::SelectReportRate(int code) {
    Post([code](DeviceMainDlg& w) { w.Tabs().Performance().SelectReportRate(code); });
}

void ViewBridge::SetDpiLevelCount(int count) {
    Post([count](DeviceMainDlg& w) { w.Tabs().Performance().SetDpiLevelCount(count); });
}

void ViewBridge::SelectDpiLevel(int level, int dpiValue, int sensorCode) {
    Post([=](DeviceMainDlg& w) {
        w.Tabs().Performance().SelectDpiLevel(level, dpiValue, sensorCode);
        w.ShowDpiIndicator(dpiValue);
    });
}

void ViewBridge::ReloadDpiControls() {
    Post([](DeviceMainDlg& w) { w.Tabs().Performance().ReloadDpiControls(); });
}

// --- the device-information page

void ViewBridge::ShowVersionLabels() {
    Post([](DeviceMainDlg& w) { w.Tabs().DeviceInfo().ShowVersionLabels(); });
}

void ViewBridge::SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) {
    Post([=](DeviceMainDlg& w) { w.Tabs().DeviceInfo().SetMouseFirmwareLabel(label, checkResult); });
}

void ViewBridge::SetFirmwareProgress(int percent, const std::string& text) {
    Post([=](DeviceMainDlg& w) { w.Tabs().DeviceInfo().SetFirmwareProgress(percent, text); });
}

void ViewBridge::EndFirmwareProgress() {
    Post([](DeviceMainDlg& w) { w.Tabs().DeviceInfo().EndFirmwareProgress(); });
}

void ViewBridge::DeviceLockWaiting(const std::string& holder) {
    const QString who = QString::fromStdString(holder);
    Post([who](DeviceMainDlg& w) {
        w.Home().SetLockHolder(who);
        w.Follow().SetHeldElsewhere(true);
    });
}

void ViewBridge::DeviceLockTaken() {
    Post([](DeviceMainDlg& w) {
        w.Home().SetLockHolder(QString());
        w.Follow().SetHeldElsewhere(false);
    });
}

void ViewBridge::SetFirmwareCheckLabel(const std::string& text) {
    Post([text](DeviceMainDlg& w) { w.Tabs().DeviceInfo().SetFirmwareCheckLabel(text); });
}

// --- updates

void ViewBridge::SetSoftwareCheckLabel(const std::string& text) {
    (void)text;  // the settings page words the check's result itself, so a language change re-texts it
    Post([](DeviceMainDlg& w) { w.ShowSoftwareCheck(); });
}

void ViewBridge::OfferUpdate(int kind, bool newer, const std::string& newest) {
    Post([=](DeviceMainDlg& w) { w.Updates().OfferUpdate(kind, newer, newest); });
}

void ViewBridge::SetDownloadProgress(int percent) {
    Post([percent](DeviceMainDlg& w) { w.Updates().SetDownloadProgress(percent); });
}

void ViewBridge::InstallerStarted(const std::string& path) {
    Post([path](DeviceMainDlg& w) {
        w.Updates().InstallerStarted(path);
        w.ExitForInstaller();
    });
}

void ViewBridge::UpdateFailed(int kind, const std::string& reason) {
    Post([kind, reason](DeviceMainDlg& w) { w.Updates().UpdateFailed(kind, reason); });
}

}  // namespace quorvel
