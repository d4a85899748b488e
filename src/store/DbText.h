#pragma once
// Texts at the boundary of a data operation. The database holds UTF-8, as the program does in memory.

#include <string>
#include <string_view>

namespace quorvel {

// The bytes stored for a text: everything up to the first zero character, as valid UTF-8 (bytes that are
// not part of a UTF-8 character become U+FFFD).
std::string ToDbText(std::string_view text);
// A text column: null, empty or not valid UTF-8 reads as the empty string.
std::string FromDbText(const char* text);
bool IsValidUtf8(std::string_view text);

}  // namespace quorvel
