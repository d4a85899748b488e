#pragma once
// Task codes of the device worker. Pages store their change first, then queue a request with the code
// (DeviceTaskRequest).

namespace quorvel {

enum DeviceTask : int {
    kTaskStart = 1,               // discovery, then reload without pause
    kTaskArrival = 2,             // hot-plug arrival: discovery, then reload after 1 ms
    kTaskRemoval = 3,             // hot-plug removal: reload after 500 ms
    kTaskSelectDevice = 4,        // another model picked in the device list
    kTaskWriteProfile = 5,        // profile switch or import: every setting to the mouse
    kTaskWriteKeys = 6,
    kTaskWriteLighting = 8,
    kTaskWriteDpiLevels = 9,
    kTaskWriteDpiColours = 10,
    kTaskWriteReportRate = 11,
    kTaskWriteAdvanced = 12,
    kTaskWritePower = 13,
    kTaskDefaultKeys = 16,
    kTaskResetLighting = 18,
    kTaskResetDpi = 19,
    kTaskResetReportRate = 20,
    kTaskFactoryReset = 21,
    kTaskCheckSoftware = 24,      // update tasks: handlers registered by the update flow
    kTaskCheckFirmware = 25,
    kTaskInstallSoftware = 27,
    kTaskFlashFirmware = 28,
};

// Whether the worker has an entry for the code.
bool IsKnownTask(int task);

}  // namespace quorvel
