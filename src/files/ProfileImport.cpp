// Profile import. The file is read in full first, walking it forward-only as it has always been read, into
// a plan; only a file that passes every check reaches the database. This keeps a refused or oversized file
// from costing the user the profile's button assignments.

#include <string>
#include <utility>
#include <vector>

#include "device/TaskSink.h"
#include "files/FileInput.h"
#include "files/ProfileFields.h"
#include "files/ProfileFile.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

struct LightItem {
    int mode = 0;
    LightModeRecord values;  // brightness, speed, direction, colorful, colorindex, colours
};

struct ProfilePlan {
    std::vector<KeyAssignmentRecord> keys;  // in file order; a later item for a button replaces an earlier one
    bool hasLightGroup = false;
    int lightMode = 0;
    std::vector<LightItem> lights;
    std::vector<std::pair<std::string, std::string>> settings;  // (key, text as it stands), in file order
};

FileResult TooMany(std::string_view source, std::string_view what, std::size_t cap) {
    return {FileStatus::kTooManyItems,
            "'" + std::string(source) + "' holds more than " + std::to_string(cap) + " " + std::string(what)};
}

FileResult ReadKeyItems(XmlDoc& doc, std::string_view source, ProfilePlan* plan) {
    doc.Descend();
    while (doc.FindNext("item")) {
        if (plan->keys.size() == kMaxKeyItems) return TooMany(source, "button items", kMaxKeyItems);
        KeyAssignmentRecord key;
        key.key_code = AttributeInt(doc, "key_code");
        key.macro_type = AttributeInt(doc, "macro_type");
        key.macro_value = AttributeInt(doc, "macro_value");
        key.macro_value2 = AttributeInt(doc, "macro_value2");
        key.macro_value3 = AttributeInt(doc, "macro_value3");
        key.macro_desc = doc.GetAttribute("macro_desc");
        plan->keys.push_back(std::move(key));
    }
    doc.Ascend();
    return {};
}

FileResult ReadLightItems(XmlDoc& doc, std::string_view source, ProfilePlan* plan) {
    plan->hasLightGroup = true;
    plan->lightMode = AttributeInt(doc, "lightmode");
    doc.Descend();
    while (doc.FindNext("item")) {
        if (plan->lights.size() == kMaxLightItems) return TooMany(source, "lighting items", kMaxLightItems);
        LightItem item;
        item.mode = AttributeInt(doc, "light_mode");
        item.values.brightness = AttributeInt(doc, "brightness");
        item.values.speed = AttributeInt(doc, "speed");
        item.values.direction = AttributeInt(doc, "direction");
        item.values.colorful = AttributeInt(doc, "colorful");
        item.values.colorindex = AttributeInt(doc, "colorindex");
        for (int i = 0; i < 7; ++i) item.values.color_value[i] = AttributeInt(doc, kColorValueNames[i]);
        plan->lights.push_back(std::move(item));
    }
    doc.Ascend();
    return {};
}

void ReadDpi(XmlDoc& doc, ProfilePlan* plan) {
    for (std::string_view key : kDpiAttributes) plan->settings.emplace_back(key, doc.GetAttribute(key));
    doc.Descend();
    for (int level = 0; level < kDpiLevels; ++level) {
        if (!doc.FindNext(kDpiElements[level])) continue;
        plan->settings.emplace_back(DpiValueKey(level), doc.GetAttribute("value"));
        plan->settings.emplace_back(DpiColorKey(level), doc.GetAttribute("color"));
    }
    doc.Ascend();
}

void ReadMouse(XmlDoc& doc, ProfilePlan* plan) {
    doc.Descend();
    for (std::string_view key : kMouseSettings)
        if (doc.FindNext(key)) plan->settings.emplace_back(key, doc.GetAttribute("value"));
    doc.Ascend();
}

FileResult ReadPlan(std::string_view bytes, std::string_view source, bool hasLighting, ProfilePlan* plan) {
    XmlDoc doc;
    FileResult loaded = LoadImportDocument(bytes, "profile", source, &doc);
    if (!loaded.ok()) return loaded;
    doc.Descend();
    doc.FindNext("profileinfo");  // without it the groups are looked up directly under the root
    doc.Descend();
    if (doc.FindNext("keyitems")) {
        FileResult keys = ReadKeyItems(doc, source, plan);
        if (!keys.ok()) return keys;
    }
    if (hasLighting && doc.FindNext("Lightitems")) {
        FileResult lights = ReadLightItems(doc, source, plan);
        if (!lights.ok()) return lights;
    }
    if (doc.FindNext("Mouse_DPI")) ReadDpi(doc, plan);
    if (doc.FindNext("Mouse")) ReadMouse(doc, plan);
    return {};
}

// Stores the plan into the profile; the caller holds the database lock. Returns the number of writes that
// failed. Stops before touching the assignments when the first write (the rename) already fails.
int ApplyPlan(DeviceDatabase& db, int profile, const std::string& name, const ProfilePlan& plan, bool* changed) {
    int failures = 0;
    if (!name.empty() && !db.RenameProfile(profile, name)) return 1;
    *changed = true;
    if (!db.DeleteProfileKeyAssignments(profile)) ++failures;
    for (KeyAssignmentRecord key : plan.keys) {
        key.profile = profile;
        key.fn_layer = 0;
        const bool stores = key.macro_value != 0 || key.macro_value2 != 0;
        if (db.SaveKeyAssignment(key) == 0 && stores) ++failures;
    }
    if (plan.hasLightGroup) {
        // A mode the profile has no row for would leave it without an active mode: keep the current one.
        LightModeRecord active;
        if (db.GetLightMode(profile, plan.lightMode, active) && !db.SetActiveLightMode(profile, plan.lightMode))
            ++failures;
        for (const LightItem& item : plan.lights) {
            LightModeRecord row;
            if (!db.GetLightMode(profile, item.mode, row)) continue;  // the profile has no such mode
            row.brightness = item.values.brightness;
            row.speed = item.values.speed;
            row.direction = item.values.direction;
            row.colorful = item.values.colorful;
            row.colorindex = item.values.colorindex;
            for (int i = 0; i < 7; ++i) row.color_value[i] = item.values.color_value[i];
            if (!db.UpdateLightMode(item.mode, row)) ++failures;
        }
    }
    for (const auto& [key, value] : plan.settings)
        if (!db.SetConfig(profile, key, value)) ++failures;
    return failures;
}

}  // namespace

std::string ProfileNameFromFileName(const std::string& fileName) {
    const std::size_t n = fileName.size();
    if (n >= 4 && fileName[n - 4] == '.' && (fileName[n - 3] | 0x20) == 'x' && (fileName[n - 2] | 0x20) == 'm' &&
        (fileName[n - 1] | 0x20) == 'l')
        return fileName.substr(0, n - 4);
    return fileName;
}

namespace {

// fileName names the profile; source names the input in messages (the path, as every import names it).
ProfileImportResult Import(DeviceDatabase& db, const ProfileImportOptions& options, std::string_view bytes,
                           const std::string& fileName, const std::string& source) {
    ProfileImportResult result;
    ProfilePlan plan;
    FileResult read = ReadPlan(bytes, source, options.hasLighting, &plan);
    if (!read.ok()) {
        static_cast<FileResult&>(result) = std::move(read);
        return result;
    }

    const std::string name = ProfileNameFromFileName(fileName);
    bool changed = false;
    int failures = 0;
    {
        auto hold = db.Hold();
        if (!db.IsOpen()) {
            result.status = FileStatus::kNoDatabase;
            result.message = "no device database is open";
            return result;
        }
        const int profile = options.activeProfile > 0 ? options.activeProfile : db.GetActiveProfile();
        std::string oldName;
        if (profile < 1 || !db.GetProfileName(profile, oldName)) {
            result.status = FileStatus::kNoProfile;
            result.message = "there is no active profile to load the file into";
            return result;
        }
        result.profile = profile;
        // One transaction: a file is loaded whole or not at all, and the writes share one commit.
        DeviceDatabase::Transaction transaction(db);
        failures = ApplyPlan(db, profile, name, plan, &changed);
        if (failures == 0 && !transaction.Commit()) failures = 1;
        if (failures > 0) changed = false;  // rolled back
        db.GetProfileName(profile, result.profileName);
    }
    if (changed && options.tasks) {
        DeviceTaskRequest send(kTaskSendProfile);
        send.profile = result.profile;
        options.tasks->QueueTask(send);
    }
    if (failures > 0) {
        result.status = FileStatus::kDatabaseFailed;
        result.message = "the database refused to store '" + source + "'; nothing was loaded";
    }
    return result;
}

}  // namespace

ProfileImportResult ImportProfileBytes(DeviceDatabase& db, const ProfileImportOptions& options,
                                       std::string_view bytes, const std::string& fileName) {
    return Import(db, options, bytes, fileName, fileName);
}

ProfileImportResult ImportProfile(DeviceDatabase& db, const ProfileImportOptions& options, const std::string& path) {
    ProfileImportResult result;
    std::string bytes;
    FileResult read = ReadImportFile(path, &bytes);
    if (!read.ok()) {
        static_cast<FileResult&>(result) = std::move(read);
        return result;
    }
    return Import(db, options, bytes, FileNameOf(path), path);
}

}  // namespace quorvel
