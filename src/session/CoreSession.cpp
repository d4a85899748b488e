#include "session/CoreSession.h"

#include "device/Tasks.h"
#include "session/BackendChoice.h"
#include "shell/AppContext.h"
#include "shell/AppInstance.h"
#include "shell/Localisation.h"
#include "shell/TraceLog.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

CoreSession::CoreSession() = default;

CoreSession::~CoreSession() {
    Stop();
}

SessionResult CoreSession::OpenProduct(const SessionOptions& options) {
    options_ = options;
    std::string dir = options.productDir.empty() ? ProgramDir() : options.productDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    programDir_ = dir;
    SetProgramDir(dir);
    if (!RunStartupPass(dir)) return {SessionError::ProductFiles, "cannot read " + dir + "config.xml"};
    ChooseStartupLanguage();
    if (options.openTraceLog) {
        traceLogOpened_ = TraceLog::Instance().Open();
        if (!traceLogOpened_) traceLogProblem_ = TraceLog::Instance().OpenError();
    }
    if (!ReadProductConfig(dir, options.imageFolder, &product_))
        return {SessionError::ProductModels, "cannot read the models of " + dir + "config.xml"};
    return {};
}

SessionResult CoreSession::OpenDevices() {
    BackendOptions backendOptions;
    backendOptions.virtualSpec = options_.virtualSpec;
    backendOptions.product = &product_;
    backendOptions.traceFile = options_.traceFile;
    std::string error;
    std::unique_ptr<HidBackend> backend;
    if (!options_.storedOnly) {
        backend = CreateBackend(backendOptions, &error);
        if (!backend) return {SessionError::Backend, error};
    }

    db_ = options_.database ? options_.database : &DeviceDatabase::Instance();
    manager_ = std::make_unique<HidDeviceManager>(std::move(backend));
    core_ = std::make_unique<DeviceMainDef>(*manager_, *db_);
    core_->SetProduct(product_);
    core_->SetRequestedDeviceType(options_.requestedDeviceType);
    update_ = std::make_unique<UpdateFlow>(*core_, SettingsFromProduct(product_));
    update_->Register();
    actions_ = std::make_unique<ActionContext>(*db_, *core_);
    return {};
}

SessionResult CoreSession::OpenStoredOnly() {
    options_.storedOnly = true;
    return OpenDevices();
}

SessionResult CoreSession::Open(const SessionOptions& options) {
    SessionResult result = OpenProduct(options);
    return result.ok() ? OpenDevices() : result;
}

uint64_t CoreSession::Start(DeviceView* view, bool discover) {
    if (started_ || !core_) return 0;
    started_ = true;
    core_->SetView(view);
    update_->SetView(view);
    if (options_.watchHotplug) {
        DeviceMainDef* core = core_.get();
        hotplug_ = std::make_unique<HotplugWatcher>(manager_->Backend(), &core_->Worker(),
                                                    [core] { return core->Polling(); });
        hotplug_->SetModes(product_.modes);
        hotplug_->Start();
    }
    if (options_.lockProgram.empty()) return core_->StartWorker(discover);
    std::string holder;
    const DeviceLock::Result taken = TakeDeviceLock(options_.lockProgram, &holder);
    if (taken == DeviceLock::Result::kUnavailable)
        Trace("device lock: %s; running without it", holder.c_str());
    if (taken != DeviceLock::Result::kBusy) return core_->StartWorker(discover);
    // Another program writes to the mouse: nothing goes to a mouse, discovery included, until it ends.
    // Discovery stays the first task all the same: what is queued meanwhile runs after it.
    const uint64_t start = discover ? core_->Worker().QueueTrackedTask(DeviceTaskRequest(kTaskStart)) : 0;
    if (view) view->DeviceLockWaiting(holder);
    lockWait_ = std::thread([this, view] {
        if (Lock().Wait(options_.lockProgram) != DeviceLock::Result::kTaken) return;
        if (view) view->DeviceLockTaken();
        core_->StartWorker(false);
    });
    return start;
}

DeviceLock& CoreSession::Lock() {
    if (!lock_)
        lock_ = std::make_unique<DeviceLock>(options_.deviceLockPath.empty() ? DeviceLockPath()
                                                                             : options_.deviceLockPath);
    return *lock_;
}

DeviceLock::Result CoreSession::TakeDeviceLock(const std::string& program, std::string* holder) {
    DeviceLock& lock = Lock();
    // The fallback folder (the data folder) may not exist yet.
    const std::string& path = lock.Path();
    if (const size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0)
        CreateFolder(path.substr(0, slash + 1));
    const DeviceLock::Result result = lock.TryTake(program);
    if (holder) {
        if (result == DeviceLock::Result::kBusy)
            *holder = lock.Holder();
        else if (result == DeviceLock::Result::kUnavailable)
            *holder = lock.Error();
        else
            holder->clear();
    }
    return result;
}

void CoreSession::Stop() {
    if (stopped_) return;
    stopped_ = true;
    if (lockWait_.joinable()) {
        lock_->Cancel();
        lockWait_.join();  // after it, the worker either runs (and is stopped below) or never started
    }
    if (hotplug_) hotplug_->Stop();  // no new tasks from the hot-plug thread
    if (core_) {
        update_->Cancel();  // a download in progress ends instead of holding the worker
        // The window's wait is bounded; a task that outlasts it still finishes before anything goes.
        if (!core_->Worker().StopWorker(std::chrono::milliseconds(1000))) core_->Worker().JoinWorker();
    }
    if (lock_) lock_->Release();  // nothing runs on the mouse any more
    if (traceLogOpened_) TraceLog::Instance().Close();
}

}  // namespace quorvel
