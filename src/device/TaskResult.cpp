#include "device/TaskResult.h"

namespace quorvel {

const char* TaskStatusName(TaskStatus status) {
    switch (status) {
        case TaskStatus::Confirmed:
            return "confirmed";
        case TaskStatus::Failed:
            return "failed";
        case TaskStatus::Dropped:
            return "unknown task";
        case TaskStatus::TimedOut:
            return "timed out";
        case TaskStatus::Stopped:
            return "worker stopped";
    }
    return "?";
}

const char* DeviceErrorText(DeviceError error) {
    switch (error) {
        case DeviceError::None:
            return "no error";
        case DeviceError::NotOpen:
            return "the devices are not open yet";
        case DeviceError::NoDevice:
            return "the mouse is not connected";
        case DeviceError::Gone:
            return "the mouse is unplugged";
        case DeviceError::WriteFailed:
            return "the request could not be sent to the mouse";
        case DeviceError::NoReply:
            return "the mouse did not answer";
        case DeviceError::Refused:
            return "the mouse refused the request";
        case DeviceError::NotLinked:
            return "the receiver does not reach the mouse";
        case DeviceError::NothingToSend:
            return "nothing is stored to send";
        case DeviceError::TooLong:
            return "the macro is too long for the mouse";
        case DeviceError::ModelChanged:
            return "another mouse model was selected meanwhile";
        case DeviceError::UpdateFailed:
            return "the update step failed";
    }
    return "?";
}

}  // namespace quorvel
