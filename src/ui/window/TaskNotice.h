#pragma once
// What the main window tells the user when a device task ends without reaching the mouse: the reason in
// plain words (language texts), never a bare "failed". Changes a page sent are reported as "not sent to the
// mouse", the read-back of a picked mouse as "could not be read"; discovery, hot-plug and update tasks,
// tasks dropped at shutdown and requests overtaken by a model switch report nothing here.

#include <vector>

#include "device/DeviceTaskRequest.h"
#include "device/TaskResult.h"

namespace quorvel {

struct TaskNotice {
    std::vector<int> textIds;  // joined by blanks; empty: nothing to tell
    bool box = false;          // a message box (the user must act) rather than the bottom bar
    int boxTitle = 0;
};

TaskNotice NoticeForTask(const DeviceTaskRequest& request, const TaskResult& result);
// The language text that words a failure's reason.
int ReasonText(DeviceError error);

}  // namespace quorvel
