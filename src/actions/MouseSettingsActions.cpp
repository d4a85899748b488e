#include "actions/MouseSettingsActions.h"

#include "actions/ActionSupport.h"
#include "platform/Launch.h"
#include "platform/MouseSettings.h"

namespace quorvel {

bool MouseSettingsAvailable() {
    return !MouseSettingsCommand().empty();
}

ActionResult OpenMouseSettings() {
    const std::vector<std::string> command = MouseSettingsCommand();
    if (command.empty()) return ActionResult::Refused("no mouse settings program of the desktop was found");
    // The arguments go to the program as they are: no shell reads them.
    if (!LaunchDetached(command)) return ActionResult::Refused(command.front() + " could not be started");
    return Accepted();
}

}  // namespace quorvel
