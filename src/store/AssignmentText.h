#pragma once
// Display texts of button assignments. Language texts are looked up through the caller's function, so
// the same code serves the GUI, the command line and tests.

#include <functional>
#include <string>
#include <string_view>

#include "store/Records.h"

namespace quorvel {

// text(id) of section "LAN" of the current language.
using TextLookup = std::function<std::string(int id)>;

// The text shown for an assignment in the current language (lcid).
std::string DescribeAssignment(const KeyAssignmentRecord& record, const TextLookup& text, int lcid);

// A macro name made in another language, re-worded for `lcid`: a default-name prefix of another language
// becomes `customPrefix` (text 351), a trailing copy word of another language becomes this language's,
// with one blank before it.
std::string RelocaliseMacroName(std::string_view name, int lcid, std::string_view customPrefix);

// "Shift+ Ctrl + A": modifier words in the order Shift, Ctrl, Win, Alt, then the key name.
std::string KeyCombinationText(int modifierBits, std::string_view keyName);

}  // namespace quorvel
