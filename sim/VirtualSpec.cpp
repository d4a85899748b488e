#include "sim/VirtualSpec.h"

#include <cctype>
#include <set>

namespace quorvel {

namespace {

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool Fail(std::string* error, const std::string& spec, const std::string& why) {
    if (error) *error = "virtual mouse \"" + spec + "\": " + why;
    return false;
}

// Reads key=value into *target after checking [0, max].
bool ReadKey(const std::string& spec, const std::string& key, const std::string& value, uint32_t max,
             uint32_t* target, std::string* error) {
    uint32_t number = 0;
    if (!ParseVirtualNumber(value, &number)) return Fail(error, spec, "bad number \"" + value + "\" for " + key);
    if (number > max)
        return Fail(error, spec, key + " " + value + " is out of range (at most " + std::to_string(max) + ")");
    *target = number;
    return true;
}

bool ParseOne(const std::string& spec, const std::vector<DeviceEntry>& modes, VirtualMouseSpec* out,
              std::string* error) {
    std::vector<std::string> items = Split(spec, ',');
    std::string head = Trim(items[0]);
    std::string typeText = head, linkText = "wired";
    if (size_t colon = head.find(':'); colon != std::string::npos) {
        typeText = Trim(head.substr(0, colon));
        linkText = Trim(head.substr(colon + 1));
    }
    uint32_t type = 0;
    if (!ParseVirtualNumber(typeText, &type) || type > 0x7FFFFFFF)
        return Fail(error, spec, "bad device type \"" + typeText + "\"");
    int link = 0;
    if (linkText == "wireless") link = 1;
    else if (linkText != "wired") return Fail(error, spec, "unknown link \"" + linkText + "\" (wired or wireless)");

    bool known = false;
    const DeviceEntry* entry = nullptr;
    for (const DeviceEntry& mode : modes) {
        if (mode.device_type != static_cast<int>(type)) continue;
        known = true;
        if (mode.mode == link) {
            entry = &mode;
            break;
        }
    }
    if (!known) return Fail(error, spec, "unknown device type " + typeText + " (not in config.xml)");
    if (!entry) return Fail(error, spec, "device type " + typeText + " has no " + linkText + " mode");

    VirtualMouseSpec mouse;
    mouse.deviceType = entry->device_type;
    mouse.linkMode = link;
    mouse.vendorId = static_cast<uint16_t>(entry->vid);
    mouse.productId = static_cast<uint16_t>(entry->pid);
    mouse.devId = entry->dev_id.substr(0, 4);
    mouse.name = entry->name;
    if (mouse.FeatureFamily()) mouse.sensor = mouse.devId.size() > 2 ? static_cast<uint8_t>(mouse.devId[2]) : 0;

    std::set<std::string> seen;
    for (size_t i = 1; i < items.size(); ++i) {
        std::string item = Trim(items[i]);
        size_t equals = item.find('=');
        if (equals == std::string::npos) return Fail(error, spec, "\"" + item + "\" is not key=value");
        std::string key = Trim(item.substr(0, equals));
        std::string value = Trim(item.substr(equals + 1));
        if (!seen.insert(key).second) return Fail(error, spec, "key " + key + " given twice");
        uint32_t number = 0;
        if (key == "sensor" || key == "rate_cap") {
            if (mouse.FeatureFamily())
                return Fail(error, spec, key + " applies to the report family only (device type below 200)");
            if (!ReadKey(spec, key, value, 0xFF, &number, error)) return false;
            (key == "sensor" ? mouse.sensor : mouse.rateCap) = static_cast<int>(number);
        } else if (key == "release") {
            if (!ReadKey(spec, key, value, 0xFFFF, &number, error)) return false;
            mouse.release = static_cast<uint16_t>(number);
        } else if (key == "battery") {
            if (!ReadKey(spec, key, value, 100, &number, error)) return false;
            mouse.battery = static_cast<int>(number);
        } else if (key == "link") {
            if (!ReadKey(spec, key, value, 1, &number, error)) return false;
            mouse.linked = number == 1;
        } else {
            return Fail(error, spec, "unknown key \"" + key + "\" (sensor, rate_cap, release, battery, link)");
        }
    }
    *out = mouse;
    return true;
}

}  // namespace

std::string VirtualMouseSpec::Key() const {
    return std::to_string(deviceType) + (linkMode == 1 ? ":wireless" : ":wired");
}

bool ParseVirtualNumber(const std::string& text, uint32_t* value) {
    int base = 10;
    size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    if (start >= text.size()) return false;
    uint64_t number = 0;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        number = number * base + digit;
        if (number > 0xFFFFFFFFull) return false;
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

bool ParseVirtualSpecs(const std::string& text, const std::vector<DeviceEntry>& modes,
                       std::vector<VirtualMouseSpec>* out, std::string* error) {
    std::vector<VirtualMouseSpec> parsed;
    std::set<std::string> keys;
    for (const std::string& raw : Split(text, ';')) {
        std::string spec = Trim(raw);
        if (spec.empty()) continue;
        VirtualMouseSpec mouse;
        if (!ParseOne(spec, modes, &mouse, error)) return false;
        if (!keys.insert(mouse.Key()).second) return Fail(error, spec, mouse.Key() + " is listed twice");
        parsed.push_back(mouse);
    }
    out->insert(out->end(), parsed.begin(), parsed.end());
    return true;
}

}  // namespace quorvel
