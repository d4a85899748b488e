#include "device/HidapiBackend.h"

#include <hidapi/hidapi.h>
#include <unistd.h>

#include <cerrno>

namespace quorvel {

namespace {

struct HidapiHandle : HidHandle {
    hid_device* device = nullptr;
    std::string path;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::string lastError;
};

HidapiHandle* Cast(HidHandle* handle) { return static_cast<HidapiHandle*>(handle); }

std::string WideToUtf8(const wchar_t* text) {
    std::string out;
    if (!text) return out;
    for (; *text; ++text) {
        auto c = static_cast<uint32_t>(*text);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Keeps the device's error text, cut at the first carriage return.
int Keep(HidapiHandle* h, int result) {
    if (result < 0) {
        std::string text = WideToUtf8(hid_error(h->device));
        size_t cr = text.find_first_of("\r\n");
        h->lastError = cr == std::string::npos ? text : text.substr(0, cr);
    }
    return result;
}

HidOpenError ClassifyOpenFailure(const std::string& path) {
    if (access(path.c_str(), R_OK | W_OK) == 0) return HidOpenError::Other;
    switch (errno) {
        case EACCES:
        case EPERM:
        case EROFS: return HidOpenError::Permission;
        case ENOENT:
        case ENODEV:
        case ENXIO: return HidOpenError::Gone;
        default: return HidOpenError::Other;
    }
}

}  // namespace

HidapiBackend::HidapiBackend() { initialised_ = hid_init() == 0; }

HidapiBackend::~HidapiBackend() {
    WatchHotplug(nullptr);
    if (initialised_) hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate(uint16_t vendorId, uint16_t productId) {
    std::vector<HidDeviceInfo> out;
    if (!initialised_) return out;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (hid_device_info* d = list; d; d = d->next) {
        HidDeviceInfo info;
        info.path = d->path ? d->path : "";
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.release = d->release_number;
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        info.interfaceNumber = d->interface_number;
        info.product = WideToUtf8(d->product_string);
        out.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    std::lock_guard<std::mutex> lock(mutex_);
    // A path with several top-level collections keeps its first usage, as a handle has only one.
    for (auto it = out.rbegin(); it != out.rend(); ++it) usages_[it->path] = {it->usagePage, it->usage};
    return out;
}

HidHandle* HidapiBackend::Open(const std::string& path, HidOpenError* error) {
    if (error) *error = HidOpenError::None;
    if (!initialised_) {
        if (error) *error = HidOpenError::Other;
        return nullptr;
    }
    hid_device* device = hid_open_path(path.c_str());
    if (!device) {
        if (error) *error = ClassifyOpenFailure(path);
        return nullptr;
    }
    auto* handle = new HidapiHandle;
    handle->device = device;
    handle->path = path;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = usages_.find(path);
    if (it != usages_.end()) {
        handle->usagePage = it->second.first;
        handle->usage = it->second.second;
    }
    return handle;
}

void HidapiBackend::Close(HidHandle* handle) {
    if (!handle) return;
    HidapiHandle* h = Cast(handle);
    hid_close(h->device);
    delete h;
}

int HidapiBackend::Write(HidHandle* handle, const uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, hid_write(h->device, data, length));
}

int HidapiBackend::ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, hid_read_timeout(h->device, data, length, milliseconds));
}

int HidapiBackend::SendFeature(HidHandle* handle, const uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, hid_send_feature_report(h->device, data, length));
}

int HidapiBackend::GetFeature(HidHandle* handle, uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, hid_get_feature_report(h->device, data, length));
}

std::string HidapiBackend::ProductString(HidHandle* handle) {
    if (!handle) return {};
    HidapiHandle* h = Cast(handle);
    wchar_t text[256] = {};
    if (Keep(h, hid_get_product_string(h->device, text, 255)) < 0) return {};
    return WideToUtf8(text);
}

std::string HidapiBackend::LastError(HidHandle* handle) {
    return handle ? Cast(handle)->lastError : std::string();
}

void HidapiBackend::Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) {
    *usagePage = handle ? Cast(handle)->usagePage : 0;
    *usage = handle ? Cast(handle)->usage : 0;
}

HidHotplugEvent HotplugEventFromUdev(const UdevHidEvent& event) {
    HidHotplugEvent out;
    out.arrival = event.arrival;
    out.path = event.pathText;
    for (const HidUsagePair& u : event.usages) {
        if (u.usagePage == 0x0001 && u.usage == 0x0000) {
            out.usagePage = u.usagePage;
            out.usage = u.usage;
            return out;
        }
    }
    if (!event.usages.empty()) {
        out.usagePage = event.usages.front().usagePage;
        out.usage = event.usages.front().usage;
    }
    return out;
}

void HidapiBackend::WatchHotplug(HidHotplugCallback callback) {
    std::lock_guard<std::mutex> lock(watchMutex_);
    if (monitor_) {
        monitor_->Stop();
        monitor_.reset();
    }
    if (!callback) return;
    auto monitor = std::make_unique<UdevMonitor>();
    bool started = monitor->Start([callback](const UdevHidEvent& e) { callback(HotplugEventFromUdev(e)); });
    if (started) monitor_ = std::move(monitor);
}

}  // namespace quorvel
