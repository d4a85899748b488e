#include "actions/ActionTasks.h"

namespace quorvel {

std::vector<uint64_t> QueueActionTasks(TaskSink& sink, const ActionResult& result) {
    std::vector<uint64_t> ids;
    if (!result.ok) return ids;
    for (const DeviceTaskRequest& request : result.tasks) ids.push_back(sink.QueueTask(request));
    return ids;
}

std::vector<TaskResult> RunActionTasks(CThreadBasic& worker, const ActionResult& result,
                                       std::chrono::milliseconds timeout) {
    std::vector<TaskResult> results;
    if (!result.ok) return results;
    // All are queued first so they run back to back, in order, as the page's queueing would.
    std::vector<uint64_t> ids;
    for (const DeviceTaskRequest& request : result.tasks) ids.push_back(worker.QueueTrackedTask(request));
    for (uint64_t id : ids) results.push_back(worker.WaitForTask(id, timeout));
    return results;
}

}  // namespace quorvel
