#include "cli/ProfileReport.h"

#include <string>
#include <vector>

#include "actions/ButtonActions.h"
#include "actions/LightingActions.h"
#include "actions/PerformanceActions.h"
#include "cli/CliSession.h"
#include "device/DeviceMainDef.h"
#include "shell/Localisation.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel::cli {

namespace {

struct ProfileRows {
    int number = 0;
    std::string name;
    std::vector<std::pair<std::string, std::string>> settings;  // catalogue order
    std::vector<KeyAssignmentRecord> buttons;
    std::vector<LightModeRecord> lighting;
};

ProfileRows LoadRows(Session& session) {
    DeviceDatabase& db = session.Db();
    ProfileRows rows;
    rows.number = session.Core().CurrentProfile();
    db.GetProfileName(rows.number, rows.name);
    for (const SettingDefault& s : kSettingsCatalogue) {
        std::string value;
        db.GetConfig(rows.number, s.key, value);
        rows.settings.emplace_back(std::string(s.key), value);
    }
    db.ListKeyAssignments(rows.number, rows.buttons);
    if (session.HasLighting()) {
        // As the lighting page's refresh: a profile without lighting rows gets its defaults first.
        std::vector<LightModeInfo> modes;
        ListLightModes(session.Context(), &modes);
        for (const LightModeInfo& m : modes) rows.lighting.push_back(m.row);
    } else {
        db.ListLightModes(rows.number, rows.lighting);
    }
    return rows;
}

Json ModelJson(Session& session) {
    const DeviceState state = session.Core().Snapshot();
    return {{"device_type", state.currentDeviceType}, {"name", state.modelName}};
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string SensorText(int flags) {
    std::string text;
    for (int bit : {4, 8, 16}) {
        if (!(flags & bit)) continue;
        if (!text.empty()) text += " + ";
        text += std::to_string(bit);
    }
    return text.empty() ? "none (0)" : text + " (" + std::to_string(flags) + ")";
}

void PrintPerformance(Session& session) {
    PerformanceSettings p;
    if (!ReadPerformance(session.Context(), &p).ok) return;
    std::string levels, colours;
    for (size_t i = 0; i < p.dpiValues.size(); ++i) {
        if (i) levels += "  ", colours += "  ";
        levels += std::to_string(p.dpiValues[i]);
        if (static_cast<int>(i) == p.dpiIndex) levels += "*";
        colours += ColourHex(p.dpiColours[i]);
    }
    const std::string rate =
        p.reportRateHz ? std::to_string(p.reportRateHz) + " Hz" : "code " + std::to_string(p.reportRateCode);
    std::vector<std::vector<std::string>> rows = {
        {"DPI levels", levels + "   (active level " + std::to_string(p.dpiIndex + 1) + " of " +
                           std::to_string(p.dpiCount) + ")"},
        {"DPI colours", colours},
        {"Report rate", rate},
        {"Lift-off", std::to_string(p.liftoffHeight) + " mm"},
        {"Sensor options", SensorText(p.sensorFlags)},
        {"Sleep", std::to_string(p.sleepSeconds) + " s"},
        {"Wake on move", OnOff(p.wakeOnMove)},
        {"Lights off moving", OnOff(p.lightsOffMoving)},
        {"Button response", std::to_string(p.buttonResponseTime)},
    };
    std::fputs(FormatTable(rows).c_str(), stdout);
}

}  // namespace

Json LightRowJson(const LightModeRecord& r) {
    Json row = {{"mode", r.mode},           {"name", r.name},           {"brightness", r.brightness},
                {"speed", r.speed},         {"direction", r.direction}, {"colorful", r.colorful},
                {"colorindex", r.colorindex}};
    for (int i = 0; i < 7; ++i) row["color_value" + std::to_string(i + 1)] = r.color_value[i];
    row["config_func"] = r.config_func;
    row["reserved"] = r.reserved;
    row["status"] = r.status;
    return row;
}

Json ProfileJson(Session& session) {
    const ProfileRows rows = LoadRows(session);
    Json doc = Json::object();
    doc["profile"] = {{"number", rows.number}, {"name", rows.name}};
    doc["model"] = ModelJson(session);
    Json settings = Json::object();
    for (const auto& [key, value] : rows.settings) settings[key] = value;
    doc["settings"] = settings;
    Json buttons = Json::array();
    for (const KeyAssignmentRecord& r : rows.buttons) {
        buttons.push_back({{"key_code", r.key_code},
                           {"macro_type", r.macro_type},
                           {"macro_value", r.macro_value},
                           {"macro_value2", r.macro_value2},
                           {"macro_value3", r.macro_value3},
                           {"macro_desc", r.macro_desc}});
    }
    doc["buttons"] = buttons;
    Json lighting = Json::array();
    for (const LightModeRecord& r : rows.lighting) lighting.push_back(LightRowJson(r));
    doc["lighting"] = lighting;
    return doc;
}

void PrintProfileText(Session& session) {
    const ProfileRows rows = LoadRows(session);
    const DeviceState state = session.Core().Snapshot();
    PrintLine("Profile " + std::to_string(rows.number) + ": " + rows.name + "   (" + state.modelName +
              ", device_type " + std::to_string(state.currentDeviceType) + ")");
    PrintLine("");
    PrintPerformance(session);

    PrintLine("");
    PrintLine("Buttons");
    std::vector<std::vector<std::string>> buttons = {{"KEY", "BUTTON", "FUNCTION"}};
    for (const ButtonInfo& b : ListButtons(session.Context()))
        buttons.push_back({std::to_string(b.keyCode), b.caption, b.description + (b.assigned ? "" : " (default)")});
    std::fputs(FormatTable(buttons, 2).c_str(), stdout);

    PrintLine("");
    PrintLine("Lighting");
    if (rows.lighting.empty()) {
        PrintLine("  none");
    } else {
        std::vector<std::vector<std::string>> table = {{"", "MODE", "NAME", "BRIGHTNESS", "SPEED", "COLOURS"}};
        for (const LightModeRecord& r : rows.lighting) {
            std::string colours;
            for (int i = 0; i < 7; ++i) colours += (i ? " " : "") + ColourHex(r.color_value[i]);
            const std::string caption = text("LAN", r.reserved);
            table.push_back({r.status == 1 ? "*" : "", std::to_string(r.mode), caption.empty() ? r.name : caption,
                             std::to_string(r.brightness), std::to_string(r.speed), colours});
        }
        std::fputs(FormatTable(table, 2).c_str(), stdout);
    }

    PrintLine("");
    PrintLine("Settings");
    std::vector<std::vector<std::string>> table;
    for (const auto& [key, value] : rows.settings) table.push_back({key, value});
    std::fputs(FormatTable(table, 2).c_str(), stdout);
}

void PrintProfile(Session& session) {
    if (session.JsonOutput()) PrintJson(ProfileJson(session));
    else PrintProfileText(session);
}

}  // namespace quorvel::cli
