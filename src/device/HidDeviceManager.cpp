#include "device/HidDeviceManager.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "support/TextConv.h"

namespace quorvel {

namespace {

constexpr int kTransactReads = 50;
constexpr int kInfoReads = 10;
constexpr int kReadTimeoutMs = 30;
constexpr int kFeaturePauseMs = 16;
constexpr uint8_t kFeatureReportId = 0x0C;
constexpr size_t kUnsolicitedLimit = 32;  // a mouse nobody polls must not grow the queue without end
constexpr int kDrainReads = 64;           // a mouse that talks without end must not hold a request back
constexpr int kPollIntervalMs = 2;        // the wait between polls with a backend that cannot wait

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

// A feature request header with the next sequence number.
void FeatureInfoHeader(uint8_t* buffer, int64_t* counter) {
    buffer[0] = kFeatureReportId;
    buffer[1] = 0x01;
    buffer[2] = 0x20;
    buffer[3] = 0x00;
    buffer[4] = static_cast<uint8_t>(*counter % 255);
    ++*counter;
}

}  // namespace

HidDeviceManager::HidDeviceManager(std::unique_ptr<HidBackend> backend) : backend_(std::move(backend)) {}

HidDeviceManager::~HidDeviceManager() {
    SetOpen(true);  // CloseAll skips a closed manager; at the end everything goes, open or not
    CloseAll();
    CloseUpgradeInterface();
}

// ---- product table ----

void HidDeviceManager::ClearProducts() {
    std::lock_guard<std::mutex> lock(mutex_);
    products_.clear();
}

void HidDeviceManager::AddProduct(int vendorId, int productId, int deviceType, int linkMode,
                                  const std::string& deviceId) {
    std::lock_guard<std::mutex> lock(mutex_);
    products_.push_back(ProductFilter{vendorId, productId, deviceType, linkMode, deviceId});
}

std::vector<ProductFilter> HidDeviceManager::Products() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return products_;
}

int HidDeviceManager::IsKnownProduct(int vendorId, int productId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& p : products_) {
        if (p.vendorId == vendorId && p.productId == productId) return 1;
    }
    return 0;
}

int HidDeviceManager::DeviceTypeOf(int vendorId, int productId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& p : products_) {
        if (p.vendorId == vendorId && p.productId == productId) return p.deviceType;
    }
    return 0;
}

int HidDeviceManager::LinkModeOf(int vendorId, int productId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& p : products_) {
        if (p.vendorId == vendorId && p.productId == productId) return p.linkMode;
    }
    return 0;
}

int HidDeviceManager::DeviceTypeById(int vendorId, int productId, const std::string& deviceId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& p : products_) {
        if (p.vendorId != vendorId || p.productId != productId) continue;
        // Short ids are placeholders in the configuration, never a match.
        if (Utf8Length(p.deviceId) <= 3) continue;
        if (EqualNoCase(p.deviceId, deviceId)) return p.deviceType;
    }
    return 0;
}

// ---- device list ----

void HidDeviceManager::CloseAll() {
    std::vector<std::unique_ptr<HidDeviceRecord>> closing;
    HidHandle* notify = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) return;
        open_ = 0;
        closing.swap(devices_);
        notify = notifyHandle_;
        notifyHandle_ = nullptr;
        unsolicited_.clear();
        failed_.clear();
        currentHandle_ = nullptr;
        currentRecord_ = nullptr;
    }
    if (!backend_) return;
    for (auto& record : closing) {
        if (record->handle) backend_->Close(record->handle);
    }
    if (notify) backend_->Close(notify);
}

HidDeviceRecord* HidDeviceManager::AddRecord(std::unique_ptr<HidDeviceRecord> record) {
    std::lock_guard<std::mutex> lock(mutex_);
    record->index = static_cast<int>(devices_.size());
    devices_.push_back(std::move(record));
    return devices_.back().get();
}

bool HidDeviceManager::CollectDevices(std::vector<HidDeviceRecord*>* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (devices_.empty()) return false;
    for (const auto& r : devices_) {
        if (selectedType_ == 0 || r->deviceType == selectedType_) out->push_back(r.get());
    }
    return true;
}

bool HidDeviceManager::CollectOnlineSelected(std::vector<HidDeviceRecord*>* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (devices_.empty()) return false;
    for (const auto& r : devices_) {
        if (selectedType_ == 0 || (r->deviceType == selectedType_ && r->linkState == 1))
            out->push_back(r.get());
    }
    return true;
}

bool HidDeviceManager::HasOnlineDevice(int deviceType) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (deviceType <= 0) return false;  // unidentified records are never reachable
    for (const auto& r : devices_) {
        if (r->deviceType == deviceType && !r->deviceId.empty() && r->linkState > 0) return true;
    }
    return false;
}

bool HidDeviceManager::ReleaseForLinkMode(uint32_t* release, uint32_t linkMode) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    for (const auto& r : devices_) {
        if (r->linkMode == linkMode) {
            *release = r->release;
            return true;
        }
    }
    return false;
}

void HidDeviceManager::SetLinkState(int deviceType, uint32_t linkMode, int state) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& r : devices_) {
        if (r->deviceType == deviceType && r->linkMode == linkMode) r->linkState = state;
    }
}

void HidDeviceManager::UpdateRecord(HidDeviceRecord* record,
                                    const std::function<void(HidDeviceRecord&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& r : devices_) {
        if (r.get() == record) {
            change(*r);
            return;
        }
    }
}

std::vector<HidDeviceRecord*> HidDeviceManager::Records() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HidDeviceRecord*> out;
    for (const auto& r : devices_) out.push_back(r.get());
    return out;
}

std::vector<HidDeviceSummary> HidDeviceManager::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HidDeviceSummary> out;
    for (const auto& r : devices_) {
        out.push_back(HidDeviceSummary{r->index, r->vendorId, r->productId, r->path, r->release,
                                       r->deviceType, r->linkMode, r->linkState, r->deviceId,
                                       r->batteryStatus, r->batteryLevel});
        std::copy(r->info, r->info + kReportBufferSize, out.back().info.begin());
    }
    return out;
}

size_t HidDeviceManager::RecordCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return devices_.size();
}

// ---- selection ----

int HidDeviceManager::SelectedDeviceType() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return selectedType_;
}

void HidDeviceManager::SetSelectedDeviceType(int deviceType) {
    std::lock_guard<std::mutex> lock(mutex_);
    selectedType_ = deviceType;
}

HidDeviceRecord* HidDeviceManager::CurrentRecordLocked() {
    if (currentHandle_) return currentRecord_;
    // Records of type 0 were never identified: they must not receive commands, even with nothing selected.
    if (selectedType_ <= 0) return nullptr;
    for (auto& r : devices_) {
        if (r->deviceType == selectedType_ && r->linkMode == 0 && r->handle) {
            currentHandle_ = r->handle;
            currentRecord_ = r.get();
            return currentRecord_;
        }
    }
    for (auto& r : devices_) {
        if (r->deviceType == selectedType_ && r->linkMode == 1) {
            if (r->linkState != 1 || !r->handle) return nullptr;
            currentHandle_ = r->handle;
            currentRecord_ = r.get();
            return currentRecord_;
        }
    }
    return nullptr;
}

HidHandle* HidDeviceManager::CurrentHandle() {
    std::lock_guard<std::mutex> lock(mutex_);
    HidDeviceRecord* record = CurrentRecordLocked();
    return record ? record->handle : nullptr;
}

HidDeviceRecord* HidDeviceManager::CurrentRecord() {
    std::lock_guard<std::mutex> lock(mutex_);
    return CurrentRecordLocked();
}

void HidDeviceManager::ClearCurrent() {
    std::lock_guard<std::mutex> lock(mutex_);
    currentHandle_ = nullptr;
    currentRecord_ = nullptr;
}

int HidDeviceManager::CurrentLinkKind() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (selectedType_ <= 0) return -1;
    for (const auto& r : devices_) {
        if (r->deviceType == selectedType_ && r->linkMode == 0) return 0;
    }
    for (const auto& r : devices_) {
        if (r->deviceType == selectedType_ && r->linkMode == 1) return 1;
    }
    return -1;
}

bool HidDeviceManager::GetCurrentIds(uint16_t* vendorId, uint16_t* productId) {
    std::lock_guard<std::mutex> lock(mutex_);
    HidDeviceRecord* record = CurrentRecordLocked();
    if (!record) return false;
    *vendorId = record->vendorId;
    *productId = record->productId;
    return true;
}

bool HidDeviceManager::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ != 0;
}

void HidDeviceManager::SetOpen(bool open) {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = open ? 1 : 0;
}

HidHandle* HidDeviceManager::NotifyHandle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return notifyHandle_;
}

void HidDeviceManager::SetNotifyHandle(HidHandle* handle) {
    HidHandle* old = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old = notifyHandle_;
        notifyHandle_ = handle;
    }
    // A second notification interface in one pass replaces the first; the first must not leak.
    if (old && old != handle && backend_) backend_->Close(old);
}

// ---- framed transport ----

uint8_t HidDeviceManager::Checksum(const uint8_t* buffer) {
    unsigned sum = 0;
    for (int i = 5; i <= 31; ++i) sum += buffer[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

namespace {

bool Fail(DeviceError* error, DeviceError why) {
    if (error) *error = why;
    return false;
}

bool Succeed(DeviceError* error) {
    if (error) *error = DeviceError::None;
    return true;
}

}  // namespace

HidHandle* HidDeviceManager::TargetLocked(std::string* path, DeviceError* error) {
    if (!open_) {
        *error = DeviceError::NotOpen;
        return nullptr;
    }
    HidDeviceRecord* record = CurrentRecordLocked();
    if (!record || !record->handle) {
        *error = DeviceError::NoDevice;
        return nullptr;
    }
    *path = record->path;
    return record->handle;
}

DeviceError HidDeviceManager::FailureOf(const std::string& path, DeviceError otherwise) {
    // The transfer calls cannot say why they failed; an interface that is no longer enumerated was
    // unplugged. Asked only after a failure, so the enumeration costs nothing in normal work.
    if (!backend_) return otherwise;
    for (const HidDeviceInfo& info : backend_->Enumerate(0, 0))
        if (info.path == path) return otherwise;
    return DeviceError::Gone;
}

bool HidDeviceManager::Transact(uint8_t* buffer, size_t length, DeviceError* error) {
    // The checksum sits in byte 32, so shorter requests cannot be framed; longer ones do not fit a report.
    if (!buffer || length < kReportLength || length > kReportBufferSize || !backend_)
        return Fail(error, DeviceError::WriteFailed);
    HidHandle* handle = nullptr;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DeviceError why = DeviceError::None;
        handle = TargetLocked(&path, &why);
        if (!handle) return Fail(error, why);
    }
    buffer[32] = Checksum(buffer);
    DrainPending(handle, length);

    uint8_t work[kReportBufferSize] = {};
    std::memcpy(work, buffer, length);
    if (backend_->Write(handle, work, length) <= 0)
        return Fail(error, FailureOf(path, DeviceError::WriteFailed));

    std::memcpy(work, buffer, length);
    bool refused = false;
    const bool done = ReadReply(handle, buffer[1], work, length, kTransactReads, &refused);
    std::memcpy(buffer, work, length);
    if (done) return Succeed(error);
    return Fail(error, refused ? DeviceError::Refused : FailureOf(path, DeviceError::NoReply));
}

bool HidDeviceManager::ReadReply(HidHandle* handle, uint8_t command, uint8_t* reply, size_t length, int reads,
                                 bool* refused) {
    for (int attempt = 0; attempt < reads; ++attempt) {
        uint8_t in[kReportBufferSize] = {};
        const int n = backend_->ReadTimeout(handle, in, length, kReadTimeoutMs);
        if (n <= 0) continue;
        // Replies come without their report ID: the command echo at index 0, the status at index 1.
        if (in[0] != command) {
            KeepUnsolicited(handle, in, n);
            continue;
        }
        std::memcpy(reply, in, length);
        if (n >= 2 && in[1] == 0x00) return true;
        *refused = *refused || n >= 2;
    }
    return false;
}

void HidDeviceManager::KeepUnsolicited(HidHandle* handle, const uint8_t* report, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (unsolicited_.size() >= kUnsolicitedLimit) unsolicited_.pop_front();
    unsolicited_.push_back({handle, std::vector<uint8_t>(report, report + count)});
}

void HidDeviceManager::DrainPending(HidHandle* handle, size_t length) {
    for (int read = 0; read < kDrainReads; ++read) {
        uint8_t in[kReportBufferSize] = {};
        const int n = backend_->ReadTimeout(handle, in, length, 0);
        if (n <= 0) return;
        KeepUnsolicited(handle, in, n);
    }
}

int HidDeviceManager::ReadNotification(HidHandle* handle, uint8_t* buffer, size_t size, int milliseconds) {
    if (const int kept = TakeUnsolicited(handle, buffer, size)) return kept;
    if (!backend_ || !handle) return -1;
    const int n = backend_->ReadTimeout(handle, buffer, size, milliseconds);
    if (n < 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        failed_.insert(handle);
    }
    return n;
}

void HidDeviceManager::WaitForNotification(bool featureFamily) {
    if (!backend_) return;
    // Only what the poll of this family reads: input it would never take must not end every wait.
    std::vector<HidHandle*> handles;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bool feature = false;
        if (open_) {
            for (const auto& r : devices_) {
                if (!r->handle) continue;
                if (IsFeatureFamily(r->deviceType))
                    feature = true;
                else if (!featureFamily && !failed_.count(r->handle))
                    handles.push_back(r->handle);
            }
        }
        if (featureFamily && feature && notifyHandle_ && !failed_.count(notifyHandle_))
            handles.push_back(notifyHandle_);
        // A report kept by a transfer is read by the next poll without waiting.
        for (const Unsolicited& u : unsolicited_)
            if (std::find(handles.begin(), handles.end(), u.handle) != handles.end()) return;
    }
    backend_->WaitForInput(handles, backend_->WaitsForInput() ? -1 : kPollIntervalMs);
}

void HidDeviceManager::WakeWaiter() {
    if (backend_) backend_->WakeWaiter();
}

int HidDeviceManager::TakeUnsolicited(HidHandle* handle, uint8_t* buffer, size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = unsolicited_.begin(); it != unsolicited_.end(); ++it) {
        if (it->handle != handle) continue;
        const size_t n = std::min(size, it->bytes.size());
        std::memcpy(buffer, it->bytes.data(), n);
        unsolicited_.erase(it);
        return static_cast<int>(n);
    }
    return 0;
}

bool HidDeviceManager::SendFeature(const uint8_t* buffer, DeviceError* error) {
    if (!buffer || !backend_) return Fail(error, DeviceError::WriteFailed);
    HidHandle* handle = nullptr;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DeviceError why = DeviceError::None;
        handle = TargetLocked(&path, &why);
        if (!handle) return Fail(error, why);
    }
    uint8_t work[kReportBufferSize] = {};
    std::memcpy(work, buffer, kReportLength);
    // No reply is read: a report the mouse refuses fails the send itself, like one the system does not take.
    if (backend_->SendFeature(handle, work, kReportLength) > 0) return Succeed(error);
    return Fail(error, FailureOf(path, DeviceError::WriteFailed));
}

bool HidDeviceManager::ReadInfoByReport(uint8_t* buffer, HidHandle* handle, DeviceError* error) {
    if (!buffer) return Fail(error, DeviceError::WriteFailed);
    if (!handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        HidDeviceRecord* record = CurrentRecordLocked();
        if (!record) return Fail(error, DeviceError::NoDevice);
        std::memcpy(buffer, record->info, kReportBufferSize);
        return Succeed(error);
    }
    if (!backend_) return Fail(error, DeviceError::WriteFailed);
    std::memset(buffer, 0, kReportBufferSize);
    buffer[0] = 0x00;
    buffer[1] = 0x10;
    buffer[32] = Checksum(buffer);
    DrainPending(handle, kReportLength);
    if (backend_->Write(handle, buffer, kReportLength) <= 0) return Fail(error, DeviceError::WriteFailed);
    bool refused = false;
    if (ReadReply(handle, 0x10, buffer, kReportLength, kInfoReads, &refused)) return Succeed(error);
    return Fail(error, refused ? DeviceError::Refused : DeviceError::NoReply);
}

bool HidDeviceManager::ReadInfoByFeature(uint8_t* buffer, HidHandle* handle, DeviceError* error) {
    if (!buffer) return Fail(error, DeviceError::WriteFailed);
    if (!handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        HidDeviceRecord* record = CurrentRecordLocked();
        if (!record) return Fail(error, DeviceError::NoDevice);
        std::memcpy(buffer, record->info, kReportBufferSize);
        return Succeed(error);
    }
    if (!backend_) return Fail(error, DeviceError::WriteFailed);
    std::memset(buffer, 0, kReportBufferSize);
    FeatureInfoHeader(buffer, &sequence_);
    if (backend_->SendFeature(handle, buffer, kReportLength) <= 0)
        return Fail(error, DeviceError::WriteFailed);
    Pause(kFeaturePauseMs);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::memset(buffer, 0, kReportLength);
        FeatureInfoHeader(buffer, &sequence_);
        int n = backend_->GetFeature(handle, buffer, kReportLength);
        if (n > 0 && buffer[8] != 0x00) return Succeed(error);
        Pause(kFeaturePauseMs);
    }
    return Fail(error, DeviceError::NoReply);
}

int64_t HidDeviceManager::SequenceCounter() const {
    return sequence_;
}

void HidDeviceManager::SetSequenceCounter(int64_t value) {
    sequence_ = value;
}

// ---- firmware transfer ----

HidHandle* HidDeviceManager::OpenUpgradeInterface(int vendorId, int productId) {
    if (!backend_) return nullptr;
    CloseUpgradeInterface();
    HidHandle* found = nullptr;
    for (const HidDeviceInfo& info : backend_->Enumerate(0, 0)) {
        if (info.vendorId != vendorId || info.productId != productId) continue;
        if (info.usagePage != kUpgradePage || info.usage != 0x0000) continue;
        found = backend_->Open(info.path);
        if (found) break;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    upgradeHandle_ = found;
    return found;
}

HidHandle* HidDeviceManager::UpgradeHandle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return upgradeHandle_;
}

void HidDeviceManager::CloseUpgradeInterface() {
    HidHandle* old = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old = upgradeHandle_;
        upgradeHandle_ = nullptr;
    }
    if (old && backend_) backend_->Close(old);
}

bool HidDeviceManager::UpgradeWrite(const uint8_t* buffer) {
    HidHandle* handle = UpgradeHandle();
    if (!handle || !buffer || !backend_) return false;
    uint8_t work[kUpgradeReportLength];
    std::memcpy(work, buffer, kUpgradeReportLength);
    if (backend_->Write(handle, work, kUpgradeReportLength) > 0) return true;
    Pause(3);
    std::memcpy(work, buffer, kUpgradeReportLength);
    backend_->Write(handle, work, kUpgradeReportLength);
    Pause(5);
    return backend_->ReadTimeout(handle, work, kUpgradeReportLength, 1000) > 0;
}

void HidDeviceManager::SetSleep(std::function<void(int)> sleep) {
    sleep_ = std::move(sleep);
}

void HidDeviceManager::Pause(int milliseconds) {
    if (sleep_) {
        sleep_(milliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace quorvel
