#pragma once
// Profiles bound to applications: when a window of a bound application comes to the front, its profile
// becomes active (ProfileFollower). The bindings are the profile table's `app` column (store/AppList.h):
// local to this machine, never part of a profile file.
//
// An application name matches a window when it equals, ignoring case, either part of the window's
// WM_CLASS or the file name of its process's executable. A name is bound to one profile at most.

#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "platform/FocusSource.h"

namespace quorvel {

struct ProfileBinding {
    int profile = 0;
    std::string shownName;  // as the profile list shows it
    std::vector<std::string> apps;
};

// Every profile with its applications (also those with none), in profile order.
ActionResult ListBindings(ActionContext& ctx, std::vector<ProfileBinding>* out);
// Binds `app` to the profile; binding a name the profile already has changes nothing. Refused when the
// name is bound to another profile (unbind it there first) or is not a usable name.
ActionResult BindApp(ActionContext& ctx, int profile, const std::string& app);
// Removes the binding; refused when the profile does not have it.
ActionResult UnbindApp(ActionContext& ctx, int profile, const std::string& app);

bool AnyBinding(const std::vector<ProfileBinding>& bindings);
// Whether the name names the window's application.
bool AppMatches(const std::string& app, const FocusWindow& window);
// The profile bound to the window's application, or 0.
int BoundProfile(const std::vector<ProfileBinding>& bindings, const FocusWindow& window);

}  // namespace quorvel
