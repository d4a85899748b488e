// Sending, and the settings the commands read and write.

#include "device/DeviceCommands.h"

#include "device/CoreContext.h"
#include "device/HidDeviceManager.h"
#include "shell/ProductConfig.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

DeviceCommands::DeviceCommands(HidDeviceManager& manager, DeviceDatabase& db, CoreContext& context)
    : manager_(manager), db_(db), context_(context) {}

Family DeviceCommands::CurrentFamily() const {
    return FamilyOf(context_.CurrentDeviceType());
}

int DeviceCommands::ProfileOr(int profile) const {
    return profile > 0 ? profile : context_.CurrentProfile();
}

DeviceError DeviceCommands::Transact(Frame& frame) {
    DeviceError error = DeviceError::None;
    manager_.Transact(frame.data(), kRequestLength, &error);
    return error;
}

DeviceError DeviceCommands::SendFeatureFrame(Frame& frame) {
    int64_t counter = 0;
    context_.Update([&](DeviceState& s) { counter = s.featureWriteCounter++; });
    frame[4] = static_cast<uint8_t>(counter % 255);
    DeviceError error = DeviceError::None;
    manager_.SendFeature(frame.data(), &error);
    return error;
}

DeviceError DeviceCommands::Send(Family family, Frame& frame) {
    return family == Family::Report ? Transact(frame) : SendFeatureFrame(frame);
}

int DeviceCommands::GetInt(int profile, const std::string& key) {
    std::string value;
    db_.GetConfig(profile, key, value);
    return ParseDec(value);
}

void DeviceCommands::SetInt(int profile, const std::string& key, int value) {
    db_.SetConfig(profile, key, std::to_string(value));
}

}  // namespace quorvel
