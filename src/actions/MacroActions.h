#pragma once
// The macro editor's list operations: macros belong to the device, not to a profile. Nothing here is
// sent to the mouse: a macro reaches it when it is assigned to a button.

#include <optional>
#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "files/FileResult.h"
#include "store/Records.h"

namespace quorvel {

struct MacroInfo {
    MacroRecord macro;
    std::string shownName;  // as the macro list shows it (default names in the current language)
};
ActionResult ListMacros(ActionContext& ctx, std::vector<MacroInfo>* out);

// The macro-list display rule: "Custom"/"自定义" at the start becomes text 351; a trailing "Copy"/"复制"
// becomes text 31, with one blank before it ("Macro Copy" shows as "Macro <text 31>").
std::string ShownMacroName(const ActionContext& ctx, const std::string& storedName);

// Buttons of every profile whose assignment plays the macro: "profile 1: 3, 4; profile 2: 5"; empty when
// none does.
std::string ButtonsPlayingMacro(ActionContext& ctx, int macroId);
// The requests that send an edited macro again to every button of the current profile that plays it (its
// events to the button's macro slot, then the key write), so the mouse plays what was edited. Empty when
// no button of the current profile plays it.
std::vector<DeviceTaskRequest> MacroResendRequests(ActionContext& ctx, int macroId);

// Buttons of a profile assigned to a macro this model's library does not have (a profile file made on
// another model, or a macro deleted since): the mouse keeps their previous function.
struct MissingMacroAssignment {
    int keyCode = 0;
    int macroId = 0;
    std::string description;  // the assignment's macro_desc (the macro's name where it was made)
};
std::vector<MissingMacroAssignment> AssignmentsWithoutMacro(ActionContext& ctx, int profile);

struct MacroDetails {
    MacroInfo info;
    std::vector<MacroEventRecord> events;  // by record_index
};
ActionResult ShowMacro(ActionContext& ctx, int macroId, MacroDetails* out);

// A new macro; unset name: "<text 351> <number of macros + 1>" as the editor names it. *macroId gets the
// new number.
ActionResult NewMacro(ActionContext& ctx, const std::optional<std::string>& name, int* macroId = nullptr);

// A new name (not empty); the buttons of the current profile that play the macro show it too.
ActionResult RenameMacro(ActionContext& ctx, int macroId, const std::string& name);

// The macro and its events. Buttons that play it keep their assignment (the mouse keeps their previous
// code); the message names them.
ActionResult DeleteMacro(ActionContext& ctx, int macroId);

// Macro files. Imports add macros under new numbers (*imported gets them, file order). *status gets what
// the file operation reported (kOk also when the action was refused before the file was touched), so a
// front end can word the failure in its own language.
ActionResult ImportMacroFile(ActionContext& ctx, const std::string& path,
                             std::vector<MacroInfo>* imported = nullptr, FileStatus* status = nullptr);
ActionResult ImportAllMacrosFile(ActionContext& ctx, const std::string& path,
                                 std::vector<MacroInfo>* imported = nullptr, FileStatus* status = nullptr);
ActionResult ExportMacroFile(ActionContext& ctx, int macroId, const std::string& path,
                             FileStatus* status = nullptr);
ActionResult ExportAllMacrosFile(ActionContext& ctx, const std::string& path, FileStatus* status = nullptr);

}  // namespace quorvel
