#include "ui/window/TaskNotice.h"

namespace quorvel {

namespace {

constexpr int kNotSent = 720;
constexpr int kNotRead = 731;
constexpr int kFactoryResetTitle = 570;

}  // namespace

int ReasonText(DeviceError error) {
    switch (error) {
        case DeviceError::NotOpen:
            return 721;
        case DeviceError::NoDevice:
            return 722;
        case DeviceError::Gone:
            return 723;
        case DeviceError::WriteFailed:
            return 724;
        case DeviceError::NoReply:
            return 725;
        case DeviceError::Refused:
            return 726;
        case DeviceError::NotLinked:
            return 727;
        case DeviceError::NothingToSend:
            return 728;
        case DeviceError::TooLong:
            return 729;
        case DeviceError::UpdateFailed:
            return 730;
        case DeviceError::ModelChanged:
        case DeviceError::None:
            break;
    }
    return 0;
}

TaskNotice NoticeForTask(const DeviceTaskRequest& request, const TaskResult& result) {
    if (result.status != TaskStatus::Failed) return {};
    const int reason = ReasonText(result.error);
    if (reason == 0) return {};
    switch (request.code) {
        case kTaskSelectDevice:
            return {{kNotRead, reason}};
        case kTaskFactoryReset:
            // The user confirmed a reset that did not happen: a box, so it is not missed.
            return {{kNotSent, reason}, true, kFactoryResetTitle};
        case kTaskWriteProfile:
        case kTaskWriteKeys:
        case kTaskWriteLighting:
        case kTaskWriteDpiLevels:
        case kTaskWriteDpiColours:
        case kTaskWriteReportRate:
        case kTaskWriteAdvanced:
        case kTaskWritePower:
        case kTaskDefaultKeys:
        case kTaskResetLighting:
        case kTaskResetDpi:
        case kTaskResetReportRate:
            return {{kNotSent, reason}};
        default:
            return {};
    }
}

}  // namespace quorvel
