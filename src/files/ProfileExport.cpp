// Profile export: the document is built from the database under its lock, then written without it.

#include <string>
#include <vector>

#include "files/FileProblem.h"
#include "files/ProfileFields.h"
#include "files/ProfileFile.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

void SetInt(XmlDoc& doc, std::string_view name, int value) { doc.SetAttribute(name, std::to_string(value)); }

std::string Config(DeviceDatabase& db, int profile, std::string_view key) {
    std::string value;
    db.GetConfig(profile, key, value);  // a missing row is written as an empty text
    return value;
}

void AddKeyItems(XmlDoc& doc, DeviceDatabase& db, int profile) {
    doc.AddElement("keyitems");
    doc.Descend();
    std::vector<KeyAssignmentRecord> keys;
    db.ListKeyAssignments(profile, keys);
    for (const KeyAssignmentRecord& key : keys) {
        doc.AddElement("item");
        SetInt(doc, "key_code", key.key_code);
        SetInt(doc, "macro_type", key.macro_type);
        SetInt(doc, "macro_value", key.macro_value);
        SetInt(doc, "macro_value2", key.macro_value2);
        SetInt(doc, "macro_value3", key.macro_value3);
        doc.SetAttribute("macro_desc", key.macro_desc);
    }
    doc.Ascend();
}

void AddLightItems(XmlDoc& doc, DeviceDatabase& db, int profile) {
    doc.AddElement("Lightitems");
    SetInt(doc, "lightmode", db.GetActiveLightMode(profile));
    doc.Descend();
    std::vector<LightModeRecord> modes;
    db.ListLightModes(profile, modes);
    for (const LightModeRecord& light : modes) {
        doc.AddElement("item");
        SetInt(doc, "light_mode", light.mode);
        SetInt(doc, "brightness", light.brightness);
        SetInt(doc, "speed", light.speed);
        SetInt(doc, "direction", light.direction);
        SetInt(doc, "colorful", light.colorful);
        SetInt(doc, "colorindex", light.colorindex);
        for (int i = 0; i < 7; ++i) SetInt(doc, kColorValueNames[i], light.color_value[i]);
    }
    doc.Ascend();
}

void AddDpi(XmlDoc& doc, DeviceDatabase& db, int profile) {
    doc.AddElement("Mouse_DPI");
    for (std::string_view key : kDpiAttributes) doc.SetAttribute(key, Config(db, profile, key));
    doc.Descend();
    for (int level = 0; level < kDpiLevels; ++level) {
        doc.AddElement(kDpiElements[level]);
        doc.SetAttribute("value", Config(db, profile, DpiValueKey(level)));
        doc.SetAttribute("color", Config(db, profile, DpiColorKey(level)));
    }
    doc.Ascend();
}

void AddMouse(XmlDoc& doc, DeviceDatabase& db, int profile) {
    doc.AddElement("Mouse");
    doc.Descend();
    for (std::string_view key : kMouseSettings) {
        doc.AddElement(key);
        doc.SetAttribute("value", Config(db, profile, key));
    }
    doc.Ascend();
}

}  // namespace

namespace {

FileResult BuildDocument(DeviceDatabase& db, const ProfileExportOptions& options, XmlDoc& doc) {
    auto hold = db.Hold();  // one consistent picture of the profile
    if (!db.IsOpen()) return {FileStatus::kNoDatabase, "no device database is open"};
    const int active = options.activeProfile > 0 ? options.activeProfile : db.GetActiveProfile();
    std::string storedName;
    if (active < 1 || !db.GetProfileName(active, storedName))
        return {FileStatus::kNoProfile, "there is no active profile to export"};
    const int keyProfile = options.keyProfile > 0 ? options.keyProfile : active;
    std::string unused;
    if (keyProfile != active && !db.GetProfileName(keyProfile, unused))
        return {FileStatus::kNoProfile, "profile " + std::to_string(keyProfile) + " does not exist"};

    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement("profile");
    doc.Descend();
    doc.AddElement("profileinfo");
    doc.SetAttribute("name", options.name ? *options.name : storedName);
    doc.Descend();
    AddKeyItems(doc, db, keyProfile);
    if (options.hasLighting) AddLightItems(doc, db, active);
    AddDpi(doc, db, active);
    AddMouse(doc, db, active);
    return {};
}

}  // namespace

FileResult BuildProfileDocument(DeviceDatabase& db, const ProfileExportOptions& options, std::string* text) {
    XmlDoc doc;
    FileResult result = BuildDocument(db, options, doc);
    *text = result.ok() ? doc.Text() : std::string();
    return result;
}

FileResult ExportProfile(DeviceDatabase& db, const ProfileExportOptions& options, const std::string& path) {
    XmlDoc doc;
    FileResult result = BuildDocument(db, options, doc);
    if (!result.ok()) return result;
    if (!doc.SaveFile(path)) return WriteFailed(path);
    return {};
}

}  // namespace quorvel
