#include "actions/ActionSupport.h"

#include "actions/ActionDatabase.h"
#include "device/PageState.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel {

std::optional<std::string> ProfileProblem(ActionContext& ctx) {
    if (!Db(ctx).IsOpen()) return "no device database is open (no mouse model selected yet)";
    const int profile = ctx.Profile();
    std::string value;
    // Every profile gets a dpi_count row when it is created; a number without it is no profile.
    if (!Db(ctx).GetConfig(profile, "dpi_count", value))
        return "profile " + std::to_string(profile) + " has no settings in the device database";
    return std::nullopt;
}

int ReadSetting(ActionContext& ctx, std::string_view key) {
    return SettingToInt(ReadSettingText(ctx, key));
}

std::string ReadSettingText(ActionContext& ctx, std::string_view key) {
    std::string value;
    Db(ctx).GetConfig(ctx.Profile(), key, value);
    return value;
}

bool StoreSetting(ActionContext& ctx, ActionResult& result, const std::string& key, const std::string& value) {
    if (!Db(ctx).SetConfig(ctx.Profile(), key, value)) {
        result.ok = false;
        result.tasks.clear();
        AddNote(result, "the device database did not store " + key);
        return false;
    }
    result.stored.emplace_back(key, value);
    return true;
}

bool StoreSetting(ActionContext& ctx, ActionResult& result, const std::string& key, int value) {
    return StoreSetting(ctx, result, key, std::to_string(value));
}

bool DeviceWasRead(const DeviceState& state) {
    return state.currentDeviceType != 0 && state.readDeviceTypes.count(state.currentDeviceType) != 0;
}

void AddNote(ActionResult& result, const std::string& note) {
    if (!result.message.empty()) result.message += "; ";
    result.message += note;
}

DeviceTaskRequest PageRequest(ActionContext& ctx, DeviceTask task) {
    DeviceTaskRequest request(task);
    request.deviceType = ctx.core.CurrentDeviceType();
    request.profile = ctx.Profile();
    return request;
}

ActionResult Accepted(std::vector<DeviceTaskRequest> tasks) {
    ActionResult r;
    r.ok = true;
    r.tasks = std::move(tasks);
    return r;
}

}  // namespace quorvel
