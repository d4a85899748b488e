#pragma once
// The macro editor's event list: insert, change, move and delete events, type a text, replace the whole
// list, and the play settings. Positions are 0-based here and 1-based in every message.
//
// The list is the macro's rows of t_macrorecord in record_index order; every change writes the whole list
// back with record_index = position, in one store transaction (a failure keeps the old events). Nothing
// goes to the mouse: a macro reaches it when it is given to a button, so buttons that play the macro keep
// its previous events until then (the result's message says so).
//
// Pairing: a press and the release inserted with it share a pairing id (the row's delay_time). The partner
// of a press is the nearest later release of the same kind, id and value; changing, moving or deleting one
// of them does the same to the other.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/ActionResult.h"
#include "store/Records.h"

namespace quorvel {

// `type` of an event row.
enum MacroEventType : int {
    kMacroDelay = 1,    // value: milliseconds
    kMacroKeyDown = 2,  // value: Windows virtual key
    kMacroKeyUp = 3,
    kMacroButtonDown = 4,  // value: one of the MacroButton bits
    kMacroButtonUp = 5,
};

// Mouse buttons of events 4 and 5.
enum MacroButton : int {
    kMacroButtonLeft = 1,
    kMacroButtonRight = 2,
    kMacroButtonMiddle = 4,
    kMacroButtonBack = 8,
    kMacroButtonForward = 16,
};

// The editor refuses an insertion when the list already holds this many items.
inline constexpr int kMacroEventLimit = 200;
// Delays the editor inserts, and the range of a delay typed into it.
inline constexpr int kMacroInsertDelayMs = 10;
inline constexpr int kMinMacroDelayMs = 1;
inline constexpr int kMaxMacroDelayMs = 10000;

// The item text: "%d ms", "↓  %s" / "↑  %s" with the key name (key capture's) or the button name
// ("LB", "RB", "MB", "Backward", "Forward"). Empty for a type or value that has none.
std::string MacroEventText(int type, int value);
// "LB", "RB", ... of a button bit; empty for any other value.
std::string MacroButtonName(int button);
// Whether a macro can hold the key: the mouse has a keyboard code for it.
bool IsPlayableMacroKey(int virtualKey);

// Items to insert. Their pairing ids (delay_time) are relative to the batch: items with the same non-zero
// id become a pair with a fresh id; 0 gives an item a fresh id of its own.
MacroEventRecord MacroDelayItem(int milliseconds);
MacroEventRecord MacroKeyItem(int virtualKey, bool up, int pairId = 0);
MacroEventRecord MacroButtonItem(int button, bool up, int pairId = 0);
// What the editor's insert menu adds: press, delay, release, delay (delayMs 0: no delay items).
std::vector<MacroEventRecord> MacroKeyPressItems(int virtualKey, int delayMs = kMacroInsertDelayMs);
std::vector<MacroEventRecord> MacroButtonPressItems(int button, int delayMs = kMacroInsertDelayMs);

// The position of the item's partner in the list, or -1 (a delay, an unpaired press or release).
int MacroEventPartner(const std::vector<MacroEventRecord>& events, int position);

// The events of a macro, in order.
ActionResult ListMacroEvents(ActionContext& ctx, int macroId, std::vector<MacroEventRecord>* out);

// Inserts the items so that the first lands at `position` (0 .. count; -1 appends), with fresh pairing
// ids. Refused when the list already holds kMacroEventLimit items, when it would exceed the event cap of a
// macro file, or for an item the mouse cannot play (unknown type, a key without a keyboard code, not one
// button, a delay outside 1-10000 ms). *firstPosition gets where the first item landed.
ActionResult InsertMacroEvents(ActionContext& ctx, int macroId, int position,
                               std::vector<MacroEventRecord> items, int* firstPosition = nullptr);

// Types a text on the US layout: each character a press/release pair of its key (wrapped in a Shift pair
// for capitals and shifted signs) with `delayMs` after each item (0: no delays). Letters, digits, the
// blank, tab, line end and the printable ASCII signs; anything else is refused, naming the character.
ActionResult TypeMacroText(ActionContext& ctx, int macroId, std::string_view text,
                           int delayMs = kMacroInsertDelayMs, int position = -1);

// A new value for the item at `position`, read by the item's kind: a delay in ms (clamped to 1-10000, with
// a note), a virtual key for a key event, a button for a mouse event. A key or button change applies to the
// item's partner too. A kind cannot be changed into another (delete and insert instead).
ActionResult ChangeMacroEvent(ActionContext& ctx, int macroId, int position, int value);

enum class MacroMove { kUp, kDown, kTop, kBottom };
// Moves the item (with its partner and what lies between them) one place or to an end. At an end it is
// accepted and nothing changes. *newPosition gets the item's position afterwards.
ActionResult MoveMacroEvent(ActionContext& ctx, int macroId, int position, MacroMove move,
                            int* newPosition = nullptr);

// Deletes the item and its partner (a press never stays without its release).
ActionResult DeleteMacroEvent(ActionContext& ctx, int macroId, int position);
// Deletes every event of the macro.
ActionResult ClearMacroEvents(ActionContext& ctx, int macroId);

// The editor's save: the events become the macro's whole list, record_index = position, macro_id set, the
// other fields as given. One transaction; on any failure the old events stay. Refused beyond the event cap
// of a macro file.
ActionResult ReplaceMacroEvents(ActionContext& ctx, int macroId, std::vector<MacroEventRecord> events);

// Play settings. playType: 0 play `playTimes` times, 1 repeat while held, 2 repeat until pressed again
// (play_times then stored as 1). delayType steers recording: 0 no delays, 1 measured delays, 2 the fixed
// `delayTime` (clamped to 1-10000; 0 stored otherwise). Unset fields keep the stored value; playTimes given
// alone means play type 0.
struct MacroPlayChange {
    std::optional<int> playType = std::nullopt;
    std::optional<int> playTimes = std::nullopt;  // clamped to 1-MacroPlayCountLimit
    std::optional<int> delayType = std::nullopt;
    std::optional<int> delayTime = std::nullopt;
};
ActionResult SetMacroPlaySettings(ActionContext& ctx, int macroId, const MacroPlayChange& change);
// The highest play count of the current mouse: 999 on the report family, 255 on the feature family.
int MacroPlayCountLimit(ActionContext& ctx);

}  // namespace quorvel
