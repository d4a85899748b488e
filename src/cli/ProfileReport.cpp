#include "cli/ProfileReport.h"

#include <string>
#include <vector>

#include "actions/ButtonActions.h"
#include "actions/FeatureActions.h"
#include "actions/LightingActions.h"
#include "actions/PerformanceActions.h"
#include "actions/ProfileActions.h"
#include "cli/CliSession.h"
#include "cli/SettingMeaning.h"
#include "device/CommandsFrame.h"
#include "device/DeviceMainDef.h"
#include "shell/Localisation.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel::cli {

namespace {

struct ProfileRows {
    int number = 0;
    std::string name;
    std::string shownName;                                      // as the profile list shows it
    std::vector<std::pair<std::string, std::string>> settings;  // catalogue order
    std::vector<KeyAssignmentRecord> buttons;
    std::vector<LightModeRecord> lighting;
};

ProfileRows LoadRows(Session& session) {
    DeviceDatabase& db = session.Db();
    ProfileRows rows;
    rows.number = session.Core().CurrentProfile();
    db.GetProfileName(rows.number, rows.name);
    rows.shownName = ShownProfileName(session.Context(), rows.name);
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
    const std::optional<int> battery = ReadBatteryLevel(session.Context());
    return {{"device_type", state.currentDeviceType},
            {"name", state.modelName},
            {"features", FeaturesJson(ReadModelFeatures(session.Context()))},
            {"battery_level", battery ? Json(*battery) : Json(nullptr)}};
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string SensorText(int flags) {
    std::string text;
    for (int bit : {4, 8, 16}) {
        if (!(flags & bit)) continue;
        if (!text.empty()) text += ", ";
        text += SensorOptionName(bit) + " (" + std::to_string(bit) + ")";
    }
    return text.empty() ? "none (0)" : text;
}

std::string RatesText(const std::vector<int>& rates) {
    std::string text;
    for (int hz : rates) text += (text.empty() ? "" : " ") + std::to_string(hz);
    return text;
}

bool FeatureFamily(Session& session) {
    return FamilyOf(session.DeviceType()) == Family::Feature;
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
    std::string rate =
        p.reportRateHz ? std::to_string(p.reportRateHz) + " Hz" : "code " + std::to_string(p.reportRateCode);
    const std::vector<int> offered = MouseReportRates(session);
    if (!offered.empty()) rate += "   (this mouse offers " + RatesText(offered) + " Hz)";
    // Only what the model has: no battery line and no sleep time on a wired mouse, no lighting setting
    // without lights.
    const ModelFeatures features = ReadModelFeatures(session.Context());
    std::vector<std::vector<std::string>> rows;
    if (const std::optional<int> battery = ReadBatteryLevel(session.Context()))
        rows.push_back({"Battery", std::to_string(*battery) + " %"});
    rows.push_back({"DPI levels", levels + "   (active level " + std::to_string(p.dpiIndex + 1) + " of " +
                                      std::to_string(p.dpiCount) + ")"});
    rows.push_back({"DPI colours", colours});
    rows.push_back({"Report rate", rate});
    rows.push_back({"Lift-off", std::to_string(p.liftoffHeight) + " mm"});
    rows.push_back({"Sensor options", SensorText(p.sensorFlags)});
    if (features.sleepTime) rows.push_back({"Sleep", "after " + std::to_string(p.sleepSeconds) + " s"});
    if (features.wakeOnMove) rows.push_back({"Wake on move", OnOff(p.wakeOnMove)});
    if (features.lightsOffMoving) rows.push_back({"Lights off moving", OnOff(p.lightsOffMoving)});
    if (features.responseTime)
        rows.push_back({"Button response", std::to_string(p.buttonResponseTime) + " ms"});
    std::fputs(FormatTable(rows).c_str(), stdout);
}

}  // namespace

Json FeaturesJson(const ModelFeatures& f) {
    return {{"wireless", f.wireless},
            {"battery", f.battery},
            {"lights", f.lights},
            {"sleep_time", f.sleepTime},
            {"wake_on_move", f.wakeOnMove},
            {"lights_off_moving", f.lightsOffMoving},
            {"button_response", f.responseTime}};
}

std::vector<int> MouseReportRates(Session& session) {
    const DeviceState state = session.Core().Snapshot();
    if (state.currentDeviceType == 0 || !state.readDeviceTypes.count(state.currentDeviceType)) return {};
    return OfferedReportRates(state.reportRateEntry);
}

std::vector<std::string> LightOffers(const LightModeRecord& row, bool featureFamily) {
    std::vector<std::string> offers;
    if (row.config_func & kLightBrightness) offers.push_back("brightness");
    if (row.config_func & kLightSpeed) offers.push_back("speed");
    if (!featureFamily && (row.config_func & kLightSingleColour)) offers.push_back("colour");
    if (!featureFamily && (row.config_func & kLightColourRow)) offers.push_back("colour slots");
    return offers;
}

Json LightRowJson(const LightModeRecord& r, bool featureFamily) {
    Json row = {{"mode", r.mode},           {"name", r.name},           {"brightness", r.brightness},
                {"speed", r.speed},         {"direction", r.direction}, {"colorful", r.colorful},
                {"colorindex", r.colorindex}};
    for (int i = 0; i < 7; ++i) row["color_value" + std::to_string(i + 1)] = r.color_value[i];
    row["config_func"] = r.config_func;
    row["reserved"] = r.reserved;
    row["status"] = r.status;
    const std::string caption = text("LAN", r.reserved);
    row["shown_name"] = caption.empty() ? r.name : caption;
    row["offers"] = LightOffers(r, featureFamily);
    Json colours = Json::array();
    for (int i = 0; i < 7; ++i) colours.push_back(ColourHex(r.color_value[i]));
    row["colours"] = colours;
    return row;
}

// The settings as the user counts them, beside the stored texts.
Json DecodedJson(Session& session) {
    PerformanceSettings p;
    if (!ReadPerformance(session.Context(), &p).ok) return Json::object();
    Json colours = Json::array();
    for (int c : p.dpiColours) colours.push_back(ColourHex(c));
    Json sensor = Json::array();
    for (int bit : {4, 8, 16}) {
        if (p.sensorFlags & bit) sensor.push_back({{"flag", bit}, {"name", SensorOptionName(bit)}});
    }
    const std::vector<int> offered = MouseReportRates(session);
    const ModelFeatures features = ReadModelFeatures(session.Context());
    // A setting the model does not have is null, as a value the mouse has not told is.
    auto only = [](bool has, Json value) { return has ? std::move(value) : Json(nullptr); };
    return {{"dpi_levels", p.dpiValues},
            {"dpi_active_level", p.dpiIndex + 1},
            {"dpi_colours", colours},
            {"report_rate_hz", p.reportRateHz ? Json(p.reportRateHz) : Json(nullptr)},
            {"report_rates_offered_hz", offered.empty() ? Json(nullptr) : Json(offered)},
            {"liftoff_mm", p.liftoffHeight},
            {"sensor_options", sensor},
            {"sleep_seconds", only(features.sleepTime, p.sleepSeconds)},
            {"wake_on_move", only(features.wakeOnMove, p.wakeOnMove)},
            {"lights_off_moving", only(features.lightsOffMoving, p.lightsOffMoving)},
            {"button_response_ms", only(features.responseTime, p.buttonResponseTime)}};
}

Json ProfileJson(Session& session) {
    const ProfileRows rows = LoadRows(session);
    Json doc = Json::object();
    doc["profile"] = {{"number", rows.number}, {"name", rows.name}, {"shown_name", rows.shownName}};
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
    for (const LightModeRecord& r : rows.lighting)
        lighting.push_back(LightRowJson(r, FeatureFamily(session)));
    doc["lighting"] = lighting;
    doc["decoded"] = DecodedJson(session);
    return doc;
}

void PrintProfileText(Session& session) {
    const ProfileRows rows = LoadRows(session);
    const DeviceState state = session.Core().Snapshot();
    PrintLine("Profile " + std::to_string(rows.number) + ": " + rows.shownName + "   (" + state.modelName +
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
        std::vector<std::vector<std::string>> table = {
            {"", "MODE", "NAME", "BRIGHTNESS", "SPEED", "OFFERS", "COLOURS"}};
        for (const LightModeRecord& r : rows.lighting) {
            std::string colours, offers;
            for (int i = 0; i < 7; ++i) colours += (i ? " " : "") + ColourHex(r.color_value[i]);
            for (const std::string& o : LightOffers(r, FeatureFamily(session)))
                offers += (offers.empty() ? "" : ", ") + o;
            const std::string caption = text("LAN", r.reserved);
            table.push_back({r.status == 1 ? "*" : "", std::to_string(r.mode),
                             caption.empty() ? r.name : caption, std::to_string(r.brightness),
                             std::to_string(r.speed), offers.empty() ? "-" : offers, colours});
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
