#include "actions/ActionResult.h"

#include "device/PageState.h"
#include "shell/Localisation.h"

namespace quorvel {

std::string ActionContext::Text(int id) const {
    return text ? text(id) : quorvel::text("LAN", id);
}

int ActionContext::Language() const {
    return lcid != 0 ? lcid : CurrentLanguage();
}

int ActionContext::Profile() const {
    return core.CurrentProfile();
}

}  // namespace quorvel
