#pragma once
// What the mouse keeps in its own memory: everything the write commands store and the read-back
// commands answer from. Kept apart from the identity (ids, sensor, battery), which the selection string fixes.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace quorvel {

using Rgb = std::array<uint8_t, 3>;
using KeyCode = std::array<uint8_t, 3>;

inline constexpr int kSimDpiLevels = 6;
inline constexpr int kSimLightModes = 6;     // modes 0..5
inline constexpr int kSimLightColours = 7;
inline constexpr int kSimKeySlots = 16;

struct LightSetting {
    uint8_t brightnessSpeed = 0x22;          // brightness << 4 | speed
    std::array<Rgb, kSimLightColours> colours{};
    bool operator==(const LightSetting&) const = default;
};

struct MouseMemory {
    uint8_t reportRate = 1;                  // report-rate code
    uint8_t dpiCount = 5;
    uint8_t dpiIndex = 1;
    std::array<uint16_t, kSimDpiLevels> dpiRaw{};  // raw sensor codes
    std::array<Rgb, kSimDpiLevels> dpiColours{};
    uint8_t liftoff = 1;
    uint8_t sensorBit8 = 0;
    uint8_t sensorBit4 = 1;
    uint8_t sleep = 1;                       // 10-second units
    uint8_t wakeOnMove = 1;
    uint8_t lightOffMoving = 1;
    uint8_t responseTime = 8;
    uint8_t lightMode = 2;
    std::array<LightSetting, kSimLightModes> light{};
    std::array<KeyCode, kSimKeySlots> keys{};
    // key slot -> the macro's event bytes as sent (4 bytes per event in the report family, 3 in the other)
    std::map<int, std::vector<uint8_t>> macros;

    bool operator==(const MouseMemory&) const = default;
};

// Factory settings for a sensor (DPI defaults converted to its raw codes) and a family.
MouseMemory FactoryMemory(int sensor, bool featureFamily);
// The lighting part of the factory settings (the lighting reset).
void ResetLighting(MouseMemory* memory);

nlohmann::json MemoryToJson(const MouseMemory& memory);
// Fields missing from the object keep the values already in *memory; false with *error on a wrong type
// or size (then *memory is unchanged).
bool MemoryFromJson(const nlohmann::json& json, MouseMemory* memory, std::string* error);

}  // namespace quorvel
