#pragma once
// The process-wide owner of everything that touches the mouse at the HID level: the product table, the
// opened mouse interfaces found by discovery, the selected model and the handles. On top it offers the two
// framed transports (checksummed output reports with a polled reply; sequenced 33-byte feature reports)
// and the raw channel of the firmware transfer.
//
// Threads: device I/O runs on the worker thread, one request at a time. The device list itself is guarded
// by a small mutex so that a GUI thread may ask HasOnlineDevice / CurrentLinkKind / Snapshot while the
// worker rebuilds the list. Record fields other threads read (device type, id, link mode and state) are
// changed only through SetLinkState / UpdateRecord, under that mutex.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/DeviceError.h"
#include "device/Family.h"
#include "device/HidBackend.h"

namespace quorvel {

constexpr size_t kReportBufferSize = 65;  // report buffers: zero-filled, report ID in byte 0
constexpr size_t kReportLength = 33;      // requests of the report family, feature reports
constexpr size_t kUpgradeReportLength = 64;

// Interfaces by usage page / usage.
constexpr uint16_t kGenericDesktopPage = 0x0001;  // with usage 0: report-family mouse / feature notifications
constexpr uint16_t kVendorPage = 0xFF00;          // with usage 1: feature-family mouse interface
constexpr uint16_t kUpgradePage = 0xFFEF;         // with usage 0: firmware transfer

// One connection mode of a configured model.
struct ProductFilter {
    int vendorId = 0;
    int productId = 0;
    int deviceType = 0;
    int linkMode = 0;      // 0 wired, 1 through the receiver
    std::string deviceId;  // may be empty
};

// One opened mouse interface. Destroyed only by CloseAll.
struct HidDeviceRecord {
    int index = 0;  // records that existed when it was created
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;
    HidHandle* handle = nullptr;  // owned; closed by CloseAll
    uint32_t release = 0;         // bcdDevice: shown as the version
    int deviceType = 0;           // 0 while unknown
    uint32_t linkMode = 0;        // 0 wired, 1 wireless
    int linkState = 0;            // 0 unknown / not connected, 1 connected, 2 reported disconnected
    std::string deviceId;         // the 4 characters of the info block (UTF-8)
    uint8_t info[kReportBufferSize] = {};
    uint32_t batteryStatus = 0;
    uint32_t batteryLevel = 0;
};

// What other threads may see of a record (no handle).
struct HidDeviceSummary {
    int index = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;
    uint32_t release = 0;
    int deviceType = 0;
    uint32_t linkMode = 0;
    int linkState = 0;
    std::string deviceId;
    uint32_t batteryStatus = 0;
    uint32_t batteryLevel = 0;
    std::array<uint8_t, kReportBufferSize> info{};  // the info block as the record keeps it
};

class HidDeviceManager {
public:
    // A null backend leaves a manager whose every call fails. The program has one, made by its composition
    // root (CoreSession) with the backend it chose; tests make their own.
    explicit HidDeviceManager(std::unique_ptr<HidBackend> backend);
    ~HidDeviceManager();
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    HidBackend* Backend() { return backend_.get(); }

    // Product table.
    void ClearProducts();
    void AddProduct(int vendorId, int productId, int deviceType, int linkMode, const std::string& deviceId);
    std::vector<ProductFilter> Products() const;
    int IsKnownProduct(int vendorId, int productId) const;
    int DeviceTypeOf(int vendorId, int productId) const;
    int LinkModeOf(int vendorId, int productId) const;
    // Only entries whose id has more than 3 characters take part; ids compare without regard to case.
    int DeviceTypeById(int vendorId, int productId, const std::string& deviceId) const;

    // Device list.
    void CloseAll();
    // Appends a record made by discovery (index set here); the manager owns it from now on.
    HidDeviceRecord* AddRecord(std::unique_ptr<HidDeviceRecord> record);
    bool CollectDevices(std::vector<HidDeviceRecord*>* out) const;
    bool CollectOnlineSelected(std::vector<HidDeviceRecord*>* out) const;
    bool HasOnlineDevice(int deviceType) const;  // any thread
    bool ReleaseForLinkMode(uint32_t* release, uint32_t linkMode) const;
    void SetLinkState(int deviceType, uint32_t linkMode, int state);
    // Changes fields of one record under the list lock (link state, device type, id after a reconnect).
    void UpdateRecord(HidDeviceRecord* record, const std::function<void(HidDeviceRecord&)>& change);
    // Records in discovery order; worker thread only (pointers die with CloseAll).
    std::vector<HidDeviceRecord*> Records() const;
    std::vector<HidDeviceSummary> Snapshot() const;  // any thread
    size_t RecordCount() const;

    // Selection and the command target.
    int SelectedDeviceType() const;
    void SetSelectedDeviceType(int deviceType);
    HidHandle* CurrentHandle();
    HidDeviceRecord* CurrentRecord();  // resolves like CurrentHandle
    void ClearCurrent();
    int CurrentLinkKind() const;  // any thread: 0 wired, 1 wireless, -1 none of the selected type
    bool GetCurrentIds(uint16_t* vendorId, uint16_t* productId);

    bool IsOpen() const;
    void SetOpen(bool open);

    // The feature family's notification interface (owned; closed by CloseAll).
    HidHandle* NotifyHandle() const;
    void SetNotifyHandle(HidHandle* handle);

    // Framed transport; *error (when given) says why a call failed. buffer holds at least `length` bytes;
    // length 33..65. Whatever the interface holds before the request goes out (a late reply of an earlier
    // request that timed out, a link or DPI report) is read first and kept for the notification poll, so
    // it cannot be taken for this request's reply. Only a report that echoes the request's command is its
    // reply; a reply whose status byte is not 0 reads as Refused when no good one followed. Any other report
    // read meanwhile is kept for the notification poll (TakeUnsolicited), and the wait goes on within the
    // same 50 reads.
    bool Transact(uint8_t* buffer, size_t length, DeviceError* error = nullptr);
    // buffer: 33 bytes, report ID 0x0C first.
    bool SendFeature(const uint8_t* buffer, DeviceError* error = nullptr);
    // buffer: 65 bytes. A null handle copies the current record's stored info block.
    bool ReadInfoByReport(uint8_t* buffer, HidHandle* handle, DeviceError* error = nullptr);
    bool ReadInfoByFeature(uint8_t* buffer, HidHandle* handle, DeviceError* error = nullptr);
    // The oldest report a transfer on `handle` read that was not its reply; its length, 0 when none.
    int TakeUnsolicited(HidHandle* handle, uint8_t* buffer, size_t size);

    // Notifications (worker thread). A read of the notification poll: a kept report first, else the
    // backend's read; a handle whose read failed is left out of the wait until the list is rebuilt.
    int ReadNotification(HidHandle* handle, uint8_t* buffer, size_t size, int milliseconds);
    // Blocks until an interface the notification poll of that family reads has input (or a kept report
    // waits for it), or WakeWaiter is called; with a backend that cannot wait, returns after the poll
    // interval. Report family: the mouse interfaces of its records; feature family: the notify handle.
    void WaitForNotification(bool featureFamily);
    void WakeWaiter();  // any thread
    bool WaitsForInput() const { return backend_ && backend_->WaitsForInput(); }
    int64_t SequenceCounter() const;
    void SetSequenceCounter(int64_t value);

    // Firmware transfer. OpenUpgradeInterface replaces (and closes) the previous upgrade handle.
    HidHandle* OpenUpgradeInterface(int vendorId, int productId);
    HidHandle* UpgradeHandle() const;
    void CloseUpgradeInterface();
    bool UpgradeWrite(const uint8_t* buffer);  // 64 bytes

    // The pauses of the protocol (16 ms around feature requests, discovery's retry, the upgrade writes).
    // Tests replace the sleep to stay fast; read time-outs are the backend's and need no replacing.
    void SetSleep(std::function<void(int milliseconds)> sleep);
    void Pause(int milliseconds);

    // Low 8 bits of the sum of bytes 5..31.
    static uint8_t Checksum(const uint8_t* buffer);

private:
    HidDeviceRecord* CurrentRecordLocked();
    // The target of a framed transfer: the current record's handle and path, or why there is none.
    HidHandle* TargetLocked(std::string* path, DeviceError* error);
    // Why a transfer to `path` failed: Gone when the interface is no longer enumerated, else `otherwise`.
    DeviceError FailureOf(const std::string& path, DeviceError otherwise);
    // Reads until a report echoing `command` with status 0 arrives, at most `reads` times. The last echo
    // (or nothing) is left in `reply`; other reports go to the unsolicited queue. *refused: an echo came
    // with another status.
    bool ReadReply(HidHandle* handle, uint8_t command, uint8_t* reply, size_t length, int reads,
                   bool* refused);
    void KeepUnsolicited(HidHandle* handle, const uint8_t* report, int count);
    // Reads what `handle` already holds, without waiting, into the unsolicited queue.
    void DrainPending(HidHandle* handle, size_t length);

    struct Unsolicited {
        HidHandle* handle = nullptr;
        std::vector<uint8_t> bytes;
    };

    std::unique_ptr<HidBackend> backend_;
    mutable std::mutex mutex_;  // guards everything below except the sequence counter and sleep hook
    int open_ = 0;
    std::vector<std::unique_ptr<HidDeviceRecord>> devices_;
    std::vector<ProductFilter> products_;
    int selectedType_ = 0;
    HidHandle* currentHandle_ = nullptr;
    HidDeviceRecord* currentRecord_ = nullptr;
    HidHandle* upgradeHandle_ = nullptr;
    HidHandle* notifyHandle_ = nullptr;
    std::deque<Unsolicited> unsolicited_;  // oldest first; dropped with the handles in CloseAll
    std::set<HidHandle*> failed_;          // handles whose notification read failed; cleared in CloseAll
    int64_t sequence_ = 0;                 // worker thread only
    std::function<void(int)> sleep_;
};

}  // namespace quorvel
