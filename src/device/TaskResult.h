#pragma once
// How a device task ended: its status, and for a failure the reason.

#include "device/DeviceError.h"

namespace quorvel {

enum class TaskStatus {
    Confirmed,  // carried out, and the mouse confirmed every request
    Failed,     // carried out, but a request failed or there was no usable device (see the error)
    Dropped,    // the code has no entry
    TimedOut,   // the wait ended first; the task may still run
    Stopped,    // the worker stopped before the task ran
};

struct TaskResult {
    TaskStatus status = TaskStatus::TimedOut;
    DeviceError error = DeviceError::None;  // set when the status is Failed
    bool ok() const { return status == TaskStatus::Confirmed; }

    static TaskResult Of(DeviceError error) {
        return {error == DeviceError::None ? TaskStatus::Confirmed : TaskStatus::Failed, error};
    }
};

const char* TaskStatusName(TaskStatus status);

}  // namespace quorvel
