#include "sim/VirtualBackend.h"

#include <algorithm>
#include <cstdlib>

#include "sim/ControlPipe.h"
#include "sim/StateFile.h"

namespace quorvel {

struct VirtualBackend::Handle : HidHandle {
    VirtualMouse* mouse = nullptr;
    SimInterface interface = SimInterface::Mouse;
    int id = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::mutex errorMutex;
    std::string lastError;

    void SetError(const std::string& text) {
        std::lock_guard<std::mutex> lock(errorMutex);
        lastError = text;
    }
};

VirtualBackend::VirtualBackend(const std::vector<VirtualMouseSpec>& specs, const std::string& statePath) {
    if (!statePath.empty()) stateFile_ = std::make_shared<StateFile>(statePath);
    int index = 1;
    for (const VirtualMouseSpec& spec : specs) {
        auto mouse = std::make_unique<VirtualMouse>(spec, index++);
        mouse->SetStateFile(stateFile_);
        mouse->SetHotplugSink([this](const HidHotplugEvent& event) { Deliver(event); });
        mouse->SetInputSignal([this] {
            {
                std::lock_guard<std::mutex> lock(inputMutex_);
                ++inputGeneration_;
            }
            inputChanged_.notify_all();
        });
        mice_.push_back(std::move(mouse));
    }
}

VirtualBackend::~VirtualBackend() {
    control_.reset();
    for (auto& mouse : mice_) {
        mouse->SetHotplugSink(nullptr);
        mouse->SetInputSignal(nullptr);
    }
}

VirtualMouse* VirtualBackend::FindMouse(int deviceType, int linkMode) {
    for (auto& mouse : mice_)
        if (mouse->Spec().deviceType == deviceType && (linkMode < 0 || mouse->Spec().linkMode == linkMode))
            return mouse.get();
    return nullptr;
}

std::vector<SimIssue> VirtualBackend::AllIssues() const {
    std::vector<SimIssue> all;
    for (const auto& mouse : mice_) {
        std::vector<SimIssue> issues = mouse->Issues();
        all.insert(all.end(), issues.begin(), issues.end());
    }
    return all;
}

bool VirtualBackend::StartControl(const std::string& path, std::string* error) {
    control_.reset();
    auto control = std::make_unique<ControlPipe>(path, [this](size_t k) -> VirtualMouse* {
        return k >= 1 && k <= mice_.size() ? mice_[k - 1].get() : nullptr;
    });
    if (!control->Start(error)) return false;
    control_ = std::move(control);
    return true;
}

std::string VirtualBackend::StateWarning() const {
    return stateFile_ ? stateFile_->Warning() : std::string();
}

std::vector<HidDeviceInfo> VirtualBackend::Enumerate(uint16_t vendorId, uint16_t productId) {
    std::vector<HidDeviceInfo> list;
    for (const auto& mouse : mice_) {
        for (HidDeviceInfo& info : mouse->Interfaces()) {
            if ((vendorId == 0 || info.vendorId == vendorId) &&
                (productId == 0 || info.productId == productId))
                list.push_back(std::move(info));
        }
    }
    return list;
}

HidHandle* VirtualBackend::Open(const std::string& path, HidOpenError* error) {
    for (const auto& mouse : mice_) {
        for (SimInterface interface :
             {SimInterface::Keyboard, SimInterface::Vendor, SimInterface::Mouse, SimInterface::Upgrade}) {
            if (mouse->PathOf(interface) != path) continue;
            HidOpenError why = HidOpenError::None;
            const int id = mouse->Open(interface, &why);
            if (error) *error = why;
            if (id == 0) return nullptr;
            auto handle = std::make_shared<Handle>();
            handle->mouse = mouse.get();
            handle->interface = interface;
            handle->id = id;
            for (const HidDeviceInfo& info : mouse->Interfaces())
                if (info.path == path) {
                    handle->usagePage = info.usagePage;
                    handle->usage = info.usage;
                }
            std::lock_guard<std::mutex> lock(mutex_);
            handles_.push_back(handle);
            return handle.get();
        }
    }
    if (error) *error = HidOpenError::Gone;
    return nullptr;
}

std::shared_ptr<VirtualBackend::Handle> VirtualBackend::Find(HidHandle* handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& candidate : handles_)
        if (candidate.get() == handle) return candidate;
    return nullptr;
}

void VirtualBackend::Close(HidHandle* handle) {
    std::shared_ptr<Handle> found;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it =
            std::find_if(handles_.begin(), handles_.end(), [&](const auto& h) { return h.get() == handle; });
        if (it == handles_.end()) return;
        found = *it;
        handles_.erase(it);
    }
    found->mouse->Close(found->id);
}

int VirtualBackend::Write(HidHandle* handle, const uint8_t* data, size_t length) {
    auto h = Find(handle);
    if (!h) return -1;
    std::string error;
    const int result = h->mouse->Write(h->id, data, length, &error);
    if (result < 0) h->SetError(error);
    return result;
}

int VirtualBackend::ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) {
    auto h = Find(handle);
    if (!h) return -1;
    std::string error;
    const int result = h->mouse->ReadTimeout(h->id, data, length, milliseconds, &error);
    if (result < 0) h->SetError(error);
    return result;
}

int VirtualBackend::SendFeature(HidHandle* handle, const uint8_t* data, size_t length) {
    auto h = Find(handle);
    if (!h) return -1;
    std::string error;
    const int result = h->mouse->SendFeature(h->id, data, length, &error);
    if (result < 0) h->SetError(error);
    return result;
}

int VirtualBackend::GetFeature(HidHandle* handle, uint8_t* data, size_t length) {
    auto h = Find(handle);
    if (!h) return -1;
    std::string error;
    const int result = h->mouse->GetFeature(h->id, data, length, &error);
    if (result < 0) h->SetError(error);
    return result;
}

std::string VirtualBackend::ProductString(HidHandle* handle) {
    auto h = Find(handle);
    return h ? h->mouse->Spec().name : std::string();
}

std::string VirtualBackend::LastError(HidHandle* handle) {
    auto h = Find(handle);
    if (!h) return "Invalid handle.";
    std::lock_guard<std::mutex> lock(h->errorMutex);
    return h->lastError;
}

void VirtualBackend::Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) {
    auto h = Find(handle);
    if (usagePage) *usagePage = h ? h->usagePage : 0;
    if (usage) *usage = h ? h->usage : 0;
}

void VirtualBackend::WatchHotplug(HidHotplugCallback callback) {
    std::unique_lock<std::mutex> lock(mutex_);
    watcher_ = callback ? std::make_shared<HidHotplugCallback>(std::move(callback)) : nullptr;
    if (watcher_) return;
    // Like the udev monitor's Stop: no callback runs once this returns, so its owner may go. From inside
    // a callback only the later ones are stopped.
    const std::thread::id self = std::this_thread::get_id();
    delivered_.wait(lock, [&] {
        return std::all_of(delivering_.begin(), delivering_.end(),
                           [&](std::thread::id t) { return t == self; });
    });
}

void VirtualBackend::Deliver(const HidHotplugEvent& event) {
    std::shared_ptr<HidHotplugCallback> watcher;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        watcher = watcher_;
        if (!watcher) return;
        delivering_.push_back(std::this_thread::get_id());
    }
    (*watcher)(event);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        delivering_.erase(std::find(delivering_.begin(), delivering_.end(), std::this_thread::get_id()));
    }
    delivered_.notify_all();
}

void VirtualBackend::WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        milliseconds < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        uint64_t generation;
        {
            std::lock_guard<std::mutex> lock(inputMutex_);
            if (woken_) {
                woken_ = false;
                return;
            }
            generation = inputGeneration_;
        }
        // The mice are asked without inputMutex_: their signal takes it under their own lock.
        Clock::time_point until = deadline;
        for (HidHandle* handle : handles) {
            const std::shared_ptr<Handle> h = Find(handle);
            Clock::time_point due;
            if (!h || h->mouse->InputReady(h->id, &due)) return;
            until = std::min(until, due);
        }
        if (Clock::now() >= deadline) return;
        std::unique_lock<std::mutex> lock(inputMutex_);
        auto changed = [&] { return woken_ || inputGeneration_ != generation; };
        if (until == Clock::time_point::max())
            inputChanged_.wait(lock, changed);
        else
            inputChanged_.wait_until(lock, until, changed);
    }
}

void VirtualBackend::WakeWaiter() {
    {
        std::lock_guard<std::mutex> lock(inputMutex_);
        woken_ = true;
    }
    inputChanged_.notify_all();
}

std::unique_ptr<VirtualBackend> CreateVirtualBackend(const std::string& specs,
                                                     const std::vector<DeviceEntry>& modes,
                                                     const std::string& statePath, std::string* error) {
    std::vector<VirtualMouseSpec> parsed;
    if (!ParseVirtualSpecs(specs, modes, &parsed, error)) return nullptr;
    return std::make_unique<VirtualBackend>(parsed, statePath);
}

std::unique_ptr<VirtualBackend> CreateVirtualBackend(const std::string& specs,
                                                     const std::vector<DeviceEntry>& modes,
                                                     std::string* error) {
    const char* state = std::getenv(kVirtualStateEnv);
    auto backend = CreateVirtualBackend(specs, modes, state ? std::string(state) : std::string(), error);
    const char* control = std::getenv(kVirtualControlEnv);
    if (backend && control && *control && !backend->StartControl(control, error)) return nullptr;
    return backend;
}

}  // namespace quorvel
