#pragma once
// The composition root of the core: one object that builds, in a fixed order, everything both front ends
// run on (quorvelctl and the GUI), and takes it down again in the reverse order.
//
//   OpenProduct  program folder, start-up pass over config.xml (device name, languages), the language,
//                the trace log, the product configuration
//   OpenDevices  the HID backend (hidapi or the virtual mouse, maybe traced), the HID manager, the device
//                core with its worker, the update flow with its four task handlers, the page actions
//   Start        the view, hot-plug watching (when asked for), task 1 queued, the worker started
//   Stop         hot-plug watching ended, running downloads cancelled, the worker joined (no task runs
//                afterwards), the trace log closed
//
// Threads: set-up and Stop on the front end's thread. Afterwards the queue (Worker()), the page actions
// and PageState may be used from any thread; what the core shows goes to the view on the worker thread.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "actions/ActionResult.h"
#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "device/Hotplug.h"
#include "platform/DeviceLock.h"
#include "shell/ProductConfig.h"
#include "update/UpdateFlow.h"

namespace quorvel {

class DeviceDatabase;

struct SessionOptions {
    std::string productDir;   // config.xml, device/ and language/; empty: the executable's folder
    std::string imageFolder;  // where the model pictures of config.xml lie (the GUI's skin); empty: none
    std::string virtualSpec;  // the virtual mice (quorvelctl --virtual); empty: QUORVEL_VIRTUAL decides
    std::string traceFile;    // the HID trace; empty: QUORVEL_HID_TRACE decides
    // The model discovery selects even when it is absent, so a command for it reports it missing
    // (quorvelctl --device); 0: discovery's own choice.
    int requestedDeviceType = 0;
    bool storedOnly = false;  // set by OpenStoredOnly
    bool watchHotplug = false;           // the arrival and removal of a mouse queue tasks 2 and 3 (the GUI)
    bool openTraceLog = true;            // the process-wide trace log in the data folder
    DeviceDatabase* database = nullptr;  // null: the process-wide database
    // The per-user device lock (one writer per mouse). With a program name, Start takes it before the
    // worker starts and holds it until Stop; while another program holds it, the view is told who, and the
    // worker starts once the lock is free (the GUI). Empty: the front end takes it (TakeDeviceLock), or no
    // one does.
    std::string lockProgram;
    std::string deviceLockPath;  // empty: DeviceLockPath()
};

enum class SessionError {
    None,
    ProductFiles,   // config.xml cannot be read
    ProductModels,  // its model table cannot be read
    Backend,        // the HID backend cannot be made: bad virtual mouse spec, hidapi, trace file
};

struct SessionResult {
    SessionError error = SessionError::None;
    std::string message;  // one sentence: what failed
    bool ok() const { return error == SessionError::None; }
};

class CoreSession {
public:
    CoreSession();
    ~CoreSession();  // Stop, then the objects in the reverse order of their making
    CoreSession(const CoreSession&) = delete;
    CoreSession& operator=(const CoreSession&) = delete;

    SessionResult OpenProduct(const SessionOptions& options);
    SessionResult OpenDevices();
    SessionResult Open(const SessionOptions& options);  // both
    // Instead of OpenDevices: the device core without a HID backend, for reading the stored settings while
    // another program drives the mouse. Start is not called then.
    SessionResult OpenStoredOnly();

    // The view (null: nothing is shown) for the device core and the update flow, then the worker. With
    // `discover`, task 1 (discovery and read-back) is queued first and its id returned for a wait; 0
    // otherwise. Once only. With options().lockProgram the worker starts once the device lock is held
    // (see SessionOptions); tasks queued meanwhile wait.
    uint64_t Start(DeviceView* view, bool discover = true);
    // Orderly end; the objects stay readable. Idempotent; the destructor calls it. A wait for the device
    // lock ends; the lock is released once the worker is joined.
    void Stop();

    // Takes the device lock now, without waiting (quorvelctl, before anything reaches a mouse); held until
    // Stop. kBusy with *holder naming the program that has it; kUnavailable when the lock file cannot be
    // used (*holder then says why). After OpenProduct (the fallback folder depends on the device name).
    DeviceLock::Result TakeDeviceLock(const std::string& program, std::string* holder);
    bool HoldsDeviceLock() const { return lock_ && lock_->Held(); }

    const SessionOptions& Options() const { return options_; }
    const std::string& ProgramFolder() const { return programDir_; }  // with its trailing '/'
    // Why the trace log could not be opened (empty when it was, or was not asked for).
    const std::string& TraceLogProblem() const { return traceLogProblem_; }
    bool DevicesOpen() const { return manager_ != nullptr; }
    const ProductConfig& Product() const { return product_; }
    // After OpenDevices.
    HidDeviceManager& Manager() { return *manager_; }
    DeviceDatabase& Database() { return *db_; }
    DeviceMainDef& Core() { return *core_; }
    const DeviceMainDef& Core() const { return *core_; }
    CThreadBasic& Worker() { return core_->Worker(); }
    UpdateFlow& Update() { return *update_; }
    ActionContext& Actions() { return *actions_; }

private:
    DeviceLock& Lock();

    SessionOptions options_;
    std::string programDir_;
    ProductConfig product_;
    DeviceDatabase* db_ = nullptr;
    bool traceLogOpened_ = false;
    std::string traceLogProblem_;
    bool started_ = false;
    bool stopped_ = false;
    // Made in this order, destroyed in the reverse one.
    std::unique_ptr<HidDeviceManager> manager_;
    std::unique_ptr<DeviceMainDef> core_;
    std::unique_ptr<UpdateFlow> update_;
    std::unique_ptr<ActionContext> actions_;
    std::unique_ptr<HotplugWatcher> hotplug_;
    std::unique_ptr<DeviceLock> lock_;
    std::thread lockWait_;  // the GUI's wait for the device lock
};

}  // namespace quorvel
