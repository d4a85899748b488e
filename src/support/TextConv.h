#pragma once
// Text conversions. In memory every text is UTF-8 (std::string); rules that count characters count code
// points with the Utf8* helpers, never bytes. Code pages are Windows code page numbers, converted with iconv.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

enum CodePage : int {
    kCpUnknown = 0,
    kCpShiftJis = 932,
    kCpGbk = 936,
    kCpBig5 = 950,
    kCpUtf16Le = 1200,
    kCpUtf16Be = 1201,
    kCpWindows1251 = 1251,
    kCpWindows1252 = 1252,
    kCpIso88591 = 28591,
    kCpUtf8 = 65001,
};

// Maps a declared encoding name ("UTF-8", "gb2312", "ISO-8859-1", "windows-1252", ...; any case) to a code
// page; kCpUnknown when the name is not known.
int CodePageFromName(std::string_view name);

// Bytes in a code page -> UTF-8. Invalid sequences become U+FFFD; *ok (when given) is false then.
std::string ToUtf8(std::string_view bytes, int codePage, bool* ok = nullptr);
// UTF-8 -> bytes in a code page. Characters the code page lacks become '?'; *ok is false then.
std::string FromUtf8(std::string_view utf8, int codePage, bool* ok = nullptr);

// The system's ANSI code page (from the locale, as Windows would set it) and conversions through it.
int AnsiCodePage();
std::string AnsiToUtf8(std::string_view bytes);
std::string Utf8ToAnsi(std::string_view utf8);
// Trace lines carry their Chinese texts as GBK bytes.
std::string Utf8ToGbk(std::string_view utf8);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Character (code point) rules on UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);
// The first n characters.
std::string Utf8Left(std::string_view utf8, std::size_t n);
// Characters from position start (0-based), at most n of them.
std::string Utf8Mid(std::string_view utf8, std::size_t start, std::size_t n = std::string::npos);
// Cuts UTF-8 text at a byte limit without splitting a character.
std::string Utf8TruncateBytes(std::string_view utf8, std::size_t maxBytes);
// Two words of a shown name with one blank between them: none is added when either is empty or the blank
// is already there ("Profile" + " 1" is "Profile 1", not "Profile  1").
std::string JoinWithBlank(std::string_view left, std::string_view right);

}  // namespace quorvel
