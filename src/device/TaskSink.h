#pragma once
// Where device work is queued. The worker (CThreadBasic) implements it; callers on any thread store their
// change first, then queue the request.

#include <cstdint>

#include "device/DeviceTaskRequest.h"

namespace quorvel {

class TaskSink {
public:
    virtual ~TaskSink() = default;
    // Returns the id the task's end is reported with (DeviceView::TaskFinished); 0 when nothing was queued.
    virtual uint64_t QueueTask(const DeviceTaskRequest& request) = 0;
};

}  // namespace quorvel
