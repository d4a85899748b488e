#pragma once
// Everything the device core shows. Called on the worker thread: the GUI marshals each call to its own
// thread (widgets are never touched from the worker), the command-line tool prints or ignores. Every call
// has a do-nothing default.

#include <cstdint>
#include <string>

#include "device/DeviceTaskRequest.h"
#include "device/DiscoveryView.h"
#include "device/TaskResult.h"
#include "shell/DeviceDescriptor.h"

namespace quorvel {

// Pages that a device change asks the front end to reload from the settings.
enum PageMask : unsigned {
    kPageButtons = 1u << 0,
    kPageMacros = 1u << 1,
    kPagePerformance = 1u << 2,
    kPageLighting = 1u << 3,
};

class DeviceView : public DiscoveryView {
public:
    // A queued task ended (id as QueueTask returned it, the request as queued): carried out, failed with
    // its reason, or dropped because the worker stopped. Every task reports its end once, waited for or
    // not, so a front end that never waits (the GUI) learns what became of each change.
    virtual void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
        (void)id, (void)request, (void)result;
    }
    // Battery of the current device (battery control).
    virtual void SetBatteryInfo(int level, int status) { (void)level, (void)status; }
    // DPI range of the connected sensor (slider description and positions).
    virtual void SetDpiRange(int maxDpi, int step, int sliderPositions) {
        (void)maxDpi, (void)step, (void)sliderPositions;
    }
    // Highest selectable report-rate entry (4..7) of the connected mouse.
    virtual void SetReportRateEntries(int highestEntry) { (void)highestEntry; }
    // The report-rate control selects this code.
    virtual void SelectReportRate(int code) { (void)code; }
    // The mouse switched its DPI level count: select it in the count box and rebuild the levels.
    virtual void SetDpiLevelCount(int count) { (void)count; }
    // The mouse switched its active DPI level: select it, move the slider for the sensor, and show the DPI
    // indicator with the level's value.
    virtual void SelectDpiLevel(int level, int dpiValue, int sensorCode) {
        (void)level, (void)dpiValue, (void)sensorCode;
    }
    // The DPI controls reload from the settings (DPI reset).
    virtual void ReloadDpiControls() {}
    // Reload the given pages (PageMask bits) from the settings.
    virtual void RefreshPages(unsigned pages) { (void)pages; }
    // Redraw the device-information page from the current link.
    virtual void ShowVersionLabels() {}
    // The mouse firmware label ("<551>: X.YZ") and the check-result label (text 580).
    virtual void SetMouseFirmwareLabel(const std::string& label, const std::string& checkResult) {
        (void)label, (void)checkResult;
    }
    // A wireless mouse reported its link back: status title (51/52), page tabs, pages and device list
    // shown, no-device panels hidden, second tab selected.
    virtual void ShowConnectedView(int titleTextId) { (void)titleTextId; }
    // A wireless mouse reported its link lost: title 50, first tab, pages hidden, no-device panel shown;
    // then the empty-list panels when onlineDevices < 1, else the device list.
    virtual void ShowLinkLostView(int onlineDevices) { (void)onlineDevices; }
    // Stop a running macro recording (the device it was meant for is gone).
    virtual void StopMacroRecording() {}
    // The active profile and its name (profile button).
    virtual void SetProfileTitle(int profile, const std::string& name) { (void)profile, (void)name; }
    // The model loader applied a descriptor: picture, lighting tab, switches, buttons, zones.
    virtual void ModelLoaded(const ModelState& model) { (void)model; }
    // Firmware transfer progress ("<592>: N%"); percent also for the progress bar.
    virtual void SetFirmwareProgress(int percent, const std::string& text) { (void)percent, (void)text; }
    // The firmware transfer task ended: close the progress dialog if it is open.
    virtual void EndFirmwareProgress() {}
    // Another program holds the per-user device lock ("quorvelctl (process 4711)"): nothing goes to a
    // mouse, discovery included, until it ends. Then DeviceLockTaken, and the worker starts.
    virtual void DeviceLockWaiting(const std::string& holder) { (void)holder; }
    virtual void DeviceLockTaken() {}

    // Update checks and downloads (the update flow, on the worker thread).
    // Software check label of the settings page (275): "<582>: v<newest>" or text 580.
    virtual void SetSoftwareCheckLabel(const std::string& text) { (void)text; }
    // Firmware check label of the device-information page (246): "<582>: v<newest>" or text 580.
    virtual void SetFirmwareCheckLabel(const std::string& text) { (void)text; }
    // A check ended with an accepted server version (kind 1 software, 2 firmware). The GUI offers the
    // update only when `newer`, and queues task 27 or 28 on the user's yes.
    virtual void OfferUpdate(int kind, bool newer, const std::string& newest) {
        (void)kind, (void)newer, (void)newest;
    }
    // Download progress of an update archive, 0..100 (100 = finished).
    virtual void SetDownloadProgress(int percent) { (void)percent; }
    // The set-up program was started: the program should now end.
    virtual void InstallerStarted(const std::string& path) { (void)path; }
    // Task 27 ended without starting the set-up program (kind 1), or task 28 did not bring the whole image
    // to the mouse (kind 2): why, in words a front end can show ("cannot download ...: cancelled").
    virtual void UpdateFailed(int kind, const std::string& reason) { (void)kind, (void)reason; }
};

}  // namespace quorvel
