// profile bind PROFILE APP | unbind PROFILE APP | bindings | follow: profiles that follow the application
// in front.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "actions/ActionTasks.h"
#include "actions/FollowLoop.h"
#include "actions/ProfileActions.h"
#include "actions/ProfileBindings.h"
#include "cli/Commands.h"
#include "device/DeviceMainDef.h"
#include "platform/FocusSource.h"
#include "session/MouseHold.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

Json BindingJson(const ProfileBinding& b, const std::string& storedName) {
    return {{"number", b.profile}, {"name", storedName}, {"shown_name", b.shownName}, {"apps", b.apps}};
}

std::string JoinApps(const std::vector<std::string>& apps) {
    std::string text;
    for (const std::string& app : apps) text += (text.empty() ? "" : ", ") + app;
    return text;
}

// bind and unbind: the change, then the profile's applications as they are stored now.
int Change(Invocation& inv, bool bind) {
    int exit = kExitOk, number = 0;
    if (!inv.Parse({}, {}, 3, 3, &exit)) return exit;
    if (!ProfileNumber(inv, inv.args.Positional()[1], &number, &exit)) return exit;
    const std::string app = inv.args.Positional()[2];
    if (int rc = inv.session.Open(Need::kDatabase)) return rc;
    ActionContext& ctx = inv.session.Context();
    const ActionResult result = bind ? BindApp(ctx, number, app) : UnbindApp(ctx, number, app);
    std::vector<ProfileBinding> bindings;
    ListBindings(ctx, &bindings);
    ProfileBinding now{number, "", {}};
    for (const ProfileBinding& b : bindings)
        if (b.profile == number) now = b;
    std::string stored;
    inv.session.Db().GetProfileName(number, stored);
    std::vector<std::string> lines;
    if (result.ok) {
        const std::string label = "profile " + std::to_string(number) + " (" + now.shownName + ")";
        lines.push_back(now.apps.empty() ? label + " follows no application"
                                         : label + " follows " + JoinApps(now.apps));
    }
    return inv.session.FinishAction(result, {{"profile", BindingJson(now, stored)}}, lines);
}

int Bindings(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    if (int rc = inv.session.Open(Need::kStored)) return rc;
    std::vector<ProfileBinding> bindings;
    const ActionResult result = ListBindings(inv.session.Context(), &bindings);
    if (!result.ok) {
        PrintError(result.message);
        return kExitFailed;
    }
    if (inv.session.JsonOutput()) {
        Json list = Json::array();
        for (const ProfileBinding& b : bindings) {
            std::string stored;
            inv.session.Db().GetProfileName(b.profile, stored);
            list.push_back(BindingJson(b, stored));
        }
        PrintJson(list);
        return kExitOk;
    }
    std::vector<std::vector<std::string>> table = {{"NUMBER", "NAME", "APPLICATIONS"}};
    for (const ProfileBinding& b : bindings)
        table.push_back({std::to_string(b.profile), b.shownName, b.apps.empty() ? "-" : JoinApps(b.apps)});
    std::fputs(FormatTable(table).c_str(), stdout);
    if (AnyBinding(bindings)) {
        if (const std::string why = FocusUnavailableReason(); !why.empty()) PrintWarning(why);
    }
    return kExitOk;
}

// The follower's world for the command line: the session's database and worker; nothing else runs a
// firmware update in this process.
class CliFollowHost : public FollowHost {
public:
    explicit CliFollowHost(Session& session) : session_(session) {}

    std::vector<ProfileBinding> Bindings() override {
        std::vector<ProfileBinding> bindings;
        ListBindings(session_.Context(), &bindings);
        return bindings;
    }

    FollowSituation Situation() override {
        FollowSituation s;
        s.activeProfile = session_.Core().CurrentProfile();
        s.mouseConnected = session_.Core().Snapshot().connected;
        // Holding the device lock, this process is the one writer; without it (the lock file could not be
        // used) a running quorvel is.
        s.heldElsewhere = !session_.HoldsDeviceLock() && MouseHeldByAnotherProcess();
        return s;
    }

    bool SwitchTo(int profile, const FocusWindow& cause) override {
        const ActionResult result = SwitchProfile(session_.Context(), profile);
        if (!result.ok) {
            PrintError(result.message);
            return false;
        }
        std::string name;
        session_.Db().GetProfileName(profile, name);
        const std::string app = !cause.instance.empty() ? cause.instance : cause.executable;
        const std::vector<TaskResult> results = RunActionTasks(session_.Worker(), result, kTaskTimeout);
        const bool confirmed = !results.empty() && results.back().ok();
        if (session_.JsonOutput()) {
            // One document per line: the command runs on.
            const Json line = {{"profile", profile},
                               {"shown_name", ShownProfileName(session_.Context(), name)},
                               {"window",
                                {{"instance", cause.instance},
                                 {"class", cause.windowClass},
                                 {"executable", cause.executable}}},
                               {"status", results.empty() ? "none" : TaskStatusText(results.back().status)}};
            std::puts(line.dump().c_str());
        } else {
            PrintLine(app + " in front: profile " + std::to_string(profile) + " (" +
                      ShownProfileName(session_.Context(), name) + ")" +
                      (confirmed ? "" : " stored; the mouse did not confirm it"));
        }
        std::fflush(stdout);
        return true;
    }

private:
    Session& session_;
};

int Follow(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    // SIGINT and SIGTERM are taken by one thread of ours (sigwait); every thread made from here on
    // inherits the blocked set.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (const std::string why = FocusUnavailableReason(); !why.empty()) {
        PrintError(why);
        return kExitFailed;
    }
    inv.session.WatchHotplug();
    CliFollowHost host(inv.session);
    FollowLoop loop(host);
    inv.session.View().SetDeviceListener([&loop] { loop.PostRetry(); });
    if (int rc = inv.session.Open(Need::kDatabase)) return rc;

    std::vector<ProfileBinding> bindings;
    ListBindings(inv.session.Context(), &bindings);
    if (!AnyBinding(bindings))
        PrintWarning("no profile follows an application yet (quorvelctl profile bind PROFILE APP)");
    loop.Follower().ChoseByHand(inv.session.Core().CurrentProfile());

    std::unique_ptr<FocusSource> source = MakeFocusSource();
    std::string why;
    if (!source->Start([&loop](const FocusWindow& w) { loop.PostFocus(w); }, &why)) {
        PrintError(why);
        return kExitFailed;
    }
    std::thread signals([&loop, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        loop.PostStop();
    });
    if (!inv.session.JsonOutput())
        PrintLine("following the window in front; profile " +
                  std::to_string(inv.session.Core().CurrentProfile()) +
                  " comes back for other windows (Ctrl+C ends)");
    std::fflush(stdout);
    loop.Run();
    source->Stop();
    signals.join();
    return kExitOk;
}

}  // namespace

bool IsProfileFollowCommand(const std::string& sub) {
    return sub == "bind" || sub == "unbind" || sub == "bindings" || sub == "follow";
}

int RunProfileFollowCommand(Invocation& inv, const std::string& sub) {
    if (sub == "bind") return Change(inv, true);
    if (sub == "unbind") return Change(inv, false);
    if (sub == "bindings") return Bindings(inv);
    return Follow(inv);
}

}  // namespace quorvel::cli
