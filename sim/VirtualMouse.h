#pragma once
// One virtual mouse (or receiver with its mouse): the firmware model behind the HID interfaces that
// VirtualBackend exposes. Requests go through the backend; tests and benches drive events and faults
// through the control calls below. Every call is thread-safe.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "sim/FirmwareReceiver.h"
#include "sim/MouseMemory.h"
#include "sim/SimIssue.h"
#include "sim/VirtualSpec.h"

namespace quorvel {

class MouseProtocol;
class StateFile;

// The interfaces of a mouse; the number is the interface number (MI_nn) of its path.
enum class SimInterface : int {
    Keyboard = 0,  // 0x0001/0x0006, unrelated to the protocol
    Vendor = 1,    // 0xFF00/0x0001, feature family only: commands as feature reports 0x0C
    Mouse = 2,     // 0x0001/0x0000: report family commands and replies; feature family notifications
    Upgrade = 3,   // 0xFFEF/0x0000: firmware transfer
};

enum class SimFaultKind {
    NoReply,     // the request is lost: not carried out, nothing answers (get-feature returns no info)
    BadStatus,   // report family: not carried out, the reply carries `status` in its status byte
    WriteFails,  // the write / send-feature call itself fails
    LateReply,   // report family: carried out, but the reply comes only once the next request has arrived,
                 // ahead of that request's own reply (a mouse slower than the client's wait)
    Unplug,      // the cable is pulled as the request arrives: not carried out, the call fails, removal
                 // events follow
    HeldReply,   // report family: carried out, but the reply is held until ReleaseHeldReply (a mouse that
                 // answers after the client stopped waiting, before its next request)
};

struct SimFault {
    SimFaultKind kind = SimFaultKind::NoReply;
    int command = -1;       // only requests with this command byte (-1 = any)
    int count = 1;          // requests it applies to; -1 = until ClearFaults
    uint8_t status = 0x01;  // BadStatus
    int after = 0;          // matching requests that pass untouched first (packet 2 of a macro: after 1)
};

// One request as the mouse received it (report ID in byte 0).
struct SimRequest {
    SimInterface interface = SimInterface::Mouse;
    bool feature = false;  // sent as a feature report
    std::vector<uint8_t> bytes;
};

// Arrival or removal of one interface, for the backend's hot-plug watchers.
using SimHotplugSink = std::function<void(const HidHotplugEvent&)>;

class VirtualMouse {
public:
    VirtualMouse(VirtualMouseSpec spec, int index);
    ~VirtualMouse();
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    const VirtualMouseSpec& Spec() const { return spec_; }
    bool FeatureFamily() const { return spec_.FeatureFamily(); }
    // The interfaces this mouse exposes, in enumeration order (empty while unplugged).
    std::vector<HidDeviceInfo> Interfaces() const;
    std::string PathOf(SimInterface interface) const;

    // --- what the mouse holds
    MouseMemory Memory() const;
    void SetMemory(const MouseMemory& memory);
    std::vector<SimIssue> Issues() const;
    void ClearIssues();
    std::vector<SimRequest> Requests() const;  // the last 4096 requests, oldest first
    void ClearRequests();
    FirmwareReceiver::State FirmwareState() const;
    // The image of the last transfer that ended cleanly (sub-block payloads, the last one padded with 0xFF).
    std::vector<uint8_t> FirmwareImage() const;
    bool Linked() const;
    bool Plugged() const;

    // --- events the mouse reports on its own
    void PressDpiButton();                   // next level, wrapping
    void SetDpiLevel(int index);             // the active level as if switched on the mouse
    void SetLink(bool linked);               // the receiver loses / reaches the mouse
    void SetBattery(int level, int status);  // report family also reports it (C0 01 level status)
    void QueueInputReport(SimInterface interface, const std::vector<uint8_t>& bytes);  // any raw report
    void Unplug();
    void Replug();

    // --- reliability
    void SetLatency(std::chrono::milliseconds latency);  // delay of each input report and feature transfer
    void InjectFault(const SimFault& fault);
    void ClearFaults();
    // Sends the reply a HeldReply fault kept back; false when none is held.
    bool ReleaseHeldReply();

    // --- backend side (handle ids are the mouse's own)
    int Open(SimInterface interface, HidOpenError* error);
    void Close(int handle);
    int Write(int handle, const uint8_t* data, size_t length, std::string* lastError);
    // Like hidraw: waits for a report until the time-out (-1: without limit).
    int ReadTimeout(int handle, uint8_t* data, size_t length, int milliseconds, std::string* lastError);
    // Whether a read on the handle would return at once (a report is due, or the handle is gone or
    // closed); otherwise *due is when the next queued report becomes readable (max() when none is queued).
    bool InputReady(int handle, std::chrono::steady_clock::time_point* due) const;
    // Called (with the mouse's lock held: it must only signal) whenever a handle's input changes.
    void SetInputSignal(std::function<void()> signal);
    int SendFeature(int handle, const uint8_t* data, size_t length, std::string* lastError);
    int GetFeature(int handle, uint8_t* data, size_t length, std::string* lastError);

    void SetHotplugSink(SimHotplugSink sink);
    void SetStateFile(std::shared_ptr<StateFile> file);

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        std::vector<uint8_t> bytes;
        Clock::time_point ready;
    };
    struct OpenHandle {
        SimInterface interface = SimInterface::Mouse;
        bool gone = false;
        std::deque<Pending> queue;
    };

    // All below with mutex_ held.
    void QueueLocked(SimInterface interface, std::vector<uint8_t> bytes);
    bool TakeFault(SimFaultKind kind, int command, SimFault* taken);
    void RecordLocked(SimInterface interface, bool feature, const uint8_t* data, size_t length);
    void SaveLocked();
    void NotifyLinkLocked();
    std::vector<HidHotplugEvent> HotplugEventsLocked(bool arrival) const;
    // Marks the mouse unplugged; the removal events for the sink, to be delivered outside the lock.
    std::vector<HidHotplugEvent> UnplugLocked();
    // An Unplug fault for this request: unplugs, delivers the events (the lock is released for that).
    bool UnplugFault(std::unique_lock<std::mutex>& lock, int command, std::string* lastError);
    void DelayTransfer(std::unique_lock<std::mutex>& lock);

    const VirtualMouseSpec spec_;
    const int index_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<MouseProtocol> protocol_;
    FirmwareReceiver firmware_;
    std::map<int, OpenHandle> handles_;
    int nextHandle_ = 1;
    bool plugged_ = true;
    std::chrono::milliseconds latency_{0};
    std::vector<SimFault> faults_;
    std::vector<uint8_t> lateReply_;  // held back by LateReply; empty when none
    std::vector<uint8_t> heldReply_;  // held back by HeldReply; empty when none
    std::function<void()> inputSignal_;
    std::deque<SimRequest> requests_;
    SimHotplugSink hotplug_;
    std::shared_ptr<StateFile> stateFile_;
};

}  // namespace quorvel
