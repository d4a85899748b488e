// reset dpi|rate|lighting|factory.

#include "actions/LightingActions.h"
#include "actions/PerformanceActions.h"
#include "actions/ProfileActions.h"
#include "cli/Commands.h"

namespace quorvel::cli {

int RunReset(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    const std::string what = inv.args.Positional()[0];
    if (what != "dpi" && what != "rate" && what != "lighting" && what != "factory")
        return inv.Usage("\"" + what + "\" is not one of dpi, rate, lighting, factory");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    ActionContext& ctx = inv.session.Context();
    if (what == "dpi") return inv.session.FinishAction(ResetDpi(ctx));
    if (what == "rate") return inv.session.FinishAction(ResetReportRate(ctx));
    if (what == "lighting") return inv.session.FinishAction(ResetLighting(ctx));
    return inv.session.FinishAction(FactoryReset(ctx));
}

}  // namespace quorvel::cli
