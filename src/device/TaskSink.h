#pragma once
// Where device work is queued. The worker (CThreadBasic) implements it; callers on any thread store their
// change first, then queue the task code.

namespace quorvel {

class TaskSink {
public:
    virtual ~TaskSink() = default;
    virtual void QueueTask(int task) = 0;
};

}  // namespace quorvel
