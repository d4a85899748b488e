#pragma once
// Software and firmware updates as device tasks: 24 checks the software version, 25 the firmware version,
// 27 downloads and starts the software set-up program, 28 downloads the firmware and sends it to the
// mouse. Register() hands the four handlers to the device core's worker; the front end queues the codes.
//
// Threads. The tasks run on the worker thread, one at a time; what they show goes to the DeviceView (check
// labels, offers, download progress, firmware steps, "the installer runs"). Their results are kept and can
// be read from any thread once the task has finished (the command-line tool waits for the task, then
// prints them). Set-up calls (SetView, Client().SetLimits) belong before the worker starts.
//
// Files. Downloads go to the work folder "<data folder>/temp/". An archive is deleted after it unpacked;
// the firmware image after its transfer; the set-up program stays.
//
// Signatures. When the product folder lists update keys (UpdateSignature.h), every downloaded file (the
// version texts and the archives) must carry a signature by one of them; a file without one is refused
// before it is used or unpacked. Without keys the files are taken as before and the results say so.
//
// Cancel. Each installation (27, 28) has a cancel token. The front end asks for it with PrepareInstall
// before it queues the task; CancelTransfer cancels it while the task waits in the queue or runs. The task
// looks at it when it starts, during the download and unpacking, just before the set-up program starts and
// just before the first report of a firmware transfer; after that the transfer is not interrupted.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "update/DownloadClient.h"

namespace quorvel {

class DeviceMainDef;
class DeviceView;
struct ProductConfig;

// Where the software updates come from and what is installed now.
struct UpdateSettings {
    std::string softwareAddress;  // upgrade/@url of config.xml: base of the version and archive addresses
    std::string softwareVersion;  // software/@version of config.xml
    std::string dataFolder;       // empty: the program's data folder
    std::string keysFile;         // the product's update-keys file; empty: none (updates are unsigned)
};
UpdateSettings SettingsFromProduct(const ProductConfig& config);

// Result of a version check.
struct VersionCheck {
    bool ok = false;               // the server's version text was fetched and accepted
    std::string current;           // the installed software / the mouse's firmware version
    std::string newest;            // the server's version (empty unless ok)
    bool newer = false;            // CompareVersions(current, newest) is 1 or more: an update is available
    std::string error;             // why the check failed (empty when ok)
    bool unsignedUpdates = false;  // the product lists no update keys: no signature was checked
};

// Result of an installation.
struct UpdateInstall {
    bool ok = false;
    std::string version;           // the version installed
    std::string path;              // the set-up program started, or the firmware image sent
    std::size_t imageBytes = 0;    // firmware: bytes sent
    bool exitProgram = false;      // software: the set-up program runs and the program should now end
    std::string error;             // why it failed (empty when ok)
    bool cancelled = false;        // it ended because of a cancel, before anything was started or sent
    bool unsignedUpdates = false;  // the product lists no update keys: no signature was checked
};

// Where an installation task stands; a test hook sees each point as the task passes it (on the worker).
enum class UpdatePoint { kStarted, kUnpacked, kBeforeTransfer };  // unpacked: the archive, whole or not

enum UpdateKind : int { kUpdateSoftware = 1, kUpdateFirmware = 2 };

class UpdateFlow {
public:
    UpdateFlow(DeviceMainDef& core, UpdateSettings settings);
    // Unregisters the handlers; a task already running finishes on the shared state. The flow must not
    // outlive the core.
    ~UpdateFlow();
    UpdateFlow(const UpdateFlow&) = delete;
    UpdateFlow& operator=(const UpdateFlow&) = delete;

    // Set-up.
    void SetView(DeviceView* view);                            // null: nothing is shown
    void SetPointHook(std::function<void(UpdatePoint)> hook);  // tests: called as a task passes each point
    DownloadClient& Client();  // limits; Cancel() from any thread ends a running download
    // Installs the handlers of tasks 24, 25, 27 and 28 in the device core.
    void Register();

    // The tasks, on the calling thread (the worker calls them; tests may call them directly while the
    // worker does not run). Each returns whether it succeeded; its result says why not.
    bool CheckSoftwareVersion();   // task 24
    bool CheckFirmwareVersion();   // task 25
    bool InstallSoftwareUpdate();  // task 27: needs an accepted version from task 24
    bool InstallFirmwareUpdate();  // task 28: needs an accepted version from task 25, or a local file

    // The next task 28 sends this image file instead of downloading one (the file is kept). Any thread.
    void SetFirmwareFile(const std::string& path);

    // Results of the last run of each task. Any thread.
    VersionCheck SoftwareCheck() const;
    VersionCheck FirmwareCheck() const;
    UpdateInstall SoftwareInstall() const;
    UpdateInstall FirmwareInstall() const;

    // Ends the running download or unpacking (when none runs, the next one); that task fails as
    // "cancelled". Any thread.
    void Cancel();
    // A fresh cancel token for the next task 27 (kUpdateSoftware) or 28 (kUpdateFirmware), taken by that
    // task when it starts. Call before queuing the task. Any thread.
    void PrepareInstall(int kind);
    // The user's Cancel of an installation: cancels the token of task 27 or 28 while one of them is queued
    // (after PrepareInstall) or runs, and does nothing otherwise, so a click that comes late never fails the
    // next task. A task that already started the set-up program or the first firmware report goes on.
    // Returns whether an installation was queued or running. Any thread.
    bool CancelTransfer();

    struct State;

private:
    std::shared_ptr<State> state_;
    bool registered_ = false;
};

}  // namespace quorvel
