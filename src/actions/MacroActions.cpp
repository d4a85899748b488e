#include "actions/MacroActions.h"

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "files/MacroFile.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

constexpr int kCustomText = 351;
constexpr int kCopyText = 31;

std::optional<std::string> DatabaseProblem(ActionContext& ctx) {
    if (!Db(ctx).IsOpen()) return "no device database is open (no mouse model selected yet)";
    return std::nullopt;
}

std::string NoMacro(int macroId) {
    return "no macro with id " + std::to_string(macroId);
}

MacroInfo InfoOf(const ActionContext& ctx, const MacroRecord& record) {
    return {record, ShownMacroName(ctx, record.name)};
}

ActionResult FromFileResult(const FileResult& file) {
    ActionResult result;
    result.ok = file.ok();
    result.message = file.message;
    return result;
}

ActionResult FromImport(ActionContext& ctx, const MacroImportResult& imported, std::vector<MacroInfo>* out) {
    ActionResult result = FromFileResult(imported);
    if (out != nullptr) {
        out->clear();
        for (const ImportedMacro& m : imported.macros) {
            MacroRecord record;
            if (Db(ctx).GetMacro(m.macroId, record)) out->push_back(InfoOf(ctx, record));
        }
    }
    if (imported.skippedMacros > 0 || imported.skippedEvents > 0)
        AddNote(result, std::to_string(imported.skippedMacros) + " macro(s) and " +
                            std::to_string(imported.skippedEvents) + " event(s) were not stored");
    return result;
}

}  // namespace

std::string ShownMacroName(const ActionContext& ctx, const std::string& storedName) {
    std::string name = storedName;
    if (name.starts_with("Custom")) {
        name = ctx.Text(kCustomText) + name.substr(6);
    } else if (name.starts_with("自定义")) {
        name = ctx.Text(kCustomText) + name.substr(std::string_view("自定义").size());
    }
    for (std::string_view word : {std::string_view("Copy"), std::string_view("复制")}) {
        if (name.ends_with(word)) {
            name = JoinWithBlank(name.substr(0, name.find(word)), ctx.Text(kCopyText));
            break;
        }
    }
    return name;
}

std::string ButtonsPlayingMacro(ActionContext& ctx, int macroId) {
    std::vector<ProfileRecord> profiles;
    Db(ctx).ListProfiles(profiles);
    std::string text;
    for (const ProfileRecord& p : profiles) {
        std::vector<KeyAssignmentRecord> rows;
        Db(ctx).ListKeyAssignments(p.profile, rows);
        std::string keys;
        for (const KeyAssignmentRecord& row : rows) {
            if (row.macro_type == kMacroFunction && row.macro_value == macroId)
                keys += (keys.empty() ? "" : ", ") + std::to_string(row.key_code);
        }
        if (!keys.empty())
            text += (text.empty() ? "" : "; ") + ("profile " + std::to_string(p.profile) + ": " + keys);
    }
    return text;
}

std::vector<DeviceTaskRequest> MacroResendRequests(ActionContext& ctx, int macroId) {
    std::vector<DeviceTaskRequest> requests;
    std::vector<KeyAssignmentRecord> rows;
    Db(ctx).ListKeyAssignments(ctx.Profile(), rows);
    for (const KeyAssignmentRecord& row : rows) {
        if (row.macro_type != kMacroFunction || row.macro_value != macroId) continue;
        DeviceTaskRequest request = PageRequest(ctx, kTaskWriteKeys);
        request.keySlot = row.key_code;
        request.macroSlot = row.key_code;
        requests.push_back(request);
    }
    return requests;
}

std::vector<MissingMacroAssignment> AssignmentsWithoutMacro(ActionContext& ctx, int profile) {
    std::vector<MissingMacroAssignment> missing;
    std::vector<KeyAssignmentRecord> rows;
    Db(ctx).ListKeyAssignments(profile, rows);
    for (const KeyAssignmentRecord& row : rows) {
        MacroRecord macro;
        if (row.macro_type == kMacroFunction && !Db(ctx).GetMacro(row.macro_value, macro))
            missing.push_back({row.key_code, row.macro_value, row.macro_desc});
    }
    return missing;
}

ActionResult ListMacros(ActionContext& ctx, std::vector<MacroInfo>* out) {
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    std::vector<MacroRecord> records;
    Db(ctx).ListMacros(records);
    if (out != nullptr) {
        out->clear();
        for (const MacroRecord& r : records) out->push_back(InfoOf(ctx, r));
    }
    return Accepted();
}

ActionResult ShowMacro(ActionContext& ctx, int macroId, MacroDetails* out) {
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    MacroRecord record;
    if (!Db(ctx).GetMacro(macroId, record)) return ActionResult::Refused(NoMacro(macroId));
    if (out != nullptr) {
        out->info = InfoOf(ctx, record);
        Db(ctx).ListMacroEvents(macroId, out->events);
    }
    return Accepted();
}

ActionResult NewMacro(ActionContext& ctx, const std::optional<std::string>& name, int* macroId) {
    if (name && name->empty()) return ActionResult::Refused("a macro name cannot be empty");
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    std::string chosen;
    if (name) {
        chosen = *name;
    } else {
        // As the editor names a new macro: the word for "custom" and the list's length plus one.
        std::vector<MacroRecord> records;
        const int count = Db(ctx).ListMacros(records);
        chosen = ctx.Text(kCustomText) + " " + std::to_string(count + 1);
    }
    const int id = Db(ctx).AddMacro(chosen);
    if (id <= 0) {
        ActionResult failed;
        failed.message = "the device database did not store the new macro";
        return failed;
    }
    if (macroId != nullptr) *macroId = id;
    return Accepted();
}

ActionResult RenameMacro(ActionContext& ctx, int macroId, const std::string& name) {
    if (name.empty()) return ActionResult::Refused("a macro name cannot be empty");
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    MacroRecord record;
    if (!Db(ctx).GetMacro(macroId, record)) return ActionResult::Refused(NoMacro(macroId));
    // The buttons of the current profile that play it show the new name; other profiles keep the old one.
    const int profile = ctx.Profile();
    std::vector<KeyAssignmentRecord> rows;
    Db(ctx).ListKeyAssignments(profile, rows);
    for (const KeyAssignmentRecord& row : rows) {
        if (row.macro_type == kMacroFunction && row.macro_value == macroId)
            Db(ctx).SetKeyDescription(profile, row.key_code, name);
    }
    if (!Db(ctx).RenameMacro(macroId, name)) {
        ActionResult failed;
        failed.message = "the device database did not store the new name";
        return failed;
    }
    return Accepted();
}

ActionResult DeleteMacro(ActionContext& ctx, int macroId) {
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    MacroRecord record;
    if (macroId <= 0 || !Db(ctx).GetMacro(macroId, record)) return ActionResult::Refused(NoMacro(macroId));
    if (!Db(ctx).DeleteMacro(macroId)) {
        ActionResult failed;
        failed.message = "the device database did not delete the macro";
        return failed;
    }
    ActionResult result = Accepted();
    const std::string buttons = ButtonsPlayingMacro(ctx, macroId);
    if (!buttons.empty())
        AddNote(result, "buttons still assigned to the deleted macro (" + buttons +
                            ") keep their previous function on the mouse");
    return result;
}

ActionResult ImportMacroFile(ActionContext& ctx, const std::string& path, std::vector<MacroInfo>* imported,
                             FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    const MacroImportResult file = ImportSingleMacroFile(Db(ctx), path);
    if (status != nullptr) *status = file.status;
    return FromImport(ctx, file, imported);
}

ActionResult ImportAllMacrosFile(ActionContext& ctx, const std::string& path,
                                 std::vector<MacroInfo>* imported, FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    const MacroImportResult file = ImportMultiMacroFile(Db(ctx), path);
    if (status != nullptr) *status = file.status;
    return FromImport(ctx, file, imported);
}

ActionResult ExportMacroFile(ActionContext& ctx, int macroId, const std::string& path, FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    MacroRecord record;
    if (!Db(ctx).GetMacro(macroId, record)) return ActionResult::Refused(NoMacro(macroId));
    // The file carries the name as the list shows it.
    const FileResult file = ExportSingleMacroFile(Db(ctx), macroId, ShownMacroName(ctx, record.name), path);
    if (status != nullptr) *status = file.status;
    return FromFileResult(file);
}

ActionResult ExportAllMacrosFile(ActionContext& ctx, const std::string& path, FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    const FileResult file = ExportMultiMacroFile(Db(ctx), path);
    if (status != nullptr) *status = file.status;
    return FromFileResult(file);
}

}  // namespace quorvel
