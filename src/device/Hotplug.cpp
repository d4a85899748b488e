#include "device/Hotplug.h"

#include <cstdio>

#include "device/HidDeviceManager.h"
#include "shell/TraceLog.h"

namespace quorvel {

namespace {

std::string Upper(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::string ProductPathText(int vendorId, int productId) {
    char text[32];
    std::snprintf(text, sizeof text, "VID_%04X&PID_%04X", static_cast<unsigned>(vendorId) & 0xFFFF,
                  static_cast<unsigned>(productId) & 0xFFFF);
    return text;
}

bool IsMouseInterface(HidBackend* backend, const std::string& path, uint16_t usagePage, uint16_t usage) {
    if (usagePage != 0) return usagePage == kGenericDesktopPage && usage == 0x0000;
    if (!backend) return false;
    // Enumerated paths are the tail of the event's path text ("...#/dev/hidraw3").
    std::string upper = Upper(path);
    for (const HidDeviceInfo& info : backend->Enumerate(0, 0)) {
        std::string node = Upper(info.path);
        if (node.empty() || node.size() > upper.size()) continue;
        bool same = upper == node ||
                    (upper.compare(upper.size() - node.size(), node.size(), node) == 0 &&
                     upper[upper.size() - node.size() - 1] == '#');
        if (same && info.usagePage == kGenericDesktopPage && info.usage == 0x0000) return true;
    }
    return false;
}

int UpdateUSBDevice(int event, const std::string& path, const HotplugContext& context) {
    std::string upper = Upper(path);
    char line[1100];
    std::snprintf(line, sizeof line, "UpdateUSBDevice path: %s", upper.c_str());
    if (context.trace) {
        context.trace(line);
    } else {
        Trace("%s", line);
    }
    if (!context.modes || !context.sink) return 0;

    if (event == kDeviceArrival) {
        for (const DeviceEntry& m : *context.modes) {
            if (upper.find(ProductPathText(m.vid, m.pid)) == std::string::npos) continue;
            // Only the first matching entry decides.
            if (context.isMouseInterface && context.isMouseInterface(path)) {
                context.sink->QueueTask(DeviceTaskRequest(kTaskRefresh));
                return kTaskRefresh;
            }
            return 0;
        }
    } else if (event == kDeviceRemoveComplete && context.polling) {
        for (const DeviceEntry& m : *context.modes) {
            if (upper.find(ProductPathText(m.vid, m.pid) + "&MI_02") == std::string::npos) continue;
            context.sink->QueueTask(DeviceTaskRequest(kTaskReload));
            return kTaskReload;
        }
    }
    return 0;
}

HotplugWatcher::HotplugWatcher(HidBackend* backend, TaskSink* sink, std::function<bool()> polling)
    : backend_(backend), sink_(sink), polling_(std::move(polling)) {}

HotplugWatcher::~HotplugWatcher() { Stop(); }

void HotplugWatcher::SetModes(std::vector<DeviceEntry> modes) {
    std::lock_guard<std::mutex> lock(mutex_);
    modes_ = std::move(modes);
}

void HotplugWatcher::SetTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }

void HotplugWatcher::Start() {
    if (!backend_) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (watching_) return;
        watching_ = true;
    }
    backend_->WatchHotplug([this](const HidHotplugEvent& e) { OnEvent(e); });
}

void HotplugWatcher::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!watching_) return;
        watching_ = false;
    }
    if (backend_) backend_->WatchHotplug(nullptr);
}

int HotplugWatcher::OnEvent(const HidHotplugEvent& event) {
    std::vector<DeviceEntry> modes;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        modes = modes_;
    }
    HotplugContext context;
    context.modes = &modes;
    context.polling = polling_ ? polling_() : false;
    context.sink = sink_;
    context.trace = trace_;
    HidBackend* backend = backend_;
    context.isMouseInterface = [&](const std::string& path) {
        return IsMouseInterface(backend, path, event.usagePage, event.usage);
    };
    return UpdateUSBDevice(event.arrival ? kDeviceArrival : kDeviceRemoveComplete, event.path, context);
}

}  // namespace quorvel
