#include "session/MouseHold.h"

#include <unistd.h>

#include "shell/AppInstance.h"

namespace quorvel {

bool MouseHeldByAnotherProcess() {
    const int gui = RunningGuiProcess();
    return gui != 0 && gui != static_cast<int>(getpid());
}

}  // namespace quorvel
