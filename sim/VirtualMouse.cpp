#include "sim/VirtualMouse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "sim/MouseProtocol.h"
#include "sim/StateFile.h"

namespace quorvel {

namespace {

constexpr size_t kQueueLimit = 256;  // reports nobody reads are dropped, oldest first, like a full ring
constexpr size_t kRequestLogLimit = 4096;

struct InterfaceUsage {
    SimInterface interface;
    uint16_t usagePage;
    uint16_t usage;
};

constexpr InterfaceUsage kInterfaces[] = {
    {SimInterface::Keyboard, 0x0001, 0x0006},
    {SimInterface::Vendor, 0xFF00, 0x0001},
    {SimInterface::Mouse, 0x0001, 0x0000},
    {SimInterface::Upgrade, 0xFFEF, 0x0000},
};

const char* InterfaceName(SimInterface interface) {
    switch (interface) {
        case SimInterface::Keyboard:
            return "keyboard";
        case SimInterface::Vendor:
            return "vendor";
        case SimInterface::Mouse:
            return "mouse";
        case SimInterface::Upgrade:
            return "upgrade";
    }
    return "?";
}

}  // namespace

VirtualMouse::VirtualMouse(VirtualMouseSpec spec, int index)
    : spec_(std::move(spec)), index_(index), protocol_(std::make_unique<MouseProtocol>(spec_)) {}

VirtualMouse::~VirtualMouse() = default;

std::string VirtualMouse::PathOf(SimInterface interface) const {
    char path[96];
    std::snprintf(path, sizeof path, "virtual:HID#VID_%04X&PID_%04X&MI_%02d#%d", spec_.vendorId,
                  spec_.productId, static_cast<int>(interface), index_);
    return path;
}

std::vector<HidDeviceInfo> VirtualMouse::Interfaces() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!plugged_) return {};
    std::vector<HidDeviceInfo> list;
    for (const InterfaceUsage& entry : kInterfaces) {
        if (entry.interface == SimInterface::Vendor && !FeatureFamily()) continue;
        HidDeviceInfo info;
        info.path = PathOf(entry.interface);
        info.vendorId = spec_.vendorId;
        info.productId = spec_.productId;
        info.release = spec_.release;
        info.usagePage = entry.usagePage;
        info.usage = entry.usage;
        info.interfaceNumber = static_cast<int>(entry.interface);
        info.product = spec_.name;
        list.push_back(info);
    }
    return list;
}

std::vector<HidHotplugEvent> VirtualMouse::HotplugEventsLocked(bool arrival) const {
    std::vector<HidHotplugEvent> events;
    for (const InterfaceUsage& entry : kInterfaces) {
        if (entry.interface == SimInterface::Vendor && !FeatureFamily()) continue;
        events.push_back({arrival, PathOf(entry.interface), arrival ? entry.usagePage : uint16_t{0},
                          arrival ? entry.usage : uint16_t{0}});
    }
    return events;
}

// --- state

MouseMemory VirtualMouse::Memory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return protocol_->memory;
}

void VirtualMouse::SetMemory(const MouseMemory& memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    protocol_->memory = memory;
    SaveLocked();
}

std::vector<SimIssue> VirtualMouse::Issues() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return protocol_->issues;
}

void VirtualMouse::ClearIssues() {
    std::lock_guard<std::mutex> lock(mutex_);
    protocol_->issues.clear();
}

std::vector<SimRequest> VirtualMouse::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void VirtualMouse::ClearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

FirmwareReceiver::State VirtualMouse::FirmwareState() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_.state();
}

std::vector<uint8_t> VirtualMouse::FirmwareImage() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_.Image();
}

bool VirtualMouse::Linked() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return protocol_->linked;
}

bool VirtualMouse::Plugged() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return plugged_;
}

void VirtualMouse::SetStateFile(std::shared_ptr<StateFile> file) {
    std::lock_guard<std::mutex> lock(mutex_);
    stateFile_ = std::move(file);
    if (stateFile_) stateFile_->Load(spec_.Key(), &protocol_->memory);
}

void VirtualMouse::SaveLocked() {
    if (stateFile_) stateFile_->Store(spec_.Key(), protocol_->memory);
}

// --- events

void VirtualMouse::QueueLocked(SimInterface interface, std::vector<uint8_t> bytes) {
    const Clock::time_point ready = Clock::now() + latency_;
    for (auto& [id, handle] : handles_) {
        if (handle.interface != interface || handle.gone) continue;
        if (handle.queue.size() >= kQueueLimit) handle.queue.pop_front();
        handle.queue.push_back({bytes, ready});
    }
    changed_.notify_all();
    if (inputSignal_) inputSignal_();
}

void VirtualMouse::SetInputSignal(std::function<void()> signal) {
    std::lock_guard<std::mutex> lock(mutex_);
    inputSignal_ = std::move(signal);
}

bool VirtualMouse::InputReady(int id, Clock::time_point* due) const {
    std::lock_guard<std::mutex> lock(mutex_);
    *due = Clock::time_point::max();
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.gone) return true;  // the read fails at once
    if (it->second.queue.empty()) return false;
    *due = it->second.queue.front().ready;
    return *due <= Clock::now();
}

void VirtualMouse::PressDpiButton() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!protocol_->linked || !plugged_) return;
    MouseMemory& m = protocol_->memory;
    m.dpiIndex = static_cast<uint8_t>((m.dpiIndex + 1) % m.dpiCount);
    QueueLocked(SimInterface::Mouse, protocol_->DpiReport());
    SaveLocked();
}

void VirtualMouse::SetDpiLevel(int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 0 || index >= kSimDpiLevels || !protocol_->linked || !plugged_) return;
    protocol_->memory.dpiIndex = static_cast<uint8_t>(index);
    QueueLocked(SimInterface::Mouse, protocol_->DpiReport());
    SaveLocked();
}

void VirtualMouse::SetLink(bool linked) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (protocol_->linked == linked) return;
    protocol_->linked = linked;
    if (plugged_) QueueLocked(SimInterface::Mouse, protocol_->LinkReport());
}

void VirtualMouse::SetBattery(int level, int status) {
    std::lock_guard<std::mutex> lock(mutex_);
    protocol_->batteryLevel = level & 0xFF;
    protocol_->batteryStatus = status & 0xFF;
    if (!FeatureFamily() && protocol_->linked && plugged_)
        QueueLocked(SimInterface::Mouse, protocol_->LinkReport());
}

void VirtualMouse::QueueInputReport(SimInterface interface, const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    QueueLocked(interface, bytes);
}

void VirtualMouse::SetHotplugSink(SimHotplugSink sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    hotplug_ = std::move(sink);
}

std::vector<HidHotplugEvent> VirtualMouse::UnplugLocked() {
    if (!plugged_) return {};
    plugged_ = false;
    for (auto& [id, handle] : handles_) {
        handle.gone = true;
        handle.queue.clear();
    }
    lateReply_.clear();
    heldReply_.clear();
    protocol_->ResyncSequence();
    changed_.notify_all();
    if (inputSignal_) inputSignal_();
    return HotplugEventsLocked(false);
}

void VirtualMouse::Unplug() {
    std::vector<HidHotplugEvent> events;
    SimHotplugSink sink;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events = UnplugLocked();
        sink = hotplug_;
    }
    // Outside the lock: the watcher may enumerate or open right away.
    if (sink)
        for (const auto& event : events) sink(event);
}

bool VirtualMouse::UnplugFault(std::unique_lock<std::mutex>& lock, int command, std::string* lastError) {
    if (!TakeFault(SimFaultKind::Unplug, command, nullptr)) return false;
    const std::vector<HidHotplugEvent> events = UnplugLocked();
    const SimHotplugSink sink = hotplug_;
    if (lastError) *lastError = "The device is not connected.";
    lock.unlock();
    if (sink)
        for (const auto& event : events) sink(event);
    return true;
}

void VirtualMouse::Replug() {
    std::vector<HidHotplugEvent> events;
    SimHotplugSink sink;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (plugged_) return;
        plugged_ = true;
        events = HotplugEventsLocked(true);
        sink = hotplug_;
    }
    if (sink)
        for (const auto& event : events) sink(event);
}

void VirtualMouse::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard<std::mutex> lock(mutex_);
    latency_ = latency < std::chrono::milliseconds(0) ? std::chrono::milliseconds(0) : latency;
}

void VirtualMouse::InjectFault(const SimFault& fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fault.count != 0) faults_.push_back(fault);
}

void VirtualMouse::ClearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

bool VirtualMouse::ReleaseHeldReply() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (heldReply_.empty() || !plugged_) return false;
    QueueLocked(SimInterface::Mouse, std::exchange(heldReply_, {}));
    return true;
}

bool VirtualMouse::TakeFault(SimFaultKind kind, int command, SimFault* taken) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->kind != kind || (it->command >= 0 && it->command != command)) continue;
        if (it->after > 0) {
            --it->after;
            continue;
        }
        if (taken) *taken = *it;
        if (it->count > 0 && --it->count == 0) faults_.erase(it);
        return true;
    }
    return false;
}

// --- backend side

int VirtualMouse::Open(SimInterface interface, HidOpenError* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!plugged_ || (interface == SimInterface::Vendor && !FeatureFamily())) {
        if (error) *error = HidOpenError::Gone;
        return 0;
    }
    if (interface == SimInterface::Vendor) protocol_->ResyncSequence();
    const int id = nextHandle_++;
    handles_[id].interface = interface;
    if (error) *error = HidOpenError::None;
    return id;
}

void VirtualMouse::Close(int handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(handle);
    changed_.notify_all();
    if (inputSignal_) inputSignal_();
}

void VirtualMouse::RecordLocked(SimInterface interface, bool feature, const uint8_t* data, size_t length) {
    if (requests_.size() >= kRequestLogLimit) requests_.pop_front();
    requests_.push_back({interface, feature, std::vector<uint8_t>(data, data + length)});
}

void VirtualMouse::DelayTransfer(std::unique_lock<std::mutex>& lock) {
    if (latency_.count() <= 0) return;
    const Clock::time_point until = Clock::now() + latency_;
    while (changed_.wait_until(lock, until) != std::cv_status::timeout) {
    }
}

int VirtualMouse::Write(int id, const uint8_t* data, size_t length, std::string* lastError) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.gone) {
        if (lastError) *lastError = "The device is not connected.";
        return -1;
    }
    if (length == 0) return -1;
    const SimInterface interface = it->second.interface;
    // Pulled out as the request arrives: the mouse never receives it.
    const int faultCommand =
        interface == SimInterface::Upgrade ? (length > 2 ? data[2] : -1) : (length > 1 ? data[1] : -1);
    if (UnplugFault(lock, faultCommand, lastError)) return -1;
    RecordLocked(interface, false, data, length);

    if (interface == SimInterface::Upgrade) {
        if (TakeFault(SimFaultKind::WriteFails, length > 2 ? data[2] : -1, nullptr)) {
            if (lastError) *lastError = "The write failed (injected fault).";
            return -1;
        }
        if (firmware_.Handle(data, length, &protocol_->issues)) return static_cast<int>(length);
        if (lastError) *lastError = "The device refused the report.";
        return -1;
    }
    if (interface != SimInterface::Mouse || FeatureFamily()) {
        protocol_->AddIssue(
            SimIssueKind::Frame,
            std::string("output report written to the ") + InterfaceName(interface) + " interface", data,
            length);
        if (lastError) *lastError = "The device refused the report.";
        return -1;
    }

    uint8_t request[kSimReportSize] = {};  // a shorter write is padded to the report length, like hidapi
    std::memcpy(request, data, std::min(length, kSimReportSize));
    const int command = request[1];
    SimFault fault;
    if (TakeFault(SimFaultKind::WriteFails, command, nullptr)) {
        if (lastError) *lastError = "The write failed (injected fault).";
        return -1;
    }
    // A reply held back from the previous request comes now, ahead of anything this one brings.
    if (!lateReply_.empty()) QueueLocked(SimInterface::Mouse, std::exchange(lateReply_, {}));
    if (TakeFault(SimFaultKind::NoReply, command, nullptr)) return static_cast<int>(length);
    if (TakeFault(SimFaultKind::BadStatus, command, &fault)) {
        std::vector<uint8_t> reply(32, 0);
        reply[0] = request[1];
        reply[1] = fault.status;
        QueueLocked(SimInterface::Mouse, std::move(reply));
        return static_cast<int>(length);
    }
    MouseProtocol::Result result = protocol_->HandleReport(request);
    if (result.replied && TakeFault(SimFaultKind::LateReply, command, nullptr))
        lateReply_ = std::move(result.reply);
    else if (result.replied && TakeFault(SimFaultKind::HeldReply, command, nullptr))
        heldReply_ = std::move(result.reply);
    else if (result.replied)
        QueueLocked(SimInterface::Mouse, std::move(result.reply));
    if (result.changed) SaveLocked();
    return static_cast<int>(length);
}

int VirtualMouse::ReadTimeout(int id, uint8_t* data, size_t length, int milliseconds,
                              std::string* lastError) {
    std::unique_lock<std::mutex> lock(mutex_);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    for (;;) {
        auto it = handles_.find(id);
        if (it == handles_.end() || it->second.gone) {
            if (lastError) *lastError = "The device is not connected.";
            return -1;
        }
        std::deque<Pending>& queue = it->second.queue;
        const Clock::time_point now = Clock::now();
        if (!queue.empty() && queue.front().ready <= now) {
            const std::vector<uint8_t> bytes = std::move(queue.front().bytes);
            queue.pop_front();
            const size_t count = std::min(length, bytes.size());
            std::memcpy(data, bytes.data(), count);
            return static_cast<int>(count);
        }
        if (milliseconds >= 0 && now >= deadline) return 0;
        // Like hidraw: the reader sleeps until a report is due, the handle goes, or the time-out.
        Clock::time_point until = queue.empty() ? Clock::time_point::max() : queue.front().ready;
        if (milliseconds >= 0) until = std::min(until, deadline);
        if (until == Clock::time_point::max())
            changed_.wait(lock);
        else
            changed_.wait_until(lock, until);
    }
}

int VirtualMouse::SendFeature(int id, const uint8_t* data, size_t length, std::string* lastError) {
    std::unique_lock<std::mutex> lock(mutex_);
    DelayTransfer(lock);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.gone) {
        if (lastError) *lastError = "The device is not connected.";
        return -1;
    }
    const SimInterface interface = it->second.interface;
    if (length > 2 && UnplugFault(lock, data[2], lastError)) return -1;
    RecordLocked(interface, true, data, length);
    if (interface != SimInterface::Vendor || length != kSimReportSize) {
        const std::string what =
            interface != SimInterface::Vendor
                ? std::string("feature report sent to the ") + InterfaceName(interface) + " interface"
                : "feature report of " + std::to_string(length) + " bytes, not 33";
        protocol_->AddIssue(SimIssueKind::Frame, what, data, length);
        if (lastError) *lastError = "The parameter is incorrect.";
        return -1;
    }
    const int command = data[2];
    if (TakeFault(SimFaultKind::WriteFails, command, nullptr)) {
        protocol_->NoteSequence(data);
        if (lastError) *lastError = "The write failed (injected fault).";
        return -1;
    }
    if (TakeFault(SimFaultKind::NoReply, command, nullptr)) {
        protocol_->NoteSequence(data);
        return static_cast<int>(length);
    }
    MouseProtocol::Result result = protocol_->HandleFeature(data);
    if (result.changed) SaveLocked();
    if (result.accepted) return static_cast<int>(length);
    if (lastError) *lastError = "The device refused the report.";
    return -1;
}

int VirtualMouse::GetFeature(int id, uint8_t* data, size_t length, std::string* lastError) {
    std::unique_lock<std::mutex> lock(mutex_);
    DelayTransfer(lock);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.gone) {
        if (lastError) *lastError = "The device is not connected.";
        return -1;
    }
    if (length == 0) return -1;
    if (it->second.interface != SimInterface::Vendor || data[0] != 0x0C) {
        protocol_->AddIssue(SimIssueKind::Frame,
                            std::string("get-feature for report ") + std::to_string(data[0]) + " on the " +
                                InterfaceName(it->second.interface) + " interface",
                            data, 1);
        if (lastError) *lastError = "The parameter is incorrect.";
        return -1;
    }
    if (TakeFault(SimFaultKind::WriteFails, 0x20, nullptr)) {
        if (lastError) *lastError = "The request failed (injected fault).";
        return -1;
    }
    std::vector<uint8_t> info = protocol_->FeatureInfo();
    if (TakeFault(SimFaultKind::NoReply, 0x20, nullptr)) std::fill(info.begin() + 1, info.end(), 0);
    const size_t count = std::min(length, info.size());
    std::memcpy(data, info.data(), count);
    return static_cast<int>(count);
}

}  // namespace quorvel
