#include "actions/ActionTasks.h"

namespace quorvel {

void QueueActionTasks(TaskSink& sink, const ActionResult& result) {
    if (!result.ok) return;
    for (int task : result.tasks) sink.QueueTask(task);
}

std::vector<TaskResult> RunActionTasks(CThreadBasic& worker, const ActionResult& result,
                                       std::chrono::milliseconds timeout) {
    std::vector<TaskResult> results;
    if (!result.ok) return results;
    // All are queued first so they run back to back, in order, as the page's queueing would.
    std::vector<uint64_t> ids;
    for (int task : result.tasks) ids.push_back(worker.QueueTrackedTask(task));
    for (uint64_t id : ids) results.push_back(worker.WaitForTask(id, timeout));
    return results;
}

}  // namespace quorvel
