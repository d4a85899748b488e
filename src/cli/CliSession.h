#pragma once
// One run of quorvelctl on the core's composition root (CoreSession), which the GUI uses too: product
// files, language, trace log, the HID backend (--virtual or the environment), the device core with its
// worker, the update flow, discovery and read-back (task 1). Commands then store their change and run the
// task requests on the worker, waiting for each result.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/CliView.h"
#include "cli/ProgressBar.h"
#include "device/ThreadBasic.h"
#include "session/CoreSession.h"
#include "shell/ProductConfig.h"

namespace quorvel::cli {

// What a command needs before it can run.
enum class Need {
    kProduct,    // the product files and the worker, no discovery (software update)
    kDiscovery,  // discovery has run (a mouse is optional)
    kDatabase,   // a mouse of the chosen model was found: its database and active profile are loaded
    kMouse,      // ... and it answered the read-back
    kStored,     // as kDatabase, for commands that only read the database: while quorvel runs, the stored
                 // settings of the remembered (or --device) model are read without touching the mouse
};

// How long a command waits for one device task before it gives up.
inline constexpr std::chrono::milliseconds kTaskTimeout{60000};
inline constexpr std::chrono::milliseconds kLongTaskTimeout{3600000};  // downloads, firmware transfers

class Session {
public:
    explicit Session(const GlobalOptions& options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Mice plugged in and out are followed while the command runs (before Open).
    void WatchHotplug() { watchHotplug_ = true; }
    // Sets everything up as far as `need` asks; kExitOk, or the exit code after the message was printed.
    int Open(Need need);

    bool JsonOutput() const { return options_.json; }
    const GlobalOptions& Options() const { return options_; }
    const ProductConfig& Product() const { return core_.Product(); }
    DeviceMainDef& Core() { return core_.Core(); }
    DeviceDatabase& Db() { return core_.Database(); }
    ActionContext& Context() { return core_.Actions(); }
    CThreadBasic& Worker() { return core_.Worker(); }
    bool HoldsDeviceLock() const { return core_.HoldsDeviceLock(); }
    // The update flow, its task handlers registered.
    UpdateFlow& Update() { return core_.Update(); }
    CliView& View() { return view_; }
    ProgressBar& Progress() { return progress_; }
    // Whether task 1 found and read the chosen mouse.
    bool MouseRead() const { return mouseRead_; }
    // The selected model (0 when none).
    int DeviceType() const;
    // Whether the model of the current device has lighting (descriptor menu/@light).
    bool HasLighting() const;

    // Queues one task and waits for it.
    TaskResult RunTask(DeviceTask task, std::chrono::milliseconds timeout = kTaskTimeout);

    // The common end of a command that changed something: a refused action prints its reason (exit 1);
    // otherwise its tasks run in order and the stored rows, notes and task results are printed (extra:
    // more JSON fields; lines: more text lines). Exit 1 when a task was not confirmed by the mouse.
    int FinishAction(const ActionResult& result, Json extra = Json::object(),
                     const std::vector<std::string>& lines = {});

private:
    int StartCore(Need need);
    // Another program (the running GUI, or a quorvelctl) holds the mouse: refuses (exit 1), or opens the
    // database read-only (kStored). `holder` names it: "quorvel (process 4711)".
    int OpenBesideGui(Need need, const std::string& holder);
    // The per-user device lock for every command that may reach a mouse: true when it is held (or cannot
    // be used at all); false with *holder naming the program that has it.
    bool TakeDeviceLock(std::string* holder);
    int CheckDevice(Need need, TaskStatus startStatus);
    void ReportPermissionProblems();

    GlobalOptions options_;
    ProgressBar progress_;
    CliView view_;
    CoreSession core_;  // after the view it shows on: stopped first
    bool started_ = false;
    bool mouseRead_ = false;
    bool watchHotplug_ = false;
};

// "quorvel (process 4711)", or "quorvel" when the process id is not known.
std::string RunningGui(int process);
// Text name of a task code ("DPI levels") for messages.
std::string TaskName(int task);
// "confirmed", "not confirmed by the mouse", ...
std::string TaskStatusText(TaskStatus status);

}  // namespace quorvel::cli
