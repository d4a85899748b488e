#include "actions/ProfileBindings.h"

#include <algorithm>

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "actions/ProfileActions.h"
#include "store/AppList.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

constexpr int kProfileCount = 4;

std::optional<std::string> ProfileProblemOf(ActionContext& ctx, int profile) {
    if (profile < 1 || profile > kProfileCount)
        return "profile " + std::to_string(profile) + " does not exist (profiles are 1-4)";
    if (!Db(ctx).IsOpen()) return "no device database is open (no mouse model selected yet)";
    std::string name;
    if (!Db(ctx).GetProfileName(profile, name))
        return "profile " + std::to_string(profile) + " is not in the device database";
    return std::nullopt;
}

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool Has(const std::vector<std::string>& apps, const std::string& app) {
    return std::any_of(apps.begin(), apps.end(), [&](const std::string& a) { return SameAppName(a, app); });
}

ActionResult Store(ActionContext& ctx, int profile, const std::vector<std::string>& apps) {
    if (!Db(ctx).SetProfileApps(profile, FormatAppList(apps))) {
        ActionResult failed;
        failed.message =
            "the device database did not store the applications of profile " + std::to_string(profile);
        return failed;
    }
    return Accepted();
}

}  // namespace

ActionResult ListBindings(ActionContext& ctx, std::vector<ProfileBinding>* out) {
    if (!Db(ctx).IsOpen())
        return ActionResult::Refused("no device database is open (no mouse model selected yet)");
    std::vector<ProfileRecord> records;
    Db(ctx).ListProfiles(records);
    std::sort(records.begin(), records.end(),
              [](const ProfileRecord& a, const ProfileRecord& b) { return a.profile < b.profile; });
    if (out != nullptr) {
        out->clear();
        for (const ProfileRecord& r : records)
            out->push_back({r.profile, ShownProfileName(ctx, r.name), ParseAppList(r.app)});
    }
    return Accepted();
}

ActionResult BindApp(ActionContext& ctx, int profile, const std::string& typed) {
    const std::string app = Trim(typed);
    if (const std::string problem = AppNameProblem(app); !problem.empty())
        return ActionResult::Refused(problem);
    if (auto problem = ProfileProblemOf(ctx, profile)) return ActionResult::Refused(*problem);
    std::vector<ProfileBinding> bindings;
    ListBindings(ctx, &bindings);
    for (const ProfileBinding& b : bindings) {
        if (b.profile == profile || !Has(b.apps, app)) continue;
        return ActionResult::Refused("\"" + app + "\" is already bound to profile " +
                                     std::to_string(b.profile) + " (" + b.shownName +
                                     "); unbind it there first");
    }
    for (ProfileBinding& b : bindings) {
        if (b.profile != profile) continue;
        if (Has(b.apps, app)) return Accepted();
        b.apps.push_back(app);
        return Store(ctx, profile, b.apps);
    }
    return ActionResult::Refused("profile " + std::to_string(profile) + " is not in the device database");
}

ActionResult UnbindApp(ActionContext& ctx, int profile, const std::string& typed) {
    const std::string app = Trim(typed);
    if (auto problem = ProfileProblemOf(ctx, profile)) return ActionResult::Refused(*problem);
    std::vector<ProfileBinding> bindings;
    ListBindings(ctx, &bindings);
    for (ProfileBinding& b : bindings) {
        if (b.profile != profile) continue;
        const auto it = std::find_if(b.apps.begin(), b.apps.end(),
                                     [&](const std::string& a) { return SameAppName(a, app); });
        if (it == b.apps.end())
            return ActionResult::Refused("profile " + std::to_string(profile) + " is not bound to \"" + app +
                                         "\"");
        b.apps.erase(it);
        return Store(ctx, profile, b.apps);
    }
    return ActionResult::Refused("profile " + std::to_string(profile) + " is not in the device database");
}

bool AnyBinding(const std::vector<ProfileBinding>& bindings) {
    return std::any_of(bindings.begin(), bindings.end(),
                       [](const ProfileBinding& b) { return !b.apps.empty(); });
}

bool AppMatches(const std::string& app, const FocusWindow& window) {
    if (app.empty() || window.id == 0) return false;
    for (const std::string* name : {&window.instance, &window.windowClass, &window.executable}) {
        if (!name->empty() && SameAppName(app, *name)) return true;
    }
    return false;
}

int BoundProfile(const std::vector<ProfileBinding>& bindings, const FocusWindow& window) {
    for (const ProfileBinding& b : bindings) {
        for (const std::string& app : b.apps) {
            if (AppMatches(app, window)) return b.profile;
        }
    }
    return 0;
}

}  // namespace quorvel
