#include "cli/MacroEventText.h"

#include <cctype>
#include <sstream>

#include "actions/KeyNameTable.h"
#include "actions/MacroEventActions.h"
#include "cli/CliArgs.h"

namespace quorvel::cli {

namespace {

struct Named {
    const char* name;
    int value;
};

// The modifier keys as key capture records them (sided).
constexpr Named kModifierKeys[] = {{"shift", 0xA0},   {"lshift", 0xA0}, {"rshift", 0xA1}, {"ctrl", 0xA2},
                                   {"control", 0xA2}, {"lctrl", 0xA2},  {"rctrl", 0xA3},  {"alt", 0xA4},
                                   {"lalt", 0xA4},    {"ralt", 0xA5},   {"win", 0x5B}};

constexpr Named kButtons[] = {
    {"left", kMacroButtonLeft}, {"lb", kMacroButtonLeft},       {"right", kMacroButtonRight},
    {"rb", kMacroButtonRight},  {"middle", kMacroButtonMiddle}, {"mb", kMacroButtonMiddle},
    {"back", kMacroButtonBack}, {"backward", kMacroButtonBack}, {"forward", kMacroButtonForward}};

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Split(std::string_view word, std::string* head, std::string* rest) {
    const size_t colon = word.find(':');
    if (colon == std::string_view::npos) return false;
    *head = Lower(word.substr(0, colon));
    *rest = std::string(word.substr(colon + 1));
    return true;
}

bool Key(const std::string& name, int* vk, std::string* error) {
    *vk = MacroKeyFromName(name);
    if (*vk == 0) *error = "unknown key name \"" + name + "\"";
    return *vk != 0;
}

bool Button(const std::string& name, int* bit, std::string* error) {
    *bit = MacroButtonFromName(name);
    if (*bit == 0) *error = "unknown mouse button \"" + name + "\" (left, right, middle, back, forward)";
    return *bit != 0;
}

bool Milliseconds(const std::string& text, int* ms, std::string* error) {
    if (!ParseInt(text, ms) || *ms < kMinMacroDelayMs || *ms > kMaxMacroDelayMs) {
        *error = "a delay is 1-10000 ms, not \"" + text + "\"";
        return false;
    }
    return true;
}

}  // namespace

int MacroKeyFromName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const Named& m : kModifierKeys) {
        if (lower == m.name) return m.value;
    }
    return VirtualKeyFromName(lower);
}

int MacroButtonFromName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const Named& b : kButtons) {
        if (lower == b.name) return b.value;
    }
    return 0;
}

bool ParseMacroEventWord(std::string_view word, int delayMs, std::vector<MacroEventRecord>* items,
                         std::string* error) {
    std::string head, rest;
    if (!Split(word, &head, &rest)) {
        *error =
            "\"" + std::string(word) + "\" is not an event (key:A, down:shift, click:left, delay:50, ...)";
        return false;
    }
    int value = 0;
    if (head == "delay") {
        if (!Milliseconds(rest, &value, error)) return false;
        items->push_back(MacroDelayItem(value));
        return true;
    }
    if (head == "key" || head == "down" || head == "up") {
        if (!Key(rest, &value, error)) return false;
        if (head == "key") {
            for (MacroEventRecord& e : MacroKeyPressItems(value, delayMs)) items->push_back(e);
        } else {
            items->push_back(MacroKeyItem(value, head == "up"));
        }
        return true;
    }
    if (head == "click" || head == "press" || head == "release") {
        if (!Button(rest, &value, error)) return false;
        if (head == "click") {
            for (MacroEventRecord& e : MacroButtonPressItems(value, delayMs)) items->push_back(e);
        } else {
            items->push_back(MacroButtonItem(value, head == "release"));
        }
        return true;
    }
    *error = "unknown event \"" + head + "\" (key, down, up, click, press, release, delay)";
    return false;
}

bool ParseMacroEventValue(std::string_view word, int* kind, int* value, std::string* error) {
    std::string head, rest;
    if (Split(word, &head, &rest)) {
        if (head == "delay") {
            *kind = kMacroDelay;
            return Milliseconds(rest, value, error);
        }
        if (head == "key") {
            *kind = kMacroKeyDown;
            return Key(rest, value, error);
        }
        if (head == "button") {
            *kind = kMacroButtonDown;
            return Button(rest, value, error);
        }
    }
    *error = "\"" + std::string(word) + "\" is not a new value (delay:MS, key:NAME or button:NAME)";
    return false;
}

std::string MacroPlayText(const MacroRecord& m) {
    std::string play;
    if (m.play_type == 1)
        play = "repeats while the button is held";
    else if (m.play_type == 2)
        play = "repeats until the button is pressed again";
    else if (m.play_type == 0)
        play = m.play_times == 1 ? "plays once" : "plays " + std::to_string(m.play_times) + " times";
    else
        play = "play type " + std::to_string(m.play_type);
    std::string record;
    if (m.delay_type == 0)
        record = "records no delays";
    else if (m.delay_type == 1)
        record = "records the measured delays";
    else if (m.delay_type == 2)
        record = "records a fixed delay of " + std::to_string(m.delay_time) + " ms";
    else
        record = "delay type " + std::to_string(m.delay_type);
    return play + ", " + record;
}

std::string MacroEventKind(int type) {
    switch (type) {
        case kMacroDelay:
            return "delay";
        case kMacroKeyDown:
            return "key down";
        case kMacroKeyUp:
            return "key up";
        case kMacroButtonDown:
            return "button down";
        case kMacroButtonUp:
            return "button up";
        default:
            return "type " + std::to_string(type);
    }
}

Json MacroEventsJson(const std::vector<MacroEventRecord>& events) {
    Json list = Json::array();
    for (size_t i = 0; i < events.size(); ++i) {
        const MacroEventRecord& e = events[i];
        const int partner = MacroEventPartner(events, static_cast<int>(i));
        list.push_back({{"position", i + 1},
                        {"record_index", e.record_index},
                        {"type", e.type},
                        {"event", MacroEventKind(e.type)},
                        {"value", e.value},
                        {"delay_time", e.delay_time},
                        {"desc", e.desc},
                        {"paired_with", partner < 0 ? Json(nullptr) : Json(partner + 1)}});
    }
    return list;
}

std::vector<std::string> MacroEventLines(const std::vector<MacroEventRecord>& events) {
    if (events.empty()) return {"no events"};
    std::vector<std::vector<std::string>> table = {{"#", "EVENT", "KIND", "VALUE", "PAIRED WITH"}};
    for (size_t i = 0; i < events.size(); ++i) {
        const MacroEventRecord& e = events[i];
        const int partner = MacroEventPartner(events, static_cast<int>(i));
        table.push_back({std::to_string(i + 1), e.desc, MacroEventKind(e.type), std::to_string(e.value),
                         partner < 0 ? "" : std::to_string(partner + 1)});
    }
    std::vector<std::string> lines;
    std::istringstream in(FormatTable(table));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace quorvel::cli
