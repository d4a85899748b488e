#include "store/AssignmentText.h"

#include <initializer_list>

#include "store/ButtonCodes.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

struct LanguageWords {
    int lcid;
    std::initializer_list<std::string_view> prefixes;   // default-name prefixes of the other languages
    std::initializer_list<std::string_view> copyWords;  // copy words of the other languages
    std::string_view copyWord;                          // this language's copy word
};

const LanguageWords kLanguages[] = {
    {2052, {"Custom", "自定義", "カスタム", "Пользоват"}, {"Copy", "複製", "Копировать"}, "复制"},
    {1033, {"自定义", "自定義", "カスタム", "Пользоват"}, {"复制", "複製", "Копировать"}, "Copy"},
    {1028, {"自定义", "Custom", "カスタム", "Пользоват"}, {"复制", "Copy", "Копировать"}, "複製"},
    {1041, {"自定义", "Custom", "自定義", "Пользоват"}, {"复制", "Copy", "Копировать"}, "複製"},
    {1049, {"自定义", "Custom", "自定義", "カスタム"}, {"复制", "Copy"}, "Копировать"},
};

}  // namespace

std::string RelocaliseMacroName(std::string_view name, int lcid, std::string_view customPrefix) {
    const LanguageWords* words = nullptr;
    for (const LanguageWords& entry : kLanguages) {
        if (entry.lcid == lcid) words = &entry;
    }
    std::string result(name);
    if (words == nullptr) return result;
    // Whole UTF-8 sequences are compared, so a match never splits a character.
    for (std::string_view prefix : words->prefixes) {
        if (result.starts_with(prefix)) {
            result = std::string(customPrefix) + result.substr(prefix.size());
            break;
        }
    }
    for (std::string_view word : words->copyWords) {
        if (result.ends_with(word)) {
            // The blank kept before the old word serves the new one: a copy name never shows two.
            result = JoinWithBlank(result.substr(0, result.find(word)), words->copyWord);
            break;
        }
    }
    return result;
}

std::string KeyCombinationText(int modifierBits, std::string_view keyName) {
    std::string modifiers;
    auto add = [&](int bit, std::string_view word) {
        if ((modifierBits & bit) == 0) return;
        if (modifiers.empty()) {
            modifiers = std::string(word);
        } else {
            modifiers += "+ ";
            modifiers += word;
        }
    };
    add(kModShift, "Shift");
    add(kModRightShift, "RShift");
    add(kModCtrl, "Ctrl");
    add(kModRightCtrl, "RCtrl");
    add(kModWin, "Win");
    add(kModRightWin, "RWin");
    add(kModAlt, "Alt");
    add(kModRightAlt, "RAlt");
    if (!modifiers.empty() && !keyName.empty()) return modifiers + " + " + std::string(keyName);
    return modifiers.empty() ? std::string(keyName) : modifiers;
}

std::string DescribeAssignment(const KeyAssignmentRecord& record, const TextLookup& text, int lcid) {
    switch (record.macro_type) {
        case kFixedFunction:
            return text(139);
        case kClickFunction:
            return text(161);
        case kMacroFunction:
            return RelocaliseMacroName(record.macro_desc, lcid, text(351));
        case kMouseFunction:
        case kMediaFunction:
        case kShortcutFunction:
        case kSpecialFunction: {
            const FunctionValue* entry = FindFunctionValue(record.macro_type, record.macro_value);
            // Special value 2 has no text of its own here and keeps what was stored.
            bool hasText = entry != nullptr && entry->textId != 0 &&
                           !(record.macro_type == kSpecialFunction && record.macro_value == 2);
            return hasText ? text(entry->textId) : record.macro_desc;
        }
        default:
            return record.macro_desc;
    }
}

}  // namespace quorvel
