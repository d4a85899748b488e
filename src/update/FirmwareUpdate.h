#pragma once
// The firmware image of an update and its transfer to the current mouse over the firmware-transfer
// interface. Worker thread only (it drives the device core's commands).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class DeviceMainDef;

// Block numbers of the transfer are 16 bits wide and count 16-byte sub-blocks: a larger image would
// number two blocks alike.
inline constexpr std::size_t kMaxFirmwareImageBytes = 65536 * 16;

// Reads the whole image. False with *error when it is missing, empty, larger than the transfer can
// number, or cannot be read completely.
bool LoadFirmwareImage(const std::string& path, std::vector<uint8_t>* image, std::string* error);

// Opens the firmware-transfer interface of the current device and sends the image: start report, data
// packets (progress through the view), end report. The interface is closed again afterwards. False with
// *error when there is no current device, the interface cannot be opened, or the mouse did not confirm a
// report.
bool FlashFirmware(DeviceMainDef& core, const std::vector<uint8_t>& image, std::string* error);

}  // namespace quorvel
