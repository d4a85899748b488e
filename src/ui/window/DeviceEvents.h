#pragma once
// What the device core reports, as typed Qt signals on the UI thread: one signal per DeviceView call, with
// the values that call carries. The worker-side ViewBridge posts each call here; every part of the window
// (the home page, the frame, the views, the tabs, each page, the settings page, the tray, the update
// dialogs) connects to the signals it shows, so no part knows another's widgets.
//
// Connections made here are direct: the signals are only ever emitted on the UI thread.

#include <QObject>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "device/DeviceTaskRequest.h"
#include "device/DiscoveryView.h"
#include "device/PageState.h"
#include "device/TaskResult.h"
#include "shell/DeviceDescriptor.h"
#include "update/VersionLabels.h"

namespace quorvel {

// The current link in one reading, so the link kind, its release and the device state agree: taken on the
// worker when it reports the link, or by a page that is built later.
struct LinkInfo {
    bool open = false;  // the devices are open (false: only the captions show)
    int linkKind = -1;  // 0 wired, 1 wireless, -1 none
    VersionLabels labels;
    DeviceState state;
};

class DeviceEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The events object of the window `widget` lies in (a child of it or of an owner), or null.
    static DeviceEvents* Of(QWidget* widget);

    // Calls `slot(id, request, result)` for the ends of tasks with one of these codes only.
    template <typename Slot>
    QMetaObject::Connection OnTaskEnd(QObject* receiver, std::initializer_list<DeviceTask> codes, Slot slot) {
        std::vector<int> wanted(codes.begin(), codes.end());
        return connect(
            this, &DeviceEvents::taskFinished, receiver,
            [wanted, slot](quint64 id, const DeviceTaskRequest& request, const TaskResult& result) {
                for (int code : wanted)
                    if (request.code == code) return slot(id, request, result);
            });
    }

signals:
    // The device list and the views.
    void allDeviceState(int state);
    void deviceState(int deviceType, int linkMode, int linkState);
    void deviceBattery(int deviceType, int status, int level);
    void deviceVersion(int deviceType, quint32 release);
    void deviceSelected(int deviceType);
    void noDeviceView(int titleTextId);
    void deviceListView(int titleTextId);
    void connectedView(int titleTextId);
    void linkLostView(int onlineDevices);
    void permissionProblem(const quorvel::HidPermissionProblem& problem);
    // Menus, pop-ups, message boxes and the pages' open edits must not outlive a device change: every
    // transient window closes itself on this.
    void closeTransientWindows();

    // The device in use.
    void taskFinished(quint64 id, const quorvel::DeviceTaskRequest& request,
                      const quorvel::TaskResult& result);
    // Right after taskFinished, once every part has seen that end (the window's notice, exits, waits).
    void taskSettled(quint64 id, const quorvel::DeviceTaskRequest& request,
                     const quorvel::TaskResult& result);
    void batteryInfo(int level, int status);
    void profileTitle(int profile, const QString& name);
    void modelLoaded(const quorvel::ModelState& model);
    void pagesRefresh(unsigned pages);  // PageMask bits
    void macroRecordingStopped();
    void deviceLockWaiting(const QString& holder);
    void deviceLockTaken();

    // The performance page.
    void dpiRange(int maxDpi, int step, int sliderPositions);
    void reportRateEntries(int highestEntry);
    void reportRateSelected(int code);
    void dpiLevelCount(int count);
    void dpiLevelSelected(int level, int dpiValue, int sensorCode);
    void dpiControlsReload();

    // The device-information page and the updates.
    void linkChanged(const quorvel::LinkInfo& link);
    void mouseFirmwareLabel(const std::string& label, const std::string& checkResult);
    void firmwareCheckLabel(const std::string& text);
    void firmwareProgress(int percent, const std::string& text);
    void firmwareProgressEnded();
    void softwareCheckLabel(const std::string& text);
    void updateOffered(int kind, bool newer, const std::string& newest);
    void downloadProgress(int percent);
    void installerStarted(const std::string& path);
    void updateFailed(int kind, const std::string& reason);
};

}  // namespace quorvel
