#include "device/HidapiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {

namespace {

struct HidapiHandle : HidHandle {
    int fd = -1;
    std::string path;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::string product;
    std::string lastError;
};

HidapiHandle* Cast(HidHandle* handle) {
    return static_cast<HidapiHandle*>(handle);
}

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

// Keeps the system's error text of a failed call.
int Keep(HidapiHandle* h, int result) {
    if (result < 0) h->lastError = std::strerror(errno);
    return result;
}

int Fails(HidapiHandle* h, const char* why) {
    h->lastError = why;
    return -1;
}

HidOpenError ClassifyOpenFailure(const std::string& path) {
    if (access(path.c_str(), R_OK | W_OK) == 0) return HidOpenError::Other;
    switch (errno) {
        case EACCES:
        case EPERM:
        case EROFS:
            return HidOpenError::Permission;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return HidOpenError::Gone;
        default:
            return HidOpenError::Other;
    }
}

}  // namespace

HidapiBackend::HidapiBackend() {
    initialised_ = hid_init() == 0;
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

HidapiBackend::~HidapiBackend() {
    WatchHotplug(nullptr);
    if (wakeFd_ >= 0) close(wakeFd_);
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
    for (auto it = out.rbegin(); it != out.rend(); ++it)
        known_[it->path] = {it->usagePage, it->usage, it->product};
    return out;
}

HidHandle* HidapiBackend::Open(const std::string& path, HidOpenError* error) {
    if (error) *error = HidOpenError::None;
    if (!initialised_) {
        if (error) *error = HidOpenError::Other;
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (error) *error = ClassifyOpenFailure(path);
        return nullptr;
    }
    auto* handle = new HidapiHandle;
    handle->fd = fd;
    handle->path = path;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = known_.find(path);
    if (it != known_.end()) {
        handle->usagePage = it->second.usagePage;
        handle->usage = it->second.usage;
        handle->product = it->second.product;
    }
    return handle;
}

void HidapiBackend::Close(HidHandle* handle) {
    if (!handle) return;
    HidapiHandle* h = Cast(handle);
    close(h->fd);
    delete h;
}

int HidapiBackend::Write(HidHandle* handle, const uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    // The report ID leads; hidraw drops a 0 for devices without numbered reports.
    ssize_t n;
    do n = write(h->fd, data, length);
    while (n < 0 && errno == EINTR);
    return Keep(h, static_cast<int>(n));
}

int HidapiBackend::ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    pollfd fd{h->fd, POLLIN, 0};
    int ready;
    do ready = poll(&fd, 1, milliseconds < 0 ? -1 : milliseconds);
    while (ready < 0 && errno == EINTR);
    if (ready < 0) return Keep(h, -1);
    if (ready == 0) return 0;
    if (fd.revents & (POLLERR | POLLHUP | POLLNVAL)) return Fails(h, "The device is not connected.");
    const ssize_t n = read(h->fd, data, length);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return Keep(h, static_cast<int>(n));
}

int HidapiBackend::SendFeature(HidHandle* handle, const uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, ioctl(h->fd, HIDIOCSFEATURE(length), data));
}

int HidapiBackend::GetFeature(HidHandle* handle, uint8_t* data, size_t length) {
    if (!handle) return -1;
    HidapiHandle* h = Cast(handle);
    return Keep(h, ioctl(h->fd, HIDIOCGFEATURE(length), data));
}

std::string HidapiBackend::ProductString(HidHandle* handle) {
    return handle ? Cast(handle)->product : std::string();
}

void HidapiBackend::WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) {
    std::vector<pollfd> fds;
    if (wakeFd_ >= 0) fds.push_back({wakeFd_, POLLIN, 0});
    for (HidHandle* handle : handles)
        if (handle) fds.push_back({Cast(handle)->fd, POLLIN, 0});
    int ready;
    do ready = poll(fds.data(), fds.size(), milliseconds < 0 ? -1 : milliseconds);
    while (ready < 0 && errno == EINTR);
    if (ready > 0 && wakeFd_ >= 0 && (fds[0].revents & POLLIN)) {
        uint64_t count = 0;
        (void)!read(wakeFd_, &count, sizeof count);  // the wake is used up
    }
}

void HidapiBackend::WakeWaiter() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    (void)!write(wakeFd_, &one, sizeof one);
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
