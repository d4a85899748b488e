#include "actions/LightingActions.h"

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "device/CommandsFrame.h"
#include "device/PageState.h"
#include "device/Tasks.h"
#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"

namespace quorvel {

namespace {

constexpr int kColourSlots = 7;
constexpr int kMaxColour = 0xFFFFFF;

// Why the lighting of the current profile cannot be changed.
std::optional<std::string> LightingProblem(ActionContext& ctx, const DeviceState& state) {
    if (!state.model.light) return "this mouse model has no lighting";
    return ProfileProblem(ctx);
}

std::string Range(int low, int high) {
    return "(" + std::to_string(low) + "-" + std::to_string(high) + ")";
}

std::string ModeList(const std::vector<LightModeRecord>& rows) {
    std::string text;
    for (const LightModeRecord& r : rows) text += (text.empty() ? "" : ", ") + std::to_string(r.mode);
    return text;
}

std::optional<std::string> ChangeProblem(const LightModeRecord& row, const LightChange& change, bool featureFamily) {
    const std::string mode = "lighting mode " + std::to_string(row.mode);
    if (change.brightness) {
        if ((row.config_func & kLightBrightness) == 0) return mode + " has no brightness setting";
        if (*change.brightness < kLightBrightnessMin || *change.brightness > kLightBrightnessMax)
            return "brightness " + std::to_string(*change.brightness) + " is out of range " +
                   Range(kLightBrightnessMin, kLightBrightnessMax);
    }
    if (change.speed) {
        if ((row.config_func & kLightSpeed) == 0) return mode + " has no speed setting";
        if (*change.speed < kLightSpeedMin || *change.speed > kLightSpeedMax)
            return "speed " + std::to_string(*change.speed) + " is out of range " +
                   Range(kLightSpeedMin, kLightSpeedMax);
    }
    if (change.colourSlot && !change.colour) return "a colour slot needs a colour";
    if (change.colour) {
        // The page offers colours only on the report family, and only for modes that name a colour section.
        if (featureFamily) return "this mouse takes no lighting colours";
        if ((row.config_func & (kLightSingleColour | kLightColourRow)) == 0) return mode + " has no colour setting";
        if (*change.colour < 0 || *change.colour > kMaxColour)
            return "colour " + std::to_string(*change.colour) + " is not an RGB colour";
        if (change.colourSlot) {
            if ((row.config_func & kLightColourRow) == 0) return mode + " has no row of colour slots";
            if (*change.colourSlot < 1 || *change.colourSlot > kColourSlots)
                return "colour slot " + std::to_string(*change.colourSlot) + " is out of range (1-7)";
        }
    }
    return std::nullopt;
}

}  // namespace

ActionResult ListLightModes(ActionContext& ctx, std::vector<LightModeInfo>* out) {
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = LightingProblem(ctx, state)) return ActionResult::Refused(*problem);
    const int profile = ctx.Profile();
    AddDefaultLightModes(Db(ctx), profile, state.model.light_zone, state.model.light_config);
    std::vector<LightModeRecord> rows;
    Db(ctx).ListLightModes(profile, rows);
    if (out != nullptr) {
        out->clear();
        for (const LightModeRecord& r : rows) out->push_back({r, ctx.Text(r.reserved), r.status == 1});
    }
    return Accepted();
}

ActionResult ChangeLightMode(ActionContext& ctx, int mode, const LightChange& change) {
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = LightingProblem(ctx, state)) return ActionResult::Refused(*problem);
    const int profile = ctx.Profile();
    // The page's refresh creates a profile's rows before any mode can be chosen.
    AddDefaultLightModes(Db(ctx), profile, state.model.light_zone, state.model.light_config);
    LightModeRecord row;
    if (!Db(ctx).GetLightMode(profile, mode, row)) {
        std::vector<LightModeRecord> rows;
        Db(ctx).ListLightModes(profile, rows);
        return ActionResult::Refused("profile " + std::to_string(profile) + " has no lighting mode " +
                                     std::to_string(mode) + " (modes: " + ModeList(rows) + ")");
    }
    const bool featureFamily = FamilyOf(state.currentDeviceType) == Family::Feature;
    if (auto problem = ChangeProblem(row, change, featureFamily)) return ActionResult::Refused(*problem);

    ctx.core.SetCurrentLightMode(mode);
    if (!Db(ctx).SetActiveLightMode(profile, mode)) {
        ActionResult failed;
        failed.message = "the device database did not make lighting mode " + std::to_string(mode) + " active";
        return failed;
    }
    const bool changes = change.brightness || change.speed || change.colour;
    if (change.brightness) row.brightness = *change.brightness;
    if (change.speed) row.speed = *change.speed;
    if (change.colour) {
        if (row.config_func & kLightColourRow) {
            // The row of slots, loaded from the row with the first slot chosen: the chosen slot takes the
            // colour and all seven are stored (color_value1 is then the first slot's colour).
            const int slot = change.colourSlot.value_or(1);
            row.color_value[slot - 1] = *change.colour;
        } else {
            row.color_value[0] = *change.colour;
        }
    }
    if (changes && !Db(ctx).UpdateLightMode(mode, row)) {
        ActionResult failed;
        failed.message = "the device database did not store lighting mode " + std::to_string(mode);
        return failed;
    }
    DeviceTaskRequest request = PageRequest(ctx, kTaskWriteLighting);
    request.lightMode = mode;
    return Accepted({request});
}

ActionResult ResetLighting(ActionContext& ctx) {
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = LightingProblem(ctx, state)) return ActionResult::Refused(*problem);
    return Accepted({PageRequest(ctx, kTaskResetLighting)});
}

int ActiveLightMode(ActionContext& ctx) {
    return Db(ctx).GetActiveLightMode(ctx.Profile());
}

bool ReadLightMode(ActionContext& ctx, int mode, LightModeRecord* row) {
    return mode >= 0 && Db(ctx).IsOpen() && Db(ctx).GetLightMode(ctx.Profile(), mode, *row);
}

}  // namespace quorvel
