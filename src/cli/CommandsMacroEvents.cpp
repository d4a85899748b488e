// macro events | add | type | change | move | delete-event | clear | play: a macro's event list and play
// settings, through the macro editor's actions. Nothing here talks to the mouse.

#include <algorithm>

#include "actions/MacroActions.h"
#include "actions/MacroEventActions.h"
#include "cli/Commands.h"
#include "cli/MacroEventText.h"

namespace quorvel::cli {

namespace {

struct EventCommand {
    const char* name;
    size_t minWords, maxWords;  // after the sub-command, options not counted
    std::set<std::string> options;
};

const EventCommand kEventCommands[] = {
    {"events", 1, 1, {}},
    {"add", 2, 64, {"at", "delay"}},
    {"type", 2, 2, {"at", "delay"}},
    {"change", 3, 3, {}},
    {"move", 3, 3, {}},
    {"delete-event", 2, 2, {}},
    {"clear", 1, 1, {}},
    {"play", 1, 1, {"times", "mode", "record-delays", "fixed-delay"}},
};

const EventCommand* FindEventCommand(const std::string& name) {
    for (const EventCommand& c : kEventCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

// A 1-based number from the command line, within [1, max].
bool Number(Invocation& inv, const std::string& word, const std::string& what, int* out, int* exit) {
    if (!ParseInt(word, out) || *out < 1) {
        *exit = inv.Usage("\"" + word + "\" is not " + what);
        return false;
    }
    return true;
}

Json MacroJson(ActionContext& ctx, int id) {
    MacroDetails details;
    if (!ShowMacro(ctx, id, &details).ok) return Json::object();
    const MacroRecord& m = details.info.macro;
    return {{"macro_id", m.macro_id},
            {"name", m.name},
            {"shown_name", details.info.shownName},
            {"play_type", m.play_type},
            {"play_times", m.play_times},
            {"delay_type", m.delay_type},
            {"delay_time", m.delay_time}};
}

// The macro after an edit: its events (and play settings) in the change output.
int FinishEdit(Invocation& inv, int id, const ActionResult& result) {
    ActionContext& ctx = inv.session.Context();
    std::vector<MacroEventRecord> events;
    ListMacroEvents(ctx, id, &events);
    std::vector<std::string> lines;
    MacroDetails details;
    if (result.ok && ShowMacro(ctx, id, &details).ok)
        lines.push_back("macro " + std::to_string(id) + " (" + details.info.shownName + ") " +
                        MacroPlayText(details.info.macro));
    if (result.ok) {
        lines.push_back("macro " + std::to_string(id) + " has " + std::to_string(events.size()) + " events");
        for (const std::string& line : MacroEventLines(events)) lines.push_back("  " + line);
    }
    return inv.session.FinishAction(
        result, {{"macro", MacroJson(ctx, id)}, {"events", MacroEventsJson(events)}}, lines);
}

int ListEvents(Invocation& inv, int id) {
    std::vector<MacroEventRecord> events;
    const ActionResult result = ListMacroEvents(inv.session.Context(), id, &events);
    if (!result.ok) {
        PrintError(result.message);
        return kExitFailed;
    }
    if (inv.session.JsonOutput()) {
        PrintJson(MacroEventsJson(events));
        return kExitOk;
    }
    for (const std::string& line : MacroEventLines(events)) PrintLine(line);
    return kExitOk;
}

// Pair ids of one word's items are relative to that word: shift them so that words do not share pairs.
void AppendWordItems(std::vector<MacroEventRecord> word, int* pairBase,
                     std::vector<MacroEventRecord>* items) {
    int highest = 0;
    for (MacroEventRecord& e : word) {
        if (e.delay_time != 0) {
            highest = std::max(highest, e.delay_time);
            e.delay_time += *pairBase;
        }
        items->push_back(e);
    }
    *pairBase += highest;
}

struct PlayMode {
    const char* name;
    int playType;
};
constexpr PlayMode kPlayModes[] = {{"count", 0}, {"held", 1}, {"toggle", 2}};
constexpr PlayMode kRecordDelays[] = {{"none", 0}, {"measured", 1}, {"fixed", 2}};

bool Choice(Invocation& inv, const char* option, const PlayMode (&choices)[3], std::optional<int>* out,
            int* exit) {
    const auto text = inv.args.Value(option);
    if (!text) return true;
    for (const PlayMode& c : choices) {
        if (*text == c.name) {
            *out = c.playType;
            return true;
        }
    }
    *exit = inv.Usage(std::string("--") + option + " is one of " + choices[0].name + ", " + choices[1].name +
                      ", " + choices[2].name);
    return false;
}

}  // namespace

bool IsMacroEventCommand(const std::string& sub) {
    return FindEventCommand(sub) != nullptr;
}

int RunMacroEventCommand(Invocation& inv, const std::string& sub) {
    const EventCommand& shape = *FindEventCommand(sub);
    int exit = kExitOk;
    if (!inv.Parse(shape.options, {}, shape.minWords + 1, shape.maxWords + 1, &exit)) return exit;
    const std::vector<std::string> words(inv.args.Positional().begin() + 1, inv.args.Positional().end());
    int id = 0;
    if (!Number(inv, words[0], "a macro id", &id, &exit)) return exit;
    int at = 0;  // 1-based; 0: append
    if (auto text = inv.args.Value("at"); text && !Number(inv, *text, "an event position", &at, &exit))
        return exit;
    int delay = kMacroInsertDelayMs;
    if (auto text = inv.args.Value("delay")) {
        if (!ParseInt(*text, &delay) || delay < 0 || delay > kMaxMacroDelayMs)
            return inv.Usage("--delay is 0-10000 ms (0: no delays between the events)");
    }

    // Everything the command line can get wrong is checked before the database is opened.
    std::vector<MacroEventRecord> items;
    int position = 0, kind = 0, value = 0;
    MacroMove move = MacroMove::kUp;
    MacroPlayChange play;
    std::string error;
    if (sub == "add") {
        int pairBase = 0;
        for (size_t i = 1; i < words.size(); ++i) {
            std::vector<MacroEventRecord> word;
            if (!ParseMacroEventWord(words[i], delay, &word, &error)) return inv.Usage(error);
            AppendWordItems(std::move(word), &pairBase, &items);
        }
    }
    if (sub == "type" && words[1].empty()) return inv.Usage("no text to type");
    if (sub == "change" || sub == "move" || sub == "delete-event") {
        if (!Number(inv, words[1], "an event number", &position, &exit)) return exit;
    }
    if (sub == "change" && !ParseMacroEventValue(words[2], &kind, &value, &error)) return inv.Usage(error);
    if (sub == "move") {
        const std::string& where = words[2];
        if (where == "up")
            move = MacroMove::kUp;
        else if (where == "down")
            move = MacroMove::kDown;
        else if (where == "top")
            move = MacroMove::kTop;
        else if (where == "bottom")
            move = MacroMove::kBottom;
        else
            return inv.Usage("\"" + where + "\" is not up, down, top or bottom");
    }
    if (sub == "play") {
        if (!Choice(inv, "mode", kPlayModes, &play.playType, &exit)) return exit;
        if (!Choice(inv, "record-delays", kRecordDelays, &play.delayType, &exit)) return exit;
        for (const char* option : {"times", "fixed-delay"}) {
            const auto text = inv.args.Value(option);
            int number = 0;
            if (!text) continue;
            if (!ParseInt(*text, &number)) return inv.Usage(std::string("--") + option + " needs a number");
            (std::string(option) == "times" ? play.playTimes : play.delayTime) = number;
        }
        if (!play.playType && !play.playTimes && !play.delayType && !play.delayTime)
            return inv.Usage("give at least one of --times, --mode, --record-delays, --fixed-delay");
    }

    if (int rc = inv.session.Open(Need::kDatabase)) return rc;
    ActionContext& ctx = inv.session.Context();
    if (sub == "events") return ListEvents(inv, id);
    if (sub == "add") return FinishEdit(inv, id, InsertMacroEvents(ctx, id, at - 1, std::move(items)));
    if (sub == "type") return FinishEdit(inv, id, TypeMacroText(ctx, id, words[1], delay, at - 1));
    if (sub == "delete-event") return FinishEdit(inv, id, DeleteMacroEvent(ctx, id, position - 1));
    if (sub == "clear") return FinishEdit(inv, id, ClearMacroEvents(ctx, id));
    if (sub == "play") return FinishEdit(inv, id, SetMacroPlaySettings(ctx, id, play));
    if (sub == "move") return FinishEdit(inv, id, MoveMacroEvent(ctx, id, position - 1, move));

    // change: the new value must be of the event's kind.
    std::vector<MacroEventRecord> events;
    ActionResult result = ListMacroEvents(ctx, id, &events);
    if (result.ok && position <= static_cast<int>(events.size())) {
        const int type = events[position - 1].type;
        const int eventKind = type == kMacroKeyUp      ? kMacroKeyDown
                              : type == kMacroButtonUp ? kMacroButtonDown
                                                       : type;
        const bool editable =
            eventKind == kMacroDelay || eventKind == kMacroKeyDown || eventKind == kMacroButtonDown;
        if (editable && eventKind != kind)
            result =
                ActionResult::Refused("event " + std::to_string(position) + " is a " + MacroEventKind(type) +
                                      (eventKind == kMacroDelay     ? "; give delay:MS"
                                       : eventKind == kMacroKeyDown ? "; give key:NAME"
                                                                    : "; give button:NAME"));
    }
    if (result.ok) result = ChangeMacroEvent(ctx, id, position - 1, value);
    return FinishEdit(inv, id, result);
}

}  // namespace quorvel::cli
