#include "actions/MacroEventActions.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "actions/MacroActions.h"
#include "actions/MacroPairIds.h"
#include "actions/MacroTextKeys.h"
#include "device/CommandsFrame.h"
#include "device/DeviceMainDef.h"
#include "files/FileResult.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"
#include "store/KeyCapture.h"

namespace quorvel {

namespace {

using EventList = std::vector<MacroEventRecord>;

constexpr int kReportFamilyPlayCount = 999;
constexpr int kFeatureFamilyPlayCount = 255;
constexpr int kFixedRecordingDelayMs = 10;             // what the editor puts into an empty fixed-delay field
constexpr const char* kPressArrow = "\xE2\x86\x93  ";  // "↓  "
constexpr const char* kReleaseArrow = "\xE2\x86\x91  ";  // "↑  "

struct ButtonName {
    int bit;
    const char* name;
};
constexpr ButtonName kButtonNames[] = {{kMacroButtonLeft, "LB"},
                                       {kMacroButtonRight, "RB"},
                                       {kMacroButtonMiddle, "MB"},
                                       {kMacroButtonBack, "Backward"},
                                       {kMacroButtonForward, "Forward"}};

bool IsPress(int type) {
    return type == kMacroKeyDown || type == kMacroButtonDown;
}
bool IsRelease(int type) {
    return type == kMacroKeyUp || type == kMacroButtonUp;
}
bool IsKey(int type) {
    return type == kMacroKeyDown || type == kMacroKeyUp;
}
bool IsButton(int type) {
    return type == kMacroButtonDown || type == kMacroButtonUp;
}

std::string EventWord(int position) {
    return "event " + std::to_string(position + 1);
}

std::optional<std::string> MacroProblem(ActionContext& ctx, int macroId) {
    if (!Db(ctx).IsOpen()) return "no device database is open (no mouse model selected yet)";
    MacroRecord record;
    if (macroId <= 0 || !Db(ctx).GetMacro(macroId, record))
        return "no macro with id " + std::to_string(macroId);
    return std::nullopt;
}

std::optional<std::string> PositionProblem(int macroId, const EventList& list, int position) {
    if (position >= 0 && position < static_cast<int>(list.size())) return std::nullopt;
    if (list.empty()) return "macro " + std::to_string(macroId) + " has no events";
    return EventWord(position) + " does not exist (macro " + std::to_string(macroId) + " has " +
           std::to_string(list.size()) + " events)";
}

}  // namespace

// The partner of a press is the nearest later release of the same kind, id and value, skipping the
// releases of presses nested in between; the other way round for a release.
int MacroEventPartner(const EventList& list, int position) {
    if (position < 0 || position >= static_cast<int>(list.size())) return -1;
    const MacroEventRecord& e = list[position];
    const bool press = IsPress(e.type);
    if (!press && !IsRelease(e.type)) return -1;
    const int partnerType = press ? e.type + 1 : e.type - 1;
    const int step = press ? 1 : -1;
    int depth = 0;
    for (int j = position + step; j >= 0 && j < static_cast<int>(list.size()); j += step) {
        const MacroEventRecord& other = list[j];
        if (other.delay_time != e.delay_time || other.value != e.value) continue;
        if (other.type == e.type) ++depth;
        if (other.type != partnerType) continue;
        if (depth == 0) return j;
        --depth;
    }
    return -1;
}

namespace {

std::optional<std::string> ItemProblem(const MacroEventRecord& item) {
    switch (item.type) {
        case kMacroDelay:
            if (item.value < kMinMacroDelayMs || item.value > kMaxMacroDelayMs)
                return "a delay of " + std::to_string(item.value) + " ms is outside 1-10000 ms";
            return std::nullopt;
        case kMacroKeyDown:
        case kMacroKeyUp:
            if (!IsPlayableMacroKey(item.value)) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "0x%02X", item.value & 0xFFFF);
                return std::string("the key with virtual-key code ") + hex +
                       " has no keyboard code the mouse can send";
            }
            return std::nullopt;
        case kMacroButtonDown:
        case kMacroButtonUp:
            if (MacroButtonName(item.value).empty())
                return "mouse button " + std::to_string(item.value) +
                       " is not one of 1 left, 2 right, 4 middle, 8 back, 16 forward";
            return std::nullopt;
        default:
            return "event type " + std::to_string(item.type) + " is not 1 delay, 2/3 key or 4/5 mouse button";
    }
}

// The buttons that play the macro keep its previous events on the mouse until it is given to them again.
void NoteAssignedButtons(ActionContext& ctx, int macroId, ActionResult& result) {
    const std::string buttons = ButtonsPlayingMacro(ctx, macroId);
    if (buttons.empty()) return;
    AddNote(result, "buttons that play macro " + std::to_string(macroId) + " (" + buttons +
                        ") keep its previous events on the mouse until it is given to them again");
}

// Writes the list as the macro's events: one transaction, rolled back on any failure.
ActionResult Store(ActionContext& ctx, int macroId, EventList list) {
    if (list.size() > kMaxEventsPerMacro)
        return ActionResult::Refused("a macro holds at most " + std::to_string(kMaxEventsPerMacro) +
                                     " events (got " + std::to_string(list.size()) + ")");
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].macro_id = macroId;
        list[i].record_index = static_cast<int>(i);
    }
    bool stored = false;
    {
        DeviceDatabase::Transaction transaction(Db(ctx));
        stored = Db(ctx).DeleteMacroEvents(macroId);
        for (size_t i = 0; stored && i < list.size(); ++i) stored = Db(ctx).AddMacroEvent(list[i]) > 0;
        stored = stored && transaction.Commit();
    }
    if (!stored) {
        ActionResult failed;
        failed.message = "the device database did not store the events of macro " + std::to_string(macroId) +
                         "; its previous events are kept";
        return failed;
    }
    ActionResult result = Accepted();
    NoteAssignedButtons(ctx, macroId, result);
    return result;
}

// Reads the macro's list for an edit; the caller holds the database lock across the edit.
std::optional<std::string> Load(ActionContext& ctx, int macroId, EventList* list) {
    if (auto problem = MacroProblem(ctx, macroId)) return problem;
    Db(ctx).ListMacroEvents(macroId, *list);
    return std::nullopt;
}

void Relabel(MacroEventRecord& e) {
    e.desc = MacroEventText(e.type, e.value);
}

}  // namespace

std::string MacroButtonName(int button) {
    for (const ButtonName& b : kButtonNames) {
        if (b.bit == button) return b.name;
    }
    return {};
}

bool IsPlayableMacroKey(int virtualKey) {
    return virtualKey > 0 && virtualKey <= 0xFF && VirtualKeyToUsage(virtualKey) != 0;
}

std::string MacroEventText(int type, int value) {
    if (type == kMacroDelay) return std::to_string(value) + " ms";
    std::string name;
    if (IsKey(type)) name = value > 0 && value <= 0xFF ? CapturedKeyName(value) : std::string();
    if (IsButton(type)) name = MacroButtonName(value);
    if (name.empty()) return {};
    return (IsPress(type) ? kPressArrow : kReleaseArrow) + name;
}

MacroEventRecord MacroDelayItem(int milliseconds) {
    MacroEventRecord e;
    e.type = kMacroDelay;
    e.value = milliseconds;
    e.desc = MacroEventText(e.type, e.value);
    return e;
}

MacroEventRecord MacroKeyItem(int virtualKey, bool up, int pairId) {
    MacroEventRecord e;
    e.type = up ? kMacroKeyUp : kMacroKeyDown;
    e.value = virtualKey;
    e.delay_time = pairId;
    e.desc = MacroEventText(e.type, e.value);
    return e;
}

MacroEventRecord MacroButtonItem(int button, bool up, int pairId) {
    MacroEventRecord e;
    e.type = up ? kMacroButtonUp : kMacroButtonDown;
    e.value = button;
    e.delay_time = pairId;
    e.desc = MacroEventText(e.type, e.value);
    return e;
}

namespace {

std::vector<MacroEventRecord> PressItems(MacroEventRecord press, MacroEventRecord release, int delayMs) {
    std::vector<MacroEventRecord> items = {press};
    if (delayMs > 0) items.push_back(MacroDelayItem(delayMs));
    items.push_back(release);
    if (delayMs > 0) items.push_back(MacroDelayItem(delayMs));
    return items;
}

}  // namespace

std::vector<MacroEventRecord> MacroKeyPressItems(int virtualKey, int delayMs) {
    return PressItems(MacroKeyItem(virtualKey, false, 1), MacroKeyItem(virtualKey, true, 1), delayMs);
}

std::vector<MacroEventRecord> MacroButtonPressItems(int button, int delayMs) {
    return PressItems(MacroButtonItem(button, false, 1), MacroButtonItem(button, true, 1), delayMs);
}

ActionResult ListMacroEvents(ActionContext& ctx, int macroId, std::vector<MacroEventRecord>* out) {
    auto hold = Db(ctx).Hold();
    EventList list;
    if (auto problem = Load(ctx, macroId, &list)) return ActionResult::Refused(*problem);
    if (out != nullptr) *out = std::move(list);
    return Accepted();
}

ActionResult InsertMacroEvents(ActionContext& ctx, int macroId, int position,
                               std::vector<MacroEventRecord> items, int* firstPosition) {
    if (items.empty()) return ActionResult::Refused("no event to insert");
    for (const MacroEventRecord& item : items) {
        if (auto problem = ItemProblem(item)) return ActionResult::Refused(*problem);
    }
    auto hold = Db(ctx).Hold();
    EventList list;
    if (auto problem = Load(ctx, macroId, &list)) return ActionResult::Refused(*problem);
    const int count = static_cast<int>(list.size());
    if (position == -1) position = count;
    if (position < 0 || position > count)
        return ActionResult::Refused("position " + std::to_string(position + 1) +
                                     " is outside the event list (1-" + std::to_string(count + 1) + ")");
    if (count >= kMacroEventLimit)
        return ActionResult::Refused("macro " + std::to_string(macroId) + " already holds " +
                                     std::to_string(count) + " events; the editor inserts no more beyond " +
                                     std::to_string(kMacroEventLimit));

    MacroPairIds ids(list);
    std::map<int, int> fresh;  // batch pairing id -> new id
    for (MacroEventRecord& item : items) {
        if (item.delay_time == 0) {
            item.delay_time = ids.Next();
        } else {
            auto [it, added] = fresh.try_emplace(item.delay_time, 0);
            if (added) it->second = ids.Next();
            item.delay_time = it->second;
        }
        Relabel(item);
    }
    list.insert(list.begin() + position, items.begin(), items.end());
    ActionResult result = Store(ctx, macroId, std::move(list));
    if (result.ok && firstPosition != nullptr) *firstPosition = position;
    return result;
}

ActionResult TypeMacroText(ActionContext& ctx, int macroId, std::string_view text, int delayMs,
                           int position) {
    if (text.empty()) return ActionResult::Refused("no text to type");
    if (delayMs < 0 || delayMs > kMaxMacroDelayMs)
        return ActionResult::Refused("a typing delay of " + std::to_string(delayMs) +
                                     " ms is outside 0-10000 ms");
    std::vector<MacroEventRecord> items;
    int pair = 0;
    auto add = [&](MacroEventRecord item) {
        items.push_back(std::move(item));
        if (delayMs > 0) items.push_back(MacroDelayItem(delayMs));
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // one Enter for CR LF
        const TextKey key = TextKeyOf(c);
        if (key.virtualKey == 0) {
            // Name the whole character, also when it is several bytes of UTF-8.
            size_t end = i + 1;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
            return ActionResult::Refused(
                "character " + std::to_string(i + 1) + " (\"" + std::string(text.substr(i, end - i)) +
                "\") cannot be typed: letters, digits, blank, tab, line end and the signs "
                "of a US keyboard only");
        }
        const int shiftPair = key.shift ? ++pair : 0;
        const int keyPair = ++pair;
        if (key.shift) add(MacroKeyItem(kTextShiftKey, false, shiftPair));
        add(MacroKeyItem(key.virtualKey, false, keyPair));
        add(MacroKeyItem(key.virtualKey, true, keyPair));
        if (key.shift) add(MacroKeyItem(kTextShiftKey, true, shiftPair));
    }
    return InsertMacroEvents(ctx, macroId, position, std::move(items));
}

ActionResult ChangeMacroEvent(ActionContext& ctx, int macroId, int position, int value) {
    auto hold = Db(ctx).Hold();
    EventList list;
    if (auto problem = Load(ctx, macroId, &list)) return ActionResult::Refused(*problem);
    if (auto problem = PositionProblem(macroId, list, position)) return ActionResult::Refused(*problem);
    MacroEventRecord& item = list[position];
    std::string note;
    if (item.type == kMacroDelay) {
        const int clamped = std::clamp(value, kMinMacroDelayMs, kMaxMacroDelayMs);
        if (clamped != value)
            note = "delay " + std::to_string(value) + " -> " + std::to_string(clamped) + " ms (1-10000)";
        value = clamped;
    } else if (IsKey(item.type) || IsButton(item.type)) {
        MacroEventRecord changed = item;
        changed.value = value;
        if (auto problem = ItemProblem(changed)) return ActionResult::Refused(*problem);
    } else {
        return ActionResult::Refused(EventWord(position) + " has type " + std::to_string(item.type) +
                                     ", which cannot be changed (1 delay, 2/3 key, 4/5 mouse button)");
    }
    const int partner = MacroEventPartner(list, position);
    for (int p : {position, partner}) {
        if (p < 0) continue;
        list[p].value = value;
        Relabel(list[p]);
    }
    ActionResult result = Store(ctx, macroId, std::move(list));
    if (result.ok && !note.empty()) AddNote(result, note);
    return result;
}

ActionResult MoveMacroEvent(ActionContext& ctx, int macroId, int position, MacroMove move, int* newPosition) {
    auto hold = Db(ctx).Hold();
    EventList list;
    if (auto problem = Load(ctx, macroId, &list)) return ActionResult::Refused(*problem);
    if (auto problem = PositionProblem(macroId, list, position)) return ActionResult::Refused(*problem);
    const int partner = MacroEventPartner(list, position);
    // The block that moves: the item, or the pair with what lies between.
    const int first = partner < 0 ? position : std::min(position, partner);
    const int last = partner < 0 ? position : std::max(position, partner);
    const int end = static_cast<int>(list.size()) - 1;
    int moved = position;
    auto at = [&list](int i) { return list.begin() + i; };
    switch (move) {
        case MacroMove::kUp:
            if (first == 0) break;
            std::rotate(at(first - 1), at(first), at(last + 1));
            moved = position - 1;
            break;
        case MacroMove::kDown:
            if (last == end) break;
            std::rotate(at(first), at(last + 1), at(last + 2));
            moved = position + 1;
            break;
        case MacroMove::kTop:
            if (first == 0) break;
            std::rotate(at(0), at(first), at(last + 1));
            moved = position - first;
            break;
        case MacroMove::kBottom:
            if (last == end) break;
            std::rotate(at(first), at(last + 1), list.end());
            moved = position + (end - last);
            break;
    }
    if (newPosition != nullptr) *newPosition = moved;
    if (moved == position) return Accepted();  // already at that end
    return Store(ctx, macroId, std::move(list));
}

ActionResult DeleteMacroEvent(ActionContext& ctx, int macroId, int position) {
    auto hold = Db(ctx).Hold();
    EventList list;
    if (auto problem = Load(ctx, macroId, &list)) return ActionResult::Refused(*problem);
    if (auto problem = PositionProblem(macroId, list, position)) return ActionResult::Refused(*problem);
    const int partner = MacroEventPartner(list, position);
    if (partner >= 0) list.erase(list.begin() + std::max(position, partner));
    list.erase(list.begin() + (partner >= 0 ? std::min(position, partner) : position));
    ActionResult result = Store(ctx, macroId, std::move(list));
    if (result.ok && partner >= 0)
        AddNote(result, EventWord(partner) + " was deleted with it (the other half of the pair)");
    return result;
}

ActionResult ClearMacroEvents(ActionContext& ctx, int macroId) {
    return ReplaceMacroEvents(ctx, macroId, {});
}

ActionResult ReplaceMacroEvents(ActionContext& ctx, int macroId, std::vector<MacroEventRecord> events) {
    auto hold = Db(ctx).Hold();
    if (auto problem = MacroProblem(ctx, macroId)) return ActionResult::Refused(*problem);
    return Store(ctx, macroId, std::move(events));
}

int MacroPlayCountLimit(ActionContext& ctx) {
    return FamilyOf(ctx.core.CurrentDeviceType()) == Family::Feature ? kFeatureFamilyPlayCount
                                                                     : kReportFamilyPlayCount;
}

ActionResult SetMacroPlaySettings(ActionContext& ctx, int macroId, const MacroPlayChange& change) {
    if (!change.playType && !change.playTimes && !change.delayType && !change.delayTime)
        return ActionResult::Refused("no play setting given");
    auto hold = Db(ctx).Hold();
    if (auto problem = MacroProblem(ctx, macroId)) return ActionResult::Refused(*problem);
    MacroRecord macro;
    Db(ctx).GetMacro(macroId, macro);

    const int playType = change.playType.value_or(change.playTimes ? 0 : macro.play_type);
    if (playType < 0 || playType > 2)
        return ActionResult::Refused(
            "play type " + std::to_string(playType) +
            " is not 0 (a count), 1 (repeat while held) or 2 (repeat until pressed again)");
    if (change.playTimes && playType != 0)
        return ActionResult::Refused("a play count goes with play type 0 only");
    const int delayType = change.delayType.value_or(change.delayTime ? 2 : macro.delay_type);
    if (delayType < 0 || delayType > 2)
        return ActionResult::Refused("delay type " + std::to_string(delayType) +
                                     " is not 0 (no delays), 1 (measured delays) or 2 (a fixed delay)");
    if (change.delayTime && delayType != 2)
        return ActionResult::Refused("a fixed delay goes with delay type 2 only");

    ActionResult result = Accepted();
    macro.play_type = playType;
    if (playType == 0) {
        const int limit = MacroPlayCountLimit(ctx);
        const int typed = change.playTimes.value_or(macro.play_times);
        macro.play_times = std::clamp(typed, 1, limit);
        if (macro.play_times != typed)
            AddNote(result, "play count " + std::to_string(typed) + " -> " +
                                std::to_string(macro.play_times) + " (1-" + std::to_string(limit) +
                                " on this mouse)");
    } else {
        macro.play_times = 1;
    }
    macro.delay_type = delayType;
    if (delayType == 2) {
        const int stored = macro.delay_time > 0 ? macro.delay_time : kFixedRecordingDelayMs;
        const int typed = change.delayTime.value_or(stored);
        macro.delay_time = std::clamp(typed, kMinMacroDelayMs, kMaxMacroDelayMs);
        if (macro.delay_time != typed)
            AddNote(result, "fixed delay " + std::to_string(typed) + " -> " +
                                std::to_string(macro.delay_time) + " ms (1-10000)");
    } else {
        macro.delay_time = 0;
    }
    if (!Db(ctx).UpdateMacro(macroId, macro)) {
        ActionResult failed;
        failed.message =
            "the device database did not store the play settings of macro " + std::to_string(macroId);
        return failed;
    }
    NoteAssignedButtons(ctx, macroId, result);
    return result;
}

}  // namespace quorvel
