#pragma once
// Reports the mouse (or its receiver) sends on its own: DPI switches made with the button on the mouse,
// link lost / restored, battery. Read by the worker between tasks: after the manager's wait said a mouse
// has input, without a time-out; with a backend that cannot wait, polled with a short one.

#include <cstdint>
#include <functional>

#include "device/HidDeviceManager.h"

namespace quorvel {

constexpr size_t kNotifyBufferSize = 65;
constexpr int kNotifyTimeoutMs = 10;

// Report family: reads each mouse interface of that family (IsFeatureFamily) for up to `timeoutMs`; the first
// report ends the poll. A link-state report (C0) updates the record's link state, and on a connect re-reads
// its info block (one retry after 500 ms, through `sleep`); a connect report on a record already linked
// only updates its battery. False when nothing was read or the manager is not open; *deviceType is the
// reporting record's type (0 when none); *linkCameUp (when given) whether a link went from down to up.
bool PollReportFamily(HidDeviceManager& manager, uint8_t* buffer, int* deviceType,
                      const std::function<void(int)>& sleep, int timeoutMs = kNotifyTimeoutMs,
                      bool* linkCameUp = nullptr);
// Feature family: reads the notification interface once per feature-family record.
bool PollFeatureFamily(HidDeviceManager& manager, uint8_t* buffer, int* deviceType,
                       int timeoutMs = kNotifyTimeoutMs);
// After a link-lost report: reads the wireless records of the selected type for a link report and marks
// them connected (1) or reported disconnected (2).
void PollSelectedWireless(HidDeviceManager& manager, int selectedType, int timeoutMs = kNotifyTimeoutMs);

}  // namespace quorvel
