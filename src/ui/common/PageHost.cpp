#include "ui/common/PageHost.h"

#include "session/CoreSession.h"

namespace quorvel {

ActionContext& PageHost::Actions() {
    return Session().Actions();
}

}  // namespace quorvel
