#include "actions/ProfileActions.h"

#include "actions/ActionDatabase.h"
#include "actions/ActionSupport.h"
#include "device/PageState.h"
#include "device/ProfilePreparation.h"
#include "device/Tasks.h"
#include "files/ProfileFile.h"
#include "shell/AppContext.h"
#include "store/AppList.h"
#include "store/DeviceDatabase.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

constexpr int kProfileCount = 4;
constexpr int kProfileWordText = 61;
// The model key of the factory reset when no model entry has the current device type.
constexpr const char* kFallbackModelKey = "Quorvel";

std::optional<std::string> DatabaseProblem(ActionContext& ctx) {
    if (!Db(ctx).IsOpen()) return "no device database is open (no mouse model selected yet)";
    return std::nullopt;
}

// Why `profile` cannot be used: out of range, no database, or not stored.
std::optional<std::string> ProfileNumberProblem(ActionContext& ctx, int profile) {
    if (profile < 1 || profile > kProfileCount)
        return "profile " + std::to_string(profile) + " does not exist (profiles are 1-4)";
    if (auto problem = DatabaseProblem(ctx)) return problem;
    std::string name;
    if (!Db(ctx).GetProfileName(profile, name))
        return "profile " + std::to_string(profile) + " is not in the device database";
    return std::nullopt;
}

std::string ModelKeyOf(ActionContext& ctx) {
    const int type = ctx.core.CurrentDeviceType();
    for (const DeviceEntry& model : ctx.core.Models()) {
        if (model.device_type == type) return model.device_attr;
    }
    return kFallbackModelKey;
}

// Task 5 for the profile: the whole profile, every button included.
DeviceTaskRequest WholeProfileRequest(ActionContext& ctx) {
    DeviceTaskRequest request = PageRequest(ctx, kTaskWriteProfile);
    request.keySlot = ctx.core.Snapshot().currentKeySlot;
    return request;
}

ActionResult FromFileResult(const FileResult& file, FileStatus* status) {
    if (status != nullptr) *status = file.status;
    ActionResult result;
    result.ok = file.ok();
    result.message = file.message;
    return result;
}

}  // namespace

std::string ShownProfileName(const ActionContext& ctx, const std::string& storedName) {
    for (std::string_view prefix : {std::string_view("Profile"), std::string_view("配置")}) {
        if (storedName.starts_with(prefix))
            return JoinWithBlank(ctx.Text(kProfileWordText),
                                 std::string_view(storedName).substr(prefix.size()));
    }
    return storedName;
}

bool ReadProfileName(ActionContext& ctx, int profile, std::string* name) {
    return Db(ctx).GetProfileName(profile, *name);
}

ActionResult ListProfiles(ActionContext& ctx, std::vector<ProfileInfo>* out) {
    if (auto problem = DatabaseProblem(ctx)) return ActionResult::Refused(*problem);
    std::vector<ProfileRecord> records;
    Db(ctx).ListProfiles(records);
    if (out != nullptr) {
        out->clear();
        for (const ProfileRecord& r : records)
            out->push_back(
                {r.profile, r.name, ShownProfileName(ctx, r.name), r.status == 1, ParseAppList(r.app)});
    }
    return Accepted();
}

ActionResult SwitchProfile(ActionContext& ctx, int profile) {
    if (auto problem = ProfileNumberProblem(ctx, profile)) return ActionResult::Refused(*problem);
    ctx.core.SetCurrentProfile(profile);
    if (!Db(ctx).SetActiveProfile(profile)) {
        ActionResult failed;
        failed.message = "the device database did not make profile " + std::to_string(profile) + " active";
        return failed;
    }
    return Accepted({WholeProfileRequest(ctx)});
}

ActionResult RenameProfile(ActionContext& ctx, int profile, const std::string& name) {
    if (name.empty()) return ActionResult::Refused("a profile name cannot be empty");
    if (auto problem = ProfileNumberProblem(ctx, profile)) return ActionResult::Refused(*problem);
    if (!Db(ctx).RenameProfile(profile, name)) {
        ActionResult failed;
        failed.message = "the device database did not store the new name";
        return failed;
    }
    return Accepted();
}

ActionResult ExportProfileFile(ActionContext& ctx, const std::string& path, FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = ProfileNumberProblem(ctx, ctx.Profile())) return ActionResult::Refused(*problem);
    ProfileExportOptions options;
    options.keyProfile = ctx.Profile();
    options.activeProfile = ctx.Profile();
    options.hasLighting = ctx.core.Snapshot().model.light;
    return FromFileResult(ExportProfile(Db(ctx), options, path), status);
}

ActionResult ImportProfileFile(ActionContext& ctx, const std::string& path, FileStatus* status) {
    if (status != nullptr) *status = FileStatus::kOk;
    if (auto problem = ProfileNumberProblem(ctx, ctx.Profile())) return ActionResult::Refused(*problem);
    ProfileImportOptions options;
    options.activeProfile = ctx.Profile();
    options.hasLighting = ctx.core.Snapshot().model.light;
    ActionResult result = FromFileResult(ImportProfile(Db(ctx), options, path), status);
    if (result.ok) result.tasks = {WholeProfileRequest(ctx)};
    return result;
}

ActionResult FactoryReset(ActionContext& ctx) {
    if (!ctx.core.Snapshot().connected)
        return ActionResult::Refused(
            "no mouse is connected: the factory state can only be restored with the mouse");
    const std::string modelKey = ModelKeyOf(ctx);
    // The mouse's configuration is read again after the reset, even when it was read before in this run.
    ctx.core.ForgetReadDevices();
    CreateFolder(DatabaseFolder());
    if (!Db(ctx).RecreateDatabase(DataFolder(), modelKey)) {
        ActionResult failed;
        failed.message = "the device database of " + modelKey + " could not be created again";
        return failed;
    }
    // The recreated database gets its profiles and the active one's lighting rows at once, so the pages
    // read a whole database while task 21 waits in the queue (the task prepares them again itself).
    const PreparedProfile prepared =
        PrepareActiveProfile(Db(ctx), ctx.core.Snapshot().model, ctx.Text(kProfileWordText));
    if (prepared.profile > 0) {
        ctx.core.SetCurrentProfile(prepared.profile);
        if (ctx.core.Snapshot().model.light) ctx.core.SetCurrentLightMode(prepared.lightMode);
    }
    return Accepted({PageRequest(ctx, kTaskFactoryReset)});
}

}  // namespace quorvel
