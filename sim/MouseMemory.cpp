#include "sim/MouseMemory.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <nlohmann/json.hpp>

#include "sim/SimSensor.h"

namespace quorvel {

namespace {

constexpr int kDefaultDpi[kSimDpiLevels] = {800, 1600, 2400, 3200, 6400, 26000};
constexpr Rgb kDefaultDpiColours[kSimDpiLevels] = {
    {0xFF, 0, 0}, {0, 0, 0xFF}, {0, 0xFF, 0}, {0xFF, 0xFF, 0}, {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}};
constexpr Rgb kDefaultLightColours[kSimLightColours] = {{0xFF, 0, 0},    {0, 0xFF, 0},    {0, 0, 0xFF},
                                                        {0, 0xFF, 0xFF}, {0xFF, 0xFF, 0}, {0xFF, 0, 0xFF},
                                                        {0xFF, 0xFF, 0xFF}};
constexpr KeyCode kDefaultKeys[6] = {{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0},
                                     {0x10, 0x08, 0}, {0x10, 0x10, 0}, {0x40, 0x01, 0}};

using nlohmann::json;

// Reads json[name] into *out when present; throws (caught by the caller) on a wrong type or range.
template <typename T>
void ReadField(const json& object, const char* name, T* out) {
    auto it = object.find(name);
    if (it == object.end()) return;
    if (!it->is_number_unsigned()) throw std::runtime_error(std::string(name) + " is not a small number");
    auto value = it->get<uint64_t>();
    if (value > std::numeric_limits<T>::max()) throw std::runtime_error(std::string(name) + " is too large");
    *out = static_cast<T>(value);
}

template <typename T, size_t N>
void ReadArray(const json& object, const char* name, std::array<T, N>* out) {
    auto it = object.find(name);
    if (it == object.end()) return;
    if (!it->is_array() || it->size() != N) throw std::runtime_error(std::string(name) + " has the wrong size");
    for (size_t i = 0; i < N; ++i) {
        json holder = {{"v", (*it)[i]}};
        ReadField(holder, "v", &(*out)[i]);
    }
}

template <size_t N>
void ReadTriples(const json& object, const char* name, std::array<std::array<uint8_t, 3>, N>* out) {
    auto it = object.find(name);
    if (it == object.end()) return;
    if (!it->is_array() || it->size() != N) throw std::runtime_error(std::string(name) + " has the wrong size");
    for (size_t i = 0; i < N; ++i) {
        json holder = {{"v", (*it)[i]}};
        ReadArray(holder, "v", &(*out)[i]);
    }
}

}  // namespace

void ResetLighting(MouseMemory* memory) {
    memory->lightMode = 2;
    for (auto& mode : memory->light) {
        mode.brightnessSpeed = 0x22;
        std::copy(std::begin(kDefaultLightColours), std::end(kDefaultLightColours), mode.colours.begin());
    }
}

MouseMemory FactoryMemory(int sensor, bool featureFamily) {
    MouseMemory memory;
    const SimSensorRange range = SensorRangeOf(sensor);
    for (int i = 0; i < kSimDpiLevels; ++i) {
        memory.dpiRaw[i] = static_cast<uint16_t>(SensorDpiToRaw(sensor, std::clamp(kDefaultDpi[i], range.step, range.maxDpi)));
        memory.dpiColours[i] = kDefaultDpiColours[i];
    }
    ResetLighting(&memory);
    for (int slot = 0; slot < kSimKeySlots; ++slot)
        memory.keys[slot] = slot < 6 ? kDefaultKeys[slot] : featureFamily ? KeyCode{0x10, 0, 0} : KeyCode{0, 0, 0};
    return memory;
}

json MemoryToJson(const MouseMemory& m) {
    json light = json::array();
    for (const auto& mode : m.light) light.push_back({{"brightness_speed", mode.brightnessSpeed}, {"colours", mode.colours}});
    json macros = json::object();
    for (const auto& [slot, bytes] : m.macros) macros[std::to_string(slot)] = bytes;
    return {{"report_rate", m.reportRate},   {"dpi_count", m.dpiCount},     {"dpi_index", m.dpiIndex},
            {"dpi_raw", m.dpiRaw},           {"dpi_colours", m.dpiColours}, {"liftoff", m.liftoff},
            {"sensor_bit8", m.sensorBit8},   {"sensor_bit4", m.sensorBit4}, {"sleep", m.sleep},
            {"wake_on_move", m.wakeOnMove},  {"light_off_moving", m.lightOffMoving},
            {"response_time", m.responseTime}, {"light_mode", m.lightMode}, {"light", light},
            {"keys", m.keys},                {"macros", macros}};
}

bool MemoryFromJson(const json& object, MouseMemory* memory, std::string* error) {
    try {
        if (!object.is_object()) throw std::runtime_error("not an object");
        MouseMemory m = *memory;
        ReadField(object, "report_rate", &m.reportRate);
        ReadField(object, "dpi_count", &m.dpiCount);
        ReadField(object, "dpi_index", &m.dpiIndex);
        ReadArray(object, "dpi_raw", &m.dpiRaw);
        ReadTriples(object, "dpi_colours", &m.dpiColours);
        ReadField(object, "liftoff", &m.liftoff);
        ReadField(object, "sensor_bit8", &m.sensorBit8);
        ReadField(object, "sensor_bit4", &m.sensorBit4);
        ReadField(object, "sleep", &m.sleep);
        ReadField(object, "wake_on_move", &m.wakeOnMove);
        ReadField(object, "light_off_moving", &m.lightOffMoving);
        ReadField(object, "response_time", &m.responseTime);
        ReadField(object, "light_mode", &m.lightMode);
        if (m.dpiCount < 1 || m.dpiCount > kSimDpiLevels || m.dpiIndex >= kSimDpiLevels || m.lightMode >= kSimLightModes)
            throw std::runtime_error("DPI level or lighting mode out of range");
        if (auto it = object.find("light"); it != object.end()) {
            if (!it->is_array() || it->size() != kSimLightModes) throw std::runtime_error("light has the wrong size");
            for (size_t i = 0; i < kSimLightModes; ++i) {
                ReadField((*it)[i], "brightness_speed", &m.light[i].brightnessSpeed);
                ReadTriples((*it)[i], "colours", &m.light[i].colours);
            }
        }
        ReadTriples(object, "keys", &m.keys);
        if (auto it = object.find("macros"); it != object.end()) {
            if (!it->is_object()) throw std::runtime_error("macros is not an object");
            m.macros.clear();
            for (const auto& [key, bytes] : it->items()) {
                size_t used = 0;
                int slot = std::stoi(key, &used);
                if (used != key.size() || slot < 0 || slot >= kSimKeySlots) throw std::runtime_error("bad macro slot " + key);
                if (!bytes.is_array()) throw std::runtime_error("macro " + key + " is not a byte list");
                std::vector<uint8_t> stream;
                for (const auto& b : bytes) {
                    if (!b.is_number_unsigned() || b.get<uint64_t>() > 0xFF) throw std::runtime_error("macro " + key + " holds a non-byte");
                    stream.push_back(b.get<uint8_t>());
                }
                m.macros[slot] = std::move(stream);
            }
        }
        *memory = m;
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace quorvel
