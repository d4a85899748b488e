#pragma once
// Element names of the two macro file forms.

#include <string_view>

namespace quorvel {

inline constexpr std::string_view kMacroRoot = "macro";
// Single-macro file: macro > macroinfo, macroitems > item.
inline constexpr std::string_view kSingleInfo = "macroinfo";
inline constexpr std::string_view kSingleEvents = "macroitems";
// Multi-macro file: macro > macro_item > record_item > item.
inline constexpr std::string_view kMultiMacro = "macro_item";
inline constexpr std::string_view kMultiEvents = "record_item";

}  // namespace quorvel
