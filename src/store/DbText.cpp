#include "store/DbText.h"

#include <cstring>

#include "support/TextConv.h"

namespace quorvel {

std::string ToDbText(std::string_view text) {
    // A name from a Latin-1 file name or argument would otherwise be stored as is and then read back
    // empty: its stray bytes become U+FFFD instead.
    return ToUtf8(text.substr(0, text.find('\0')), kCpUtf8);
}

std::string FromDbText(const char* text) {
    if (text == nullptr) return {};
    std::string_view view(text, std::strlen(text));
    if (!IsValidUtf8(view)) return {};
    return std::string(view);
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF do not convert.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace quorvel
