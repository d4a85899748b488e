#include "support/XmlEncoding.h"

#include <algorithm>
#include <cctype>

#include "support/TextConv.h"

namespace quorvel {
namespace {

constexpr std::size_t kHeadBytes = 1024;

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0) {
    if (from > text.size()) return std::string_view::npos;
    const auto it = std::search(text.begin() + from, text.end(), what.begin(), what.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ':';
}

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    return pos;
}

// Reads `= "value"` (quotes optional) at pos inside tag; empty when malformed.
std::string_view ValueAfter(std::string_view tag, std::size_t pos, bool needEquals) {
    pos = SkipSpace(tag, pos);
    if (needEquals) {
        if (pos >= tag.size() || tag[pos] != '=') return {};
        pos = SkipSpace(tag, pos + 1);
    }
    if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) ++pos;
    std::size_t end = pos;
    while (end < tag.size() && IsNameChar(tag[end])) ++end;
    return tag.substr(pos, end - pos);
}

// The XML declaration found from `from` on ("<?xml" followed by a blank; not "<?xml-stylesheet").
std::size_t FindXmlDeclaration(std::string_view head, std::size_t from = 0) {
    for (std::size_t at = head.find("<?xml", from); at != std::string_view::npos; at = head.find("<?xml", at + 5)) {
        if (at + 5 < head.size() && std::isspace(static_cast<unsigned char>(head[at + 5]))) return at;
    }
    return std::string_view::npos;
}

int FromXmlDeclaration(std::string_view head, std::size_t start) {
    if (start == std::string_view::npos) return kCpUnknown;
    const std::size_t end = head.find("?>", start);
    const std::string_view decl = head.substr(start, end == std::string_view::npos ? end : end - start);
    const std::size_t attr = decl.find("encoding");
    if (attr == std::string_view::npos) return kCpUnknown;
    return CodePageFromName(ValueAfter(decl, attr + 8, true));
}

int FromMetaCharset(std::string_view head) {
    for (std::size_t meta = FindNoCase(head, "<meta"); meta != std::string_view::npos;
         meta = FindNoCase(head, "<meta", meta + 5)) {
        const std::size_t close = head.find('>', meta);
        const std::string_view tag = head.substr(meta, close == std::string_view::npos ? close : close - meta);
        const std::size_t charset = FindNoCase(tag, "charset");
        if (charset == std::string_view::npos) continue;
        const int codePage = CodePageFromName(ValueAfter(tag, charset + 7, true));
        if (codePage != kCpUnknown) return codePage;
    }
    return kCpUnknown;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

}  // namespace

int DeclaredCodePage(std::string_view text, bool allowMeta) {
    const std::string_view head = text.substr(0, kHeadBytes);
    const int codePage = FromXmlDeclaration(head, FindXmlDeclaration(head));
    if (codePage != kCpUnknown || !allowMeta) return codePage;
    return FromMetaCharset(head);
}

int DocumentCodePage(std::string_view text) {
    const std::string_view head = text.substr(0, kHeadBytes);
    const std::size_t start = SkipSpace(head, 0);
    return FindXmlDeclaration(head, start) == start ? FromXmlDeclaration(head, start) : kCpUnknown;
}

std::string DecodeXmlBytes(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return ToUtf8(bytes.substr(3), kCpUtf8);
    if (StartsWith(bytes, "\xFF\xFE")) return ToUtf8(bytes.substr(2), kCpUtf16Le);
    if (StartsWith(bytes, "\xFE\xFF")) return ToUtf8(bytes.substr(2), kCpUtf16Be);
    int codePage = DeclaredCodePage(bytes, true);
    // A declaration legible as single bytes means the file is not UTF-16, whatever it says.
    if (codePage == kCpUtf16Le || codePage == kCpUtf16Be) codePage = kCpUtf8;
    if (codePage == kCpUnknown) codePage = !bytes.empty() && bytes[0] == '<' ? kCpUtf8 : AnsiCodePage();
    return ToUtf8(bytes, codePage);
}

}  // namespace quorvel
