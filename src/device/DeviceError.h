#pragma once
// Why a transfer or a device task did not go through. The reason travels with the call (as HidOpenError
// does for opening), so a front end can tell an unplugged mouse from one that refused a request.

namespace quorvel {

enum class DeviceError {
    None,
    NotOpen,        // the device list is closed: before the first discovery, or while it is rebuilt
    NoDevice,       // no record of the selected model to send to: none found, or its receiver lost the mouse
    Gone,           // the mouse's interface went away under the transfer (unplugged)
    WriteFailed,    // the system did not take the report; the feature family also learns of a refusal so
    NoReply,        // the request went out and nothing answered
    Refused,        // the mouse answered that it did not carry the request out
    NotLinked,      // the receiver is there but does not reach the mouse
    NothingToSend,  // the stored data the task sends is missing (a lighting mode without its row)
    TooLong,        // a macro longer than the packet count of the protocol can number
    ModelChanged,   // the request was made for another model than the one selected when it ran
    UpdateFailed,   // an update task failed; the update flow's result says why
};

// A short English phrase for messages and traces: "the mouse is unplugged", ...
const char* DeviceErrorText(DeviceError error);

// Several transfers make one command: the first failure is the reason kept.
inline void KeepFirst(DeviceError* kept, DeviceError error) {
    if (*kept == DeviceError::None) *kept = error;
}

}  // namespace quorvel
