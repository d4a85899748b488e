// Commands whose core tasks are not wired yet.

#include "cli/Commands.h"

namespace quorvel::cli {

namespace {

int NotYet(Invocation& inv) {
    PrintError("'" + inv.command + "' is not available in this build yet");
    return kExitFailed;
}

}  // namespace

int RunUpdate(Invocation& inv) { return NotYet(inv); }
int RunFirmware(Invocation& inv) { return NotYet(inv); }

}  // namespace quorvel::cli
