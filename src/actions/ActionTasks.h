#pragma once
// Handing an action's tasks to the device worker.

#include <chrono>
#include <vector>

#include "actions/ActionResult.h"
#include "device/ThreadBasic.h"

namespace quorvel {

// Queues the tasks of an accepted result, in order (the GUI's way: it does not wait; each task's end comes
// back through DeviceView::TaskFinished with the id returned here).
std::vector<uint64_t> QueueActionTasks(TaskSink& sink, const ActionResult& result);

// Queues the tasks and waits for each in turn, at most `timeout` per task (the command line's way).
// One result per task, in order; empty when the action named none or was refused.
std::vector<TaskResult> RunActionTasks(CThreadBasic& worker, const ActionResult& result,
                                       std::chrono::milliseconds timeout);

}  // namespace quorvel
