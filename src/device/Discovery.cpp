#include "device/Discovery.h"

#include <cstdarg>
#include <cstdio>

#include "device/Family.h"
#include "shell/TraceLog.h"

namespace quorvel {

namespace {

bool IsReportMouse(uint16_t page, uint16_t usage) { return page == kGenericDesktopPage && usage == 0x0000; }
bool IsVendorMouse(uint16_t page, uint16_t usage) { return page == kVendorPage && usage == 0x0001; }

// One byte as one character (the byte value is the code point).
void AppendByteChar(std::string* out, uint8_t byte) {
    if (byte < 0x80) {
        *out += static_cast<char>(byte);
    } else {
        *out += static_cast<char>(0xC0 | (byte >> 6));
        *out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

}  // namespace

std::string DeviceIdFromInfo(const uint8_t* info, bool featureFamily) {
    // Report-family replies come without their report-ID byte: id at report offset 5, buffer index 4.
    const uint8_t* id = info + (featureFamily ? 8 : 4);
    std::string out;
    for (int i = 0; i < 4 && id[i] != 0; ++i) AppendByteChar(&out, id[i]);
    return out;
}

DeviceDiscovery::DeviceDiscovery(HidDeviceManager& manager, DiscoveryView* view, DiscoveryHooks hooks)
    : manager_(manager), view_(view), hooks_(std::move(hooks)) {}

void DeviceDiscovery::SetView(DiscoveryView* view) { view_ = view; }

void DeviceDiscovery::SetModes(std::vector<DeviceEntry> modes) {
    // The product table follows at once, so a reload before the first refresh already knows the mice.
    manager_.ClearProducts();
    for (const DeviceEntry& m : modes) manager_.AddProduct(m.vid, m.pid, m.device_type, m.mode, m.dev_id);
    std::lock_guard<std::mutex> lock(mutex_);
    modes_ = std::move(modes);
}

std::vector<DeviceEntry> DeviceDiscovery::Modes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return modes_;
}

std::vector<HidPermissionProblem> DeviceDiscovery::PermissionProblems() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return problems_;
}

void DeviceDiscovery::SetSelectedDeviceType(int deviceType) {
    selectedType_.store(deviceType);
    manager_.SetSelectedDeviceType(deviceType);
    manager_.ClearCurrent();
}

void DeviceDiscovery::Trace(const std::string& line) {
    if (hooks_.trace) {
        hooks_.trace(line);
    } else {
        quorvel::Trace("%s", line.c_str());
    }
}

void DeviceDiscovery::TraceF(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Trace(line);
}

void DeviceDiscovery::ReportPermission(const HidDeviceInfo& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& p : problems_) {
        if (p.path == info.path) return;  // one path may carry several collections
    }
    HidPermissionProblem problem;
    problem.path = info.path;
    problem.vendorId = info.vendorId;
    problem.productId = info.productId;
    problem.deviceType = manager_.DeviceTypeOf(info.vendorId, info.productId);
    char text[768];
    std::snprintf(text, sizeof text,
                  "The mouse %04X:%04X at %s cannot be opened: permission denied. Install the udev rule "
                  "70-quorvel.rules from the program folder (sudo install -m 644 70-quorvel.rules "
                  "/etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger "
                  "--subsystem-match=hidraw), then plug the mouse in again.",
                  info.vendorId, info.productId, info.path.c_str());
    problem.message = text;
    problems_.push_back(problem);
}

int DeviceDiscovery::EnumerateDevice() {
    Trace("EnumerateDevice!");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        problems_.clear();
    }
    HidBackend* backend = manager_.Backend();
    if (!backend) return 0;
    int identified = 0;
    for (const HidDeviceInfo& info : backend->Enumerate(0, 0)) {
        if (!manager_.IsKnownProduct(info.vendorId, info.productId)) continue;
        bool feature = IsFeatureFamily(manager_.DeviceTypeOf(info.vendorId, info.productId));
        bool protocol = feature ? IsVendorMouse(info.usagePage, info.usage) || IsReportMouse(info.usagePage, info.usage)
                                : IsReportMouse(info.usagePage, info.usage);
        HidOpenError error = HidOpenError::None;
        HidHandle* handle = backend->Open(info.path, &error);
        if (!handle) {
            if (error == HidOpenError::Permission && protocol) {
                TraceF("EnumerateDevice open denied: %s", info.path.c_str());
                ReportPermission(info);
            }
            continue;
        }
        TraceF("EnumerateDevice UsagePage: %X, Usage: %X", info.usagePage, info.usage);
        if (feature) {
            if (IsReportMouse(info.usagePage, info.usage)) {
                manager_.SetNotifyHandle(handle);
                continue;
            }
            if (!IsVendorMouse(info.usagePage, info.usage)) {
                backend->Close(handle);
                continue;
            }
        } else if (!IsReportMouse(info.usagePage, info.usage)) {
            backend->Close(handle);
            continue;
        }
        Trace("Open hid Device Suc!");

        auto record = std::make_unique<HidDeviceRecord>();
        record->vendorId = info.vendorId;
        record->productId = info.productId;
        record->handle = handle;
        record->release = info.release;
        record->linkMode = static_cast<uint32_t>(manager_.LinkModeOf(info.vendorId, info.productId));
        auto readInfo = [&] {
            return feature ? manager_.ReadInfoByFeature(record->info, handle)
                           : manager_.ReadInfoByReport(record->info, handle);
        };
        bool read = readInfo();
        if (!read) {
            manager_.Pause(100);
            read = readInfo();
        }
        if (read) {
            record->linkState = 1;
            record->deviceId = DeviceIdFromInfo(record->info, feature);
            record->deviceType = manager_.DeviceTypeById(info.vendorId, info.productId, record->deviceId);
            TraceF("EnumerateDevice!, GetDeviceId: %s, GetDeviceType: %d", record->deviceId.c_str(),
                   record->deviceType);
            if (feature) {
                record->batteryLevel = record->info[18];
                record->batteryStatus = record->info[19];
            } else {
                record->batteryStatus = record->info[12];
                record->batteryLevel = record->info[13];
            }
            if (record->deviceType > 0) ++identified;
        }
        record->path = info.path;
        TraceF("EnumerateDevice vendor_id: %X, product_id: %X, dev_type: %x, dev_mode: %x", info.vendorId,
               info.productId, static_cast<unsigned>(record->deviceType), record->linkMode);
        manager_.AddRecord(std::move(record));
    }
    return identified;
}

void DeviceDiscovery::RefreshDevices() {
    manager_.ClearProducts();
    for (const DeviceEntry& m : Modes()) manager_.AddProduct(m.vid, m.pid, m.device_type, m.mode, m.dev_id);
    manager_.ClearCurrent();
    manager_.CloseAll();
    EnumerateDevice();
    manager_.SetOpen(true);
    int selected = selectedType_.load();
    if (selected > 0 && hooks_.loadDescriptor) hooks_.loadDescriptor(selected);
}

int DeviceDiscovery::SuggestSelection(const std::vector<HidDeviceRecord*>& records, int remembered) const {
    int firstOnline = 0, first = 0;
    for (const HidDeviceRecord* r : records) {
        if (r->deviceType <= 0) continue;
        if (r->deviceType == remembered) return remembered;
        if (!first) first = r->deviceType;
        if (!firstOnline && r->linkState == 1) firstOnline = r->deviceType;
    }
    return firstOnline ? firstOnline : first;
}

void DeviceDiscovery::ReloadDeviceList() {
    int remembered = hooks_.readDeviceType ? hooks_.readDeviceType() : 0;
    manager_.ClearCurrent();
    manager_.CloseAll();
    EnumerateDevice();
    manager_.SetOpen(true);
    manager_.SetSelectedDeviceType(0);
    manager_.ClearCurrent();

    std::vector<HidDeviceRecord*> records;
    bool any = manager_.CollectDevices(&records);
    manager_.SetSelectedDeviceType(remembered);

    if (view_) view_->SetAllDeviceState(0);
    bool typed = false;
    for (const HidDeviceRecord* r : records) {
        if (r->deviceType <= 0) continue;
        typed = true;
        if (!view_) continue;
        view_->SetDeviceState(r->deviceType, static_cast<int>(r->linkMode), r->linkState);
        view_->SetDeviceBattery(r->deviceType, static_cast<int>(r->batteryStatus), static_cast<int>(r->batteryLevel));
        view_->SetDeviceVersion(r->deviceType, r->release);
    }

    if (typed) {
        const int requested = requestedType_.load();
        const int chosen = requested > 0 ? requested : SuggestSelection(records, remembered);
        selectedType_.store(chosen);
        manager_.SetSelectedDeviceType(chosen);
        manager_.ClearCurrent();
        if (hooks_.writeDeviceType) hooks_.writeDeviceType(chosen);
        if (hooks_.loadDescriptor) hooks_.loadDescriptor(chosen);
        if (view_) view_->DeviceSelected(chosen);
    }

    if (any) {
        polling_.store(true);
        int kind = manager_.CurrentLinkKind();
        if (view_) {
            if (kind < 0) {
                view_->ShowNoDeviceView(kTitleNoDevice);
            } else {
                view_->ShowDeviceListView(kind == 0 ? kTitleWired : kTitleWireless);
                view_->BringToFront();
            }
        }
    } else {
        polling_.store(false);
        if (view_) view_->ShowNoDeviceView(kTitleNoDevice);
    }
    if (view_) {
        view_->CloseTransientWindows();
        for (const HidPermissionProblem& p : PermissionProblems()) view_->ShowPermissionProblem(p);
    }
}

}  // namespace quorvel
