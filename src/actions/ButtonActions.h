#pragma once
// The button assignment page: give a button (key slot) a function, reset one or all buttons, and list
// the buttons with what they do. Assignments go to the core's current profile, layer 0.

#include <optional>
#include <string>
#include <vector>

#include "actions/ActionResult.h"

namespace quorvel {

// One button of the current model.
struct ButtonInfo {
    int keyCode = 0;
    std::string caption;      // language text of the descriptor's name
    std::string description;  // what the button does now, as the button list shows it
    bool assigned = false;    // a stored assignment replaces the default function
    int macroType = 0;        // of the stored assignment, else of the default
    int macroValue = 0;
    int macroValue2 = 0;
};
// The buttons in the descriptor's order (before a descriptor is loaded: the six placeholder buttons).
std::vector<ButtonInfo> ListButtons(ActionContext& ctx);

// A menu item of a function type (mouse 1, media 3, macro 4, DPI 5, special 6, shortcut 8): its value and
// the text the menu shows, which is what an assignment stores as macro_desc.
struct MenuItem {
    int value = 0;
    std::string text;
};
// The menu of a type in menu order; the macro menu lists the macros with their shown names.
std::vector<MenuItem> FunctionMenu(ActionContext& ctx, int macroType);

// The primary button (key code 0) keeps its function: only the resets change it.
bool IsProtectedButton(int keyCode);

// A menu choice for a button. The primary button is protected. A macro choice marks the macro for upload
// with the next key-table write; a macro too long for the mouse (more than 15 packets) is refused. Task 6.
ActionResult AssignMenuFunction(ActionContext& ctx, int keyCode, int macroType, int value);

// A keyboard key with modifiers (kModCtrl, kModShift, kModAlt, kModWin, and the right-hand kModRight*, as
// typed with the key). virtualKey 0: modifiers only (a
// keyName is then ignored). keyName: the name the key field showed; unset: the name key capture gives the
// virtual key. Refused when neither a key nor a modifier is given, or when the key has no keyboard code.
// Task 6.
ActionResult AssignKeyCombination(ActionContext& ctx, int keyCode, int modifierBits, int virtualKey,
                                  std::optional<std::string> keyName = std::nullopt);

// The two-parameter click function: first 5-255, second 0-255, clamped as the panel's edits do. Task 6.
ActionResult AssignClickFunction(ActionContext& ctx, int keyCode, int first, int second);

// The fixed function (type 9, value 1). Task 6.
ActionResult AssignFixedFunction(ActionContext& ctx, int keyCode);

// The button gets its factory function back (its row is removed; the primary button too). Task 6.
ActionResult ResetButton(ActionContext& ctx, int keyCode);

// Every assignment of the profile removed; the mouse gets its default key functions. Task 16.
ActionResult ResetAllButtons(ActionContext& ctx);

}  // namespace quorvel
