#include "platform/Locale.h"

#include <cctype>
#include <cstdlib>

namespace quorvel {
namespace {

struct LocaleParts {
    std::string language;   // lower case, e.g. "zh"
    std::string territory;  // upper case, e.g. "CN"; empty when not given
};

// "zh_CN.UTF-8@latin" -> {"zh", "CN"}; also accepts "zh-CN".
LocaleParts SplitLocaleName(std::string_view name) {
    const std::size_t cut = name.find_first_of(".@");
    if (cut != std::string_view::npos) name = name.substr(0, cut);
    LocaleParts parts;
    const std::size_t sep = name.find_first_of("_-");
    const std::string_view language = name.substr(0, sep);
    for (char c : language) parts.language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (sep != std::string_view::npos) {
        for (char c : name.substr(sep + 1)) {
            parts.territory += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return parts;
}

// "de_DE.UTF-8@euro", "C.utf8": the character set named after the dot is UTF-8.
bool IsUtf8Codeset(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return false;
    std::string_view codeset = name.substr(dot + 1);
    codeset = codeset.substr(0, codeset.find('@'));
    std::string normal;
    for (char c : codeset) {
        if (c != '-' && c != '_') normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return normal == "utf8";
}

struct Entry {
    const char* language;
    const char* territory;  // nullptr: any territory
    int value;
};

int Lookup(const Entry* table, const LocaleParts& parts, int fallback) {
    for (const Entry* e = table; e->language; ++e) {
        if (parts.language == e->language && (!e->territory || parts.territory == e->territory)) return e->value;
    }
    return fallback;
}

// Territory-specific rows stand before the row for the whole language.
const Entry kCodePages[] = {
    {"zh", "TW", 950}, {"zh", "HK", 950}, {"zh", "MO", 950}, {"zh", nullptr, 936},
    {"ja", nullptr, 932}, {"ko", nullptr, 949}, {"th", nullptr, 874},
    {"ru", nullptr, 1251}, {"uk", nullptr, 1251}, {"be", nullptr, 1251}, {"bg", nullptr, 1251},
    {"mk", nullptr, 1251}, {"kk", nullptr, 1251}, {"sr", nullptr, 1251},
    {"pl", nullptr, 1250}, {"cs", nullptr, 1250}, {"sk", nullptr, 1250}, {"hu", nullptr, 1250},
    {"ro", nullptr, 1250}, {"sl", nullptr, 1250}, {"hr", nullptr, 1250}, {"bs", nullptr, 1250},
    {"sq", nullptr, 1250},
    {"el", nullptr, 1253}, {"tr", nullptr, 1254}, {"az", nullptr, 1254}, {"he", nullptr, 1255},
    {"ar", nullptr, 1256}, {"fa", nullptr, 1256}, {"ur", nullptr, 1256},
    {"et", nullptr, 1257}, {"lv", nullptr, 1257}, {"lt", nullptr, 1257}, {"vi", nullptr, 1258},
    {nullptr, nullptr, 0},
};

const Entry kLanguages[] = {
    {"en", "GB", 2057}, {"en", "AU", 3081}, {"en", "CA", 4105}, {"en", "NZ", 5129}, {"en", "IE", 6153},
    {"en", "ZA", 7177}, {"en", "IN", 16393}, {"en", nullptr, 1033},
    {"zh", "TW", 1028}, {"zh", "HK", 1028}, {"zh", "MO", 1028}, {"zh", nullptr, 2052},
    {"ja", nullptr, 1041}, {"ko", nullptr, 1042}, {"ru", nullptr, 1049},
    {"de", "AT", 3079}, {"de", "CH", 2055}, {"de", nullptr, 1031},
    {"fr", "CA", 3084}, {"fr", "BE", 2060}, {"fr", "CH", 4108}, {"fr", nullptr, 1036},
    {"es", "MX", 2058}, {"es", nullptr, 3082},
    {"pt", "BR", 1046}, {"pt", nullptr, 2070},
    {"it", nullptr, 1040}, {"nl", "BE", 2067}, {"nl", nullptr, 1043},
    {"pl", nullptr, 1045}, {"cs", nullptr, 1029}, {"sk", nullptr, 1051}, {"hu", nullptr, 1038},
    {"ro", nullptr, 1048}, {"sl", nullptr, 1060}, {"hr", nullptr, 1050}, {"bg", nullptr, 1026},
    {"uk", nullptr, 1058}, {"be", nullptr, 1059}, {"kk", nullptr, 1087}, {"el", nullptr, 1032},
    {"tr", nullptr, 1055}, {"he", nullptr, 1037}, {"ar", nullptr, 1025}, {"fa", nullptr, 1065},
    {"th", nullptr, 1054}, {"vi", nullptr, 1066}, {"id", nullptr, 1057}, {"ms", nullptr, 1086},
    {"hi", nullptr, 1081}, {"sv", nullptr, 1053}, {"da", nullptr, 1030}, {"nb", nullptr, 1044},
    {"no", nullptr, 1044}, {"nn", nullptr, 2068}, {"fi", nullptr, 1035}, {"is", nullptr, 1039},
    {"et", nullptr, 1061}, {"lv", nullptr, 1062}, {"lt", nullptr, 1063}, {"ca", nullptr, 1027},
    {"eu", nullptr, 1069}, {"gl", nullptr, 1110},
    {nullptr, nullptr, 0},
};

std::string FirstSet(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace

int AnsiCodePageForLocaleName(std::string_view localeName) {
    // A UTF-8 locale writes its files, names and arguments in UTF-8: reading them in the language's
    // legacy code page would turn "Profilé" into "ProfilÃ©".
    if (IsUtf8Codeset(localeName)) return 65001;
    return Lookup(kCodePages, SplitLocaleName(localeName), 1252);
}

int LcidForLocaleName(std::string_view localeName) {
    return Lookup(kLanguages, SplitLocaleName(localeName), 1033);
}

std::string CharacterLocaleName() { return FirstSet({"LC_ALL", "LC_CTYPE", "LANG"}); }

std::string MessageLocaleName() { return FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"}); }

int AnsiCodePageFromLocale() { return AnsiCodePageForLocaleName(CharacterLocaleName()); }

int UserUiLanguage() { return LcidForLocaleName(MessageLocaleName()); }

}  // namespace quorvel
