#include "support/TextConv.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>

#include "platform/Locale.h"
#include "support/Utf8.h"

namespace quorvel {
namespace {

struct NamedCodePage {
    const char* name;
    int codePage;
};

// Declared names as they occur in XML and HTML files, lower case.
const NamedCodePage kNames[] = {
    {"utf-8", kCpUtf8}, {"utf8", kCpUtf8},
    {"utf-16", kCpUtf16Le}, {"utf-16le", kCpUtf16Le}, {"ucs-2", kCpUtf16Le}, {"unicode", kCpUtf16Le},
    {"utf-16be", kCpUtf16Be}, {"unicodefffe", kCpUtf16Be},
    {"gbk", kCpGbk}, {"gb2312", kCpGbk}, {"cp936", kCpGbk}, {"windows-936", kCpGbk}, {"x-gbk", kCpGbk},
    {"euc-cn", kCpGbk}, {"x-euc-cn", kCpGbk}, {"gb18030", 54936},
    {"big5", kCpBig5}, {"big-5", kCpBig5}, {"cp950", kCpBig5}, {"x-x-big5", kCpBig5},
    {"shift_jis", kCpShiftJis}, {"shift-jis", kCpShiftJis}, {"sjis", kCpShiftJis}, {"x-sjis", kCpShiftJis},
    {"windows-31j", kCpShiftJis}, {"cp932", kCpShiftJis}, {"ms_kanji", kCpShiftJis},
    {"euc-jp", 51932}, {"euc-kr", 949}, {"ks_c_5601-1987", 949}, {"cp949", 949}, {"windows-949", 949},
    {"iso-8859-1", kCpIso88591}, {"iso8859-1", kCpIso88591}, {"iso_8859-1", kCpIso88591},
    {"latin1", kCpIso88591}, {"latin-1", kCpIso88591}, {"l1", kCpIso88591},
    {"iso-8859-2", 28592}, {"iso-8859-5", 28595}, {"iso-8859-7", 28597}, {"iso-8859-9", 28599},
    {"iso-8859-15", 28605}, {"koi8-r", 20866}, {"us-ascii", 20127}, {"ascii", 20127},
    {"windows-874", 874}, {"tis-620", 874},
    {"windows-1250", 1250}, {"cp1250", 1250}, {"windows-1251", kCpWindows1251}, {"cp1251", kCpWindows1251},
    {"windows-1252", kCpWindows1252}, {"cp1252", kCpWindows1252}, {"windows-1253", 1253}, {"cp1253", 1253},
    {"windows-1254", 1254}, {"cp1254", 1254}, {"windows-1255", 1255}, {"cp1255", 1255},
    {"windows-1256", 1256}, {"cp1256", 1256}, {"windows-1257", 1257}, {"cp1257", 1257},
    {"windows-1258", 1258}, {"cp1258", 1258},
};

const char* IconvName(int codePage) {
    switch (codePage) {
        case 874: return "CP874";
        case kCpShiftJis: return "CP932";
        case kCpGbk: return "CP936";
        case 949: return "CP949";
        case kCpBig5: return "CP950";
        case 1250: return "CP1250";
        case kCpWindows1251: return "CP1251";
        case kCpWindows1252: return "CP1252";
        case 1253: return "CP1253";
        case 1254: return "CP1254";
        case 1255: return "CP1255";
        case 1256: return "CP1256";
        case 1257: return "CP1257";
        case 1258: return "CP1258";
        case 20127: return "ASCII";
        case 20866: return "KOI8-R";
        case kCpIso88591: return "ISO-8859-1";
        case 28592: return "ISO-8859-2";
        case 28595: return "ISO-8859-5";
        case 28597: return "ISO-8859-7";
        case 28599: return "ISO-8859-9";
        case 28605: return "ISO-8859-15";
        case 51932: return "EUC-JP";
        case 54936: return "GB18030";
        default: return nullptr;
    }
}

void SetOk(bool* ok, bool value) {
    if (ok) *ok = value;
}

// UTF-8 -> UTF-8 with every invalid byte replaced.
std::string CleanUtf8(std::string_view text, bool* ok) {
    std::string out;
    out.reserve(text.size());
    bool clean = true;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp;
        const std::size_t length = DecodeUtf8(text, pos, &cp);
        if (cp == kReplacementChar && length == 1) {
            clean = false;
            AppendUtf8(out, kReplacementChar);
        } else {
            out.append(text.substr(pos, length));
        }
        pos += length;
    }
    SetOk(ok, clean);
    return out;
}

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian, bool* ok) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::string out = Utf16ToUtf8(units);
    bool clean = bytes.size() % 2 == 0 && Utf8ToUtf16(out) == units;
    if (bytes.size() % 2) AppendUtf8(out, kReplacementChar);
    SetOk(ok, clean);
    return out;
}

std::string Utf8ToUtf16Bytes(std::string_view utf8, bool bigEndian, bool* ok) {
    bool clean = true;
    const std::u16string units = Utf8ToUtf16(CleanUtf8(utf8, &clean));
    std::string out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    SetOk(ok, clean);
    return out;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at a sequence it cannot take (*in is left at it).
    bool Run(std::string_view* in, std::string& out) {
        char buffer[4096];
        while (true) {
            char* inPtr = const_cast<char*>(in->data());
            std::size_t inLeft = in->size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, in->empty() ? nullptr : &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            *in = std::string_view(inPtr, inLeft);
            if (result != static_cast<std::size_t>(-1)) {
                if (in->empty()) return true;
                continue;
            }
            if (error == E2BIG) continue;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
            return false;
        }
    }

private:
    iconv_t cd_;
};

}  // namespace

int CodePageFromName(std::string_view name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const NamedCodePage& entry : kNames) {
        if (lower == entry.name) return entry.codePage;
    }
    return kCpUnknown;
}

std::string ToUtf8(std::string_view bytes, int codePage, bool* ok) {
    if (codePage == kCpUtf8) return CleanUtf8(bytes, ok);
    if (codePage == kCpUtf16Le || codePage == kCpUtf16Be) {
        return Utf16BytesToUtf8(bytes, codePage == kCpUtf16Be, ok);
    }
    const char* name = IconvName(codePage);
    Iconv conv("UTF-8", name ? name : "ASCII");
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    bool clean = name != nullptr && conv.valid();
    if (!conv.valid()) {
        // Keep what plain ASCII can say rather than nothing.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) out += c;
            else AppendUtf8(out, kReplacementChar);
        }
        SetOk(ok, false);
        return out;
    }
    std::string_view rest = bytes;
    while (!conv.Run(&rest, out)) {
        clean = false;
        AppendUtf8(out, kReplacementChar);
        rest.remove_prefix(1);
    }
    SetOk(ok, clean);
    return out;
}

std::string FromUtf8(std::string_view utf8, int codePage, bool* ok) {
    if (codePage == kCpUtf8) return CleanUtf8(utf8, ok);
    if (codePage == kCpUtf16Le || codePage == kCpUtf16Be) {
        return Utf8ToUtf16Bytes(utf8, codePage == kCpUtf16Be, ok);
    }
    const char* name = IconvName(codePage);
    Iconv conv(name ? name : "ASCII", "UTF-8");
    bool clean = name != nullptr;
    std::string out;
    out.reserve(utf8.size());
    if (!conv.valid()) {
        for (char c : utf8) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        SetOk(ok, false);
        return out;
    }
    std::string_view rest = utf8;
    while (!conv.Run(&rest, out)) {
        clean = false;
        out += '?';
        char32_t cp;
        rest.remove_prefix(DecodeUtf8(rest, 0, &cp));
    }
    SetOk(ok, clean);
    return out;
}

int AnsiCodePage() { return AnsiCodePageFromLocale(); }

std::string AnsiToUtf8(std::string_view bytes) { return ToUtf8(bytes, AnsiCodePage()); }

std::string Utf8ToAnsi(std::string_view utf8) { return FromUtf8(utf8, AnsiCodePage()); }

std::string Utf8ToGbk(std::string_view utf8) { return FromUtf8(utf8, kCpGbk); }

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp;
        pos += DecodeUtf8(utf8, pos, &cp);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, unit);  // a lone surrogate becomes U+FFFD
        }
    }
    return out;
}

std::size_t Utf8Length(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) {
        char32_t cp;
        pos += DecodeUtf8(utf8, pos, &cp);
    }
    return count;
}

namespace {
// Byte offset of character index n (the end when the text is shorter).
std::size_t OffsetOfChar(std::string_view utf8, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < n && pos < utf8.size(); ++i) {
        char32_t cp;
        pos += DecodeUtf8(utf8, pos, &cp);
    }
    return pos;
}
}  // namespace

std::string Utf8Left(std::string_view utf8, std::size_t n) { return std::string(utf8.substr(0, OffsetOfChar(utf8, n))); }

std::string Utf8Mid(std::string_view utf8, std::size_t start, std::size_t n) {
    const std::string_view rest = utf8.substr(OffsetOfChar(utf8, start));
    return std::string(rest.substr(0, OffsetOfChar(rest, n)));
}

std::string Utf8TruncateBytes(std::string_view utf8, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp;
        const std::size_t length = DecodeUtf8(utf8, pos, &cp);
        if (pos + length > maxBytes) break;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

std::string JoinWithBlank(std::string_view left, std::string_view right) {
    std::string joined(left);
    if (!left.empty() && !right.empty() && left.back() != ' ' && right.front() != ' ') joined += ' ';
    joined += right;
    return joined;
}

}  // namespace quorvel
