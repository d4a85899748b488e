#include "shell/ProductConfig.h"

#include <climits>
#include <cstdint>

#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Blanks, sign, digits of the base up to the first other character; saturates at the int range as the
// C library does on overflow.
int ParseNumber(std::string_view text, int base) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16) {
        i += 2;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = DigitValue(text[i]);
        if (digit >= base) break;
        value = value * base + digit;
        if (value > limit) value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

DeviceEntry ReadMouse(const XmlDoc& doc, const std::string& imageFolder) {
    DeviceEntry entry;
    entry.name = doc.GetAttribute("name");
    entry.device_type = ParseDec(doc.GetAttribute("device_type"));
    entry.device_attr = doc.GetAttribute("device_attr");
    entry.image = imageFolder + doc.GetAttribute("image");
    return entry;
}

void ReadMode(const XmlDoc& doc, DeviceEntry* entry) {
    entry->mode = ParseDec(doc.GetAttribute("value"));
    entry->desc = doc.GetAttribute("desc");
    entry->vid = ParseHex(doc.GetAttribute("vid"));
    entry->pid = ParseHex(doc.GetAttribute("pid"));
    entry->dev_id = doc.GetAttribute("dev_id");
    entry->hid_interface = doc.GetAttribute("hid_interface");
}

}  // namespace

int ParseDec(std::string_view text) { return ParseNumber(text, 10); }
int ParseHex(std::string_view text) { return ParseNumber(text, 16); }

bool ReadStartupConfig(const std::string& programDir, StartupConfig* out) {
    *out = StartupConfig{};
    XmlDoc doc;
    if (!doc.LoadFile(JoinPath(programDir, "config.xml"))) return false;
    if (!doc.FindNext("config") || !doc.Descend()) return true;
    if (doc.FindNext("language.info")) {
        out->hasLanguageInfo = true;
        out->defaultLanguage = ParseDec(doc.GetAttribute("default_lan"));
        if (doc.Descend()) {
            while (doc.FindNext("lan")) out->languages.insert(ParseDec(doc.GetAttribute("value")));
            doc.Ascend();
        }
    }
    if (doc.FindNext("software")) {
        out->hasCaption = true;
        out->caption = doc.GetAttribute("caption");
    }
    return true;
}

bool RunStartupPass(const std::string& programDir) {
    StartupConfig config;
    bool ok = ReadStartupConfig(programDir, &config);
    SetOfferedLanguages(config.languages);
    if (config.hasLanguageInfo) SetCurrentLanguage(config.defaultLanguage);
    if (config.hasCaption) SetDeviceName(config.caption);
    return ok;
}

std::string SkinImageFolder(const std::string& programDir, const std::string& theme) {
    return JoinPath(programDir, "skins/") + theme + (theme.empty() ? "" : "/") + "device/";
}

bool ReadProductConfig(const std::string& programDir, const std::string& imageFolder, ProductConfig* out) {
    *out = ProductConfig{};
    XmlDoc doc;
    if (!doc.LoadFile(JoinPath(programDir, "config.xml"))) return false;
    if (!doc.FindNext("config") || !doc.Descend()) return true;
    if (doc.FindNext("device") && doc.Descend()) {
        while (doc.FindNext("mouse")) {
            DeviceEntry entry = ReadMouse(doc, imageFolder);
            out->models.push_back(entry);
            if (doc.Descend()) {
                // Each mode overwrites the previous mode's fields in the same entry.
                while (doc.FindNext("mode")) {
                    ReadMode(doc, &entry);
                    out->modes.push_back(entry);
                }
                doc.Ascend();
            }
        }
        doc.Ascend();
    }
    if (!doc.FindNext("software")) return true;
    out->version = doc.GetAttribute("version");
    if (doc.Descend()) {
        struct Address {
            const char* element;
            std::string* field;
        };
        const Address addresses[] = {{"website", &out->website},
                                     {"feedback", &out->feedback},
                                     {"qa", &out->qa},
                                     {"store", &out->store},
                                     {"upgrade", &out->upgrade}};
        for (const Address& address : addresses) {
            if (doc.FindNext(address.element)) *address.field = doc.GetAttribute("url");
        }
        doc.Ascend();
    }
    return true;
}

const DeviceEntry* FindModel(const ProductConfig& config, int deviceType) {
    for (const DeviceEntry& model : config.models) {
        if (model.device_type == deviceType) return &model;
    }
    return nullptr;
}

}  // namespace quorvel
