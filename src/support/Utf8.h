#pragma once
// Low-level UTF-8 stepping shared by the text helpers and the XML reader.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the character at text[pos] (pos < text.size()). Returns its length in bytes; an invalid or cut
// sequence counts as one byte and yields U+FFFD, so every byte belongs to exactly one character.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t* codePoint);
// Appends a code point (U+FFFD for surrogates and values above U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace quorvel
