// Commands whose page actions are not wired yet.

#include "cli/Commands.h"

namespace quorvel::cli {

namespace {

int NotYet(Invocation& inv) {
    PrintError("'" + inv.command + "' is not available in this build yet");
    return kExitFailed;
}

}  // namespace

int RunReset(Invocation& inv) { return NotYet(inv); }
int RunButton(Invocation& inv) { return NotYet(inv); }
int RunButtonsReset(Invocation& inv) { return NotYet(inv); }
int RunLight(Invocation& inv) { return NotYet(inv); }
int RunProfile(Invocation& inv) { return NotYet(inv); }
int RunMacro(Invocation& inv) { return NotYet(inv); }
int RunUpdate(Invocation& inv) { return NotYet(inv); }
int RunFirmware(Invocation& inv) { return NotYet(inv); }

}  // namespace quorvel::cli
