// light: the lighting page's changes.

#include "actions/LightingActions.h"
#include "actions/PerformanceActions.h"
#include "cli/Commands.h"
#include "cli/ProfileReport.h"
#include "device/CommandsFrame.h"
#include "device/DeviceMainDef.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

bool RangeOption(Invocation& inv, const char* name, int low, int high, std::optional<int>* out, int* exit) {
    auto text = inv.args.Value(name);
    if (!text) return true;
    int value = 0;
    if (!ParseInt(*text, &value) || value < low || value > high) {
        *exit = inv.Usage(std::string("--") + name + " is a number from " + std::to_string(low) + " to " +
                          std::to_string(high));
        return false;
    }
    *out = value;
    return true;
}

}  // namespace

int RunLight(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({"brightness", "speed", "color", "colour", "slot"}, {}, 1, 1, &exit)) return exit;
    int mode = 0;
    if (!ParseInt(inv.args.Positional()[0], &mode) || mode < 0)
        return inv.Usage("\"" + inv.args.Positional()[0] + "\" is not a lighting mode number");
    LightChange change;
    if (!RangeOption(inv, "brightness", kLightBrightnessMin, kLightBrightnessMax, &change.brightness, &exit))
        return exit;
    if (!RangeOption(inv, "speed", kLightSpeedMin, kLightSpeedMax, &change.speed, &exit)) return exit;
    if (!RangeOption(inv, "slot", 1, 7, &change.colourSlot, &exit)) return exit;
    auto colour = inv.args.Value("color");
    if (!colour) colour = inv.args.Value("colour");
    if (colour) {
        int value = 0;
        if (!ParseColourText(*colour, &value)) return inv.Usage("--color needs #RRGGBB, not \"" + *colour + "\"");
        change.colour = value;
    }
    if (change.colourSlot && !change.colour) return inv.Usage("--slot needs --color");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;

    Session& s = inv.session;
    const ActionResult result = ChangeLightMode(s.Context(), mode, change);
    Json extra = Json::object();
    std::vector<std::string> lines;
    LightModeRecord row;
    if (result.ok && s.Db().GetLightMode(s.Core().CurrentProfile(), mode, row)) {
        const bool feature = FamilyOf(s.DeviceType()) == Family::Feature;
        extra["lighting"] = LightRowJson(row, feature);
        std::string colours, offers;
        for (int i = 0; i < 7; ++i) colours += (i ? " " : "") + ColourHex(row.color_value[i]);
        for (const std::string& o : LightOffers(row, feature)) offers += (offers.empty() ? "" : ", ") + o;
        lines.push_back("lighting mode " + std::to_string(mode) + " active: brightness " +
                        std::to_string(row.brightness) + ", speed " + std::to_string(row.speed) + ", colours " +
                        colours);
        lines.push_back("mode " + std::to_string(mode) + " offers " +
                        (offers.empty() ? "no adjustment" : offers));
    }
    return s.FinishAction(result, extra, lines);
}

}  // namespace quorvel::cli
