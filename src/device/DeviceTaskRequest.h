#pragma once
// A queued device task: the task code and the inputs the page captured when it queued it. The worker
// reads these, never the page's current fields, so a front end that does not wait (the GUI) can queue
// two changes in a row and both reach the mouse as they were made.

#include "device/Tasks.h"

namespace quorvel {

struct DeviceTaskRequest {
    DeviceTask code = kTaskStart;
    // The model the request was made for: a request whose model is no longer selected when it runs is not
    // carried out (ModelChanged). 0: any model (discovery, hot-plug, updates). For task 4: the model to
    // select.
    int deviceType = 0;
    // The profile whose settings the task sends; 0: the current profile when the task runs.
    int profile = 0;
    // Task 6 on the feature family: the button whose function is sent; -1: the current one.
    int keySlot = -1;
    // Task 8: the lighting mode sent; -1: the profile's active mode.
    int lightMode = -1;
    // Task 6: the button whose macro goes to the mouse before the key write; -1: none.
    int macroSlot = -1;

    DeviceTaskRequest() = default;
    explicit DeviceTaskRequest(DeviceTask task) : code(task) {}

    bool operator==(const DeviceTaskRequest&) const = default;
};

// Task 4 for a model picked in the device list: the worker selects it, switches the database and loads its
// descriptor, then reads the mouse. Serialised with the tasks queued before it.
inline DeviceTaskRequest SelectDeviceRequest(int deviceType) {
    DeviceTaskRequest request(kTaskSelectDevice);
    request.deviceType = deviceType;
    return request;
}

}  // namespace quorvel
