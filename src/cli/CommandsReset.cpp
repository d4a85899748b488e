// reset dpi|rate|lighting|factory.

#include <unistd.h>

#include <cstdio>

#include "actions/LightingActions.h"
#include "actions/PerformanceActions.h"
#include "actions/ProfileActions.h"
#include "cli/Commands.h"
#include "device/DeviceMainDef.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

// Asks on the terminal; true only for an explicit yes.
bool Confirmed(const std::string& question) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s [y/N] ", question.c_str());
    std::fflush(stderr);
    char line[64] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr) return false;
    const std::string answer(line);
    return answer == "y\n" || answer == "Y\n" || answer == "yes\n" || answer == "YES\n";
}

int FactoryResetCommand(Invocation& inv) {
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    const bool yes = inv.args.Flag("yes");
    if (!yes && !terminal)
        return inv.Usage(
            "'reset factory' deletes every profile, button assignment, lighting row and macro of the "
            "model and resets the mouse; add --yes to confirm");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    Session& s = inv.session;
    const DeviceState state = s.Core().Snapshot();
    const std::string model =
        state.modelName + " (device_type " + std::to_string(state.currentDeviceType) + ")";
    if (!yes && !Confirmed("Reset " + model +
                           " to its factory state? Every profile, button assignment, lighting "
                           "row and macro of this model is deleted.")) {
        PrintError("factory reset cancelled; nothing was changed");
        return kExitFailed;
    }
    // The action recreates the database with its profiles and lighting rows before the task runs.
    const ActionResult result = FactoryReset(s.Context());
    std::vector<std::string> lines;
    Json extra = Json::object();
    if (result.ok) {
        lines.push_back("recreated the device database of " + model + " (" + s.Db().Path() +
                        "): four new profiles, no button assignments, default lighting, no macros");
        extra = {{"database_recreated", true}, {"database", s.Db().Path()}};
    }
    const int exit = s.FinishAction(result, extra, lines);
    if (result.ok && exit == kExitOk && !s.JsonOutput())
        PrintLine("the mouse was reset to its factory settings");
    return exit;
}

}  // namespace

int RunReset(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {"yes"}, 1, 1, &exit)) return exit;
    const std::string what = inv.args.Positional()[0];
    if (what != "dpi" && what != "rate" && what != "lighting" && what != "factory")
        return inv.Usage("\"" + what + "\" is not one of dpi, rate, lighting, factory");
    if (what == "factory") return FactoryResetCommand(inv);
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    ActionContext& ctx = inv.session.Context();
    if (what == "dpi") return inv.session.FinishAction(ResetDpi(ctx));
    if (what == "rate") return inv.session.FinishAction(ResetReportRate(ctx));
    return inv.session.FinishAction(ResetLighting(ctx));
}

}  // namespace quorvel::cli
