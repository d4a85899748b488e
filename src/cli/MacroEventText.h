#pragma once
// How quorvelctl names macro events: the words users type (key:a, click:left, delay:50) and how an event
// list is printed.

#include <string>
#include <string_view>
#include <vector>

#include "cli/CliOutput.h"
#include "store/Records.h"

namespace quorvel::cli {

// "key:NAME" press and release, "down:NAME" / "up:NAME" one of them, "click:BUTTON" press and release,
// "press:BUTTON" / "release:BUTTON", "delay:MS". Key names as for 'button ... key:' plus the modifier keys
// (shift, rshift, ctrl, rctrl, alt, ralt, lwin, rwin); buttons left, right, middle, back, forward. Pairs get
// `delayMs` after each item (0: none). False with *error for anything else.
bool ParseMacroEventWord(std::string_view word, int delayMs, std::vector<MacroEventRecord>* items,
                         std::string* error);

// A new value for an event of a kind: "delay:MS", "key:NAME" or "button:NAME". *kind gets the event type
// family it fits (1 delay, 2 key, 4 button).
bool ParseMacroEventValue(std::string_view word, int* kind, int* value, std::string* error);

// Virtual key of a key name, the modifier keys included; 0 when unknown.
int MacroKeyFromName(std::string_view name);
// Button bit of a name; 0 when unknown.
int MacroButtonFromName(std::string_view name);

// "plays 3 times, records measured delays" and the like.
std::string MacroPlayText(const MacroRecord& macro);

// "key down", "delay", ... of an event type.
std::string MacroEventKind(int type);

// The events as JSON (1-based position, the stored fields, the kind and the partner's position) and as
// text lines of a table.
Json MacroEventsJson(const std::vector<MacroEventRecord>& events);
std::vector<std::string> MacroEventLines(const std::vector<MacroEventRecord>& events);

}  // namespace quorvel::cli
