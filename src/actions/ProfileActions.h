#pragma once
// Profile management: the four profiles of the model, switching, renaming, profile files and the full
// factory reset.

#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "files/FileResult.h"

namespace quorvel {

struct ProfileInfo {
    int profile = 0;
    std::string name;       // stored
    std::string shownName;  // as the profile list shows it (default names in the current language)
    bool active = false;
    std::vector<std::string> apps;  // the applications it follows (ProfileBindings.h)
};
ActionResult ListProfiles(ActionContext& ctx, std::vector<ProfileInfo>* out);

// The profile-name display rule: a stored name beginning with "Profile" or "配置" shows text 61 and the
// rest of the name, with one blank between them ("Profile 1" shows as "<text 61> 1").
std::string ShownProfileName(const ActionContext& ctx, const std::string& storedName);

// The stored name of a profile (1-4); false when it cannot be read.
bool ReadProfileName(ActionContext& ctx, int profile, std::string* name);

// The profile (1-4) becomes the current and active one; every setting goes to the mouse (task 5).
ActionResult SwitchProfile(ActionContext& ctx, int profile);

// A new name for a profile (1-4); an empty name is refused. Nothing goes to the mouse.
ActionResult RenameProfile(ActionContext& ctx, int profile, const std::string& name);

// The active profile to a file; its stored name goes into `name`. `status`, when given, receives how the
// file operation ended (kOk also when the action was refused before it), so a front end can word it.
ActionResult ExportProfileFile(ActionContext& ctx, const std::string& path, FileStatus* status = nullptr);
// A profile file into the active profile (which takes the file's name); task 5. A refused file has changed
// nothing.
ActionResult ImportProfileFile(ActionContext& ctx, const std::string& path, FileStatus* status = nullptr);

// The device's factory state: needs a connected mouse. The model's database file is replaced by an empty
// one, the mouse is read again, reset, and the profiles and their defaults are created anew (task 21).
ActionResult FactoryReset(ActionContext& ctx);

}  // namespace quorvel
