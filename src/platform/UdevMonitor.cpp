#include "platform/UdevMonitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quorvel {

namespace {

bool ParseHex(std::string_view text, unsigned long* value) {
    if (text.empty()) return false;
    unsigned long v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * 16 + static_cast<unsigned long>(d);
        if (v > 0xFFFFFFFFul) return false;
    }
    *value = v;
    return true;
}

bool ParseDecimal(std::string_view text, int* value) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

// "0003:046D:C08B.0005": bus, vendor, product, instance.
bool ParseHidName(std::string_view name, uint16_t* vendorId, uint16_t* productId) {
    if (name.size() != 19 || name[4] != ':' || name[9] != ':' || name[14] != '.') return false;
    unsigned long bus, vid, pid, inst;
    if (!ParseHex(name.substr(0, 4), &bus) || !ParseHex(name.substr(5, 4), &vid) ||
        !ParseHex(name.substr(10, 4), &pid) || !ParseHex(name.substr(15, 4), &inst))
        return false;
    *vendorId = static_cast<uint16_t>(vid);
    *productId = static_cast<uint16_t>(pid);
    return true;
}

// "1-2:1.2" or "1-2.4:1.0": a USB interface; the number after the last dot.
bool ParseUsbInterfaceName(std::string_view name, int* interfaceNumber) {
    size_t colon = name.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    size_t dot = name.find('.', colon);
    if (dot == std::string_view::npos) return false;
    int config;
    return ParseDecimal(name.substr(colon + 1, dot - colon - 1), &config) &&
           ParseDecimal(name.substr(dot + 1), interfaceNumber);
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string_view::npos) slash = path.size();
        if (slash > start) parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string HidIdText(uint16_t vendorId, uint16_t productId, int interfaceNumber) {
    char text[40];
    if (interfaceNumber >= 0) {
        std::snprintf(text, sizeof text, "VID_%04X&PID_%04X&MI_%02X", vendorId, productId, interfaceNumber & 0xFF);
    } else {
        std::snprintf(text, sizeof text, "VID_%04X&PID_%04X", vendorId, productId);
    }
    return text;
}

bool ParseHidrawDevpath(std::string_view devpath, uint16_t* vendorId, uint16_t* productId, int* interfaceNumber) {
    std::vector<std::string_view> parts = SplitPath(devpath);
    *interfaceNumber = -1;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!ParseHidName(parts[i], vendorId, productId)) continue;
        int number;
        if (i > 0 && ParseUsbInterfaceName(parts[i - 1], &number)) *interfaceNumber = number;
        return true;
    }
    return false;
}

std::vector<HidUsagePair> TopLevelUsages(const uint8_t* descriptor, size_t size) {
    std::vector<HidUsagePair> out;
    std::vector<uint16_t> pageStack;
    uint16_t usagePage = 0;
    bool haveUsage = false;
    bool extendedUsage = false;
    uint32_t usage = 0;
    int depth = 0;
    size_t i = 0;
    while (i < size) {
        uint8_t prefix = descriptor[i];
        if (prefix == 0xFE) {  // long item: skip it whole
            if (i + 1 >= size) break;
            i += 3 + descriptor[i + 1];
            continue;
        }
        size_t length = prefix & 0x03;
        if (length == 3) length = 4;
        if (i + 1 + length > size) break;
        uint32_t value = 0;
        for (size_t b = 0; b < length; ++b) value |= static_cast<uint32_t>(descriptor[i + 1 + b]) << (8 * b);
        int type = (prefix >> 2) & 0x03;
        int tag = prefix >> 4;
        if (type == 1) {  // global
            if (tag == 0x0) usagePage = static_cast<uint16_t>(value);
            else if (tag == 0xA) pageStack.push_back(usagePage);
            else if (tag == 0xB && !pageStack.empty()) {
                usagePage = pageStack.back();
                pageStack.pop_back();
            }
        } else if (type == 2) {  // local
            if (tag == 0x0 && !haveUsage) {
                usage = value;
                extendedUsage = length == 4;  // carries its own page
                haveUsage = true;
            }
        } else if (type == 0) {  // main
            if (tag == 0xA) {
                if (depth == 0 && haveUsage) {
                    uint16_t page = extendedUsage ? static_cast<uint16_t>(usage >> 16) : usagePage;
                    out.push_back(HidUsagePair{page, static_cast<uint16_t>(usage)});
                }
                ++depth;
            } else if (tag == 0xC && depth > 0) {
                --depth;
            }
            haveUsage = false;  // local items end with every main item
        }
        i += 1 + length;
    }
    return out;
}

UdevMonitor::~UdevMonitor() { Stop(); }

bool UdevMonitor::Start(Callback callback, std::string* error) {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        if (monitor_) udev_monitor_unref(monitor_);
        if (udev_) udev_unref(udev_);
        if (stopFd_ >= 0) close(stopFd_);
        monitor_ = nullptr;
        udev_ = nullptr;
        stopFd_ = -1;
        return false;
    };
    udev_ = udev_new();
    if (!udev_) return fail("udev_new");
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_) return fail("udev monitor");
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0)
        return fail("udev monitor set-up");
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return fail("eventfd");
    callback_ = std::move(callback);
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void UdevMonitor::Stop() {
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) return;
        if (thread_.get_id() == std::this_thread::get_id()) {
            // Called from the callback: ask the loop to end; the owner's next Stop or the destructor joins.
            uint64_t one = 1;
            (void)!write(stopFd_, &one, sizeof one);
            return;
        }
        uint64_t one = 1;
        (void)!write(stopFd_, &one, sizeof one);
        thread.swap(thread_);
    }
    thread.join();
    std::lock_guard<std::mutex> lock(mutex_);
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
    close(stopFd_);
    monitor_ = nullptr;
    udev_ = nullptr;
    stopFd_ = -1;
    callback_ = nullptr;
    known_.clear();
}

bool UdevMonitor::Running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return thread_.joinable();
}

void UdevMonitor::Loop() {
    udev* u;
    udev_monitor* monitor;
    int stopFd;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        u = udev_;
        monitor = monitor_;
        stopFd = stopFd_;
    }
    // Remember the nodes present now, so their removal can be named after sysfs is gone.
    if (udev_enumerate* e = udev_enumerate_new(u)) {
        udev_enumerate_add_match_subsystem(e, "hidraw");
        udev_enumerate_scan_devices(e);
        udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
            if (udev_device* d = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry))) {
                Handle(d);  // no action: only recorded
                udev_device_unref(d);
            }
        }
        udev_enumerate_unref(e);
    }
    pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) break;
        if (fds[0].revents & POLLIN) {
            if (udev_device* d = udev_monitor_receive_device(monitor)) {
                Handle(d);
                udev_device_unref(d);
            }
        }
    }
}

void UdevMonitor::Handle(udev_device* device) {
    const char* action = udev_device_get_action(device);
    const char* syspath = udev_device_get_syspath(device);
    if (!syspath) return;
    std::string key = syspath;
    bool removal = action && std::strcmp(action, "remove") == 0;
    if (action && !removal && std::strcmp(action, "add") != 0) return;  // change, bind, ...

    UdevHidEvent event;
    if (removal) {
        auto it = known_.find(key);
        if (it != known_.end()) {
            event = it->second;
            known_.erase(it);
        } else {
            const char* devpath = udev_device_get_devpath(device);
            if (!devpath || !ParseHidrawDevpath(devpath, &event.vendorId, &event.productId, &event.interfaceNumber))
                return;
            const char* node = udev_device_get_devnode(device);
            event.devnode = node ? node : "";
            event.pathText = "HID#" + HidIdText(event.vendorId, event.productId, event.interfaceNumber) + "#" +
                             event.devnode;
        }
        event.arrival = false;
        event.usages.clear();
    } else {
        const char* node = udev_device_get_devnode(device);
        const char* devpath = udev_device_get_devpath(device);
        event.devnode = node ? node : "";
        bool ids = false;
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
        if (hid) {
            // HID_ID=0003:0000046D:0000C08B
            if (const char* hidId = udev_device_get_property_value(hid, "HID_ID")) {
                unsigned bus, vid, pid;
                if (std::sscanf(hidId, "%x:%x:%x", &bus, &vid, &pid) == 3) {
                    event.vendorId = static_cast<uint16_t>(vid);
                    event.productId = static_cast<uint16_t>(pid);
                    ids = true;
                }
            }
            std::vector<uint8_t> descriptor = ReadFile(std::string(udev_device_get_syspath(hid)) + "/report_descriptor");
            event.usages = TopLevelUsages(descriptor.data(), descriptor.size());
        }
        int parsedInterface = -1;
        uint16_t vid = 0, pid = 0;
        bool parsed = devpath && ParseHidrawDevpath(devpath, &vid, &pid, &parsedInterface);
        if (!ids && parsed) {
            event.vendorId = vid;
            event.productId = pid;
            ids = true;
        }
        if (!ids) return;
        event.interfaceNumber = parsedInterface;
        if (udev_device* intf = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface")) {
            unsigned long number;
            const char* text = udev_device_get_sysattr_value(intf, "bInterfaceNumber");
            if (text && ParseHex(text, &number)) event.interfaceNumber = static_cast<int>(number & 0xFF);
        }
        event.pathText = "HID#" + HidIdText(event.vendorId, event.productId, event.interfaceNumber) + "#" +
                         event.devnode;
        event.arrival = true;
        known_[key] = event;
        if (!action) return;  // start-up scan: recorded, not announced
    }
    Callback callback;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        callback = callback_;
    }
    if (callback) callback(event);
}

}  // namespace quorvel
