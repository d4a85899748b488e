#include "ui/window/TaskNotice.h"

#include "ui/common/TextIds.h"

namespace quorvel {

namespace {


}  // namespace

int ReasonText(DeviceError error) {
    switch (error) {
        case DeviceError::NotOpen:
            return txt::kNotReady;
        case DeviceError::NoDevice:
            return txt::kNoMouse;
        case DeviceError::Gone:
            return txt::kMouseUnplugged;
        case DeviceError::WriteFailed:
            return txt::kNotAccepted;
        case DeviceError::NoReply:
            return txt::kNoAnswer;
        case DeviceError::Refused:
            return txt::kRefused;
        case DeviceError::NotLinked:
            return txt::kOutOfReach;
        case DeviceError::NothingToSend:
            return txt::kSettingsMissing;
        case DeviceError::TooLong:
            return txt::kMacroTooLongToSend;
        case DeviceError::UpdateFailed:
            return txt::kUpdateIncomplete;
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
            return {{txt::kNotRead, reason}};
        case kTaskFactoryReset:
            // The user confirmed a reset that did not happen: a box, so it is not missed.
            return {{txt::kNotSent, reason}, true, txt::kFactoryResetTitle};
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
            return {{txt::kNotSent, reason}};
        default:
            return {};
    }
}

}  // namespace quorvel
