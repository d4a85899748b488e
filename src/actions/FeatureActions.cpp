#include "actions/FeatureActions.h"

#include "device/PageState.h"

namespace quorvel {

ModelFeatures ReadModelFeatures(ActionContext& ctx) {
    const DeviceState state = ctx.core.Snapshot();
    return state.currentDeviceType > 0 ? state.features : ModelFeatures{};
}

ModelFeatures ReadModelFeatures(ActionContext& ctx, int deviceType) {
    const DeviceState state = ctx.core.Snapshot();
    const auto found = state.modelFeatures.find(deviceType);
    return found != state.modelFeatures.end() ? found->second : ModelFeatures{};
}

std::optional<int> ReadBatteryLevel(ActionContext& ctx) {
    const DeviceState state = ctx.core.Snapshot();
    if (state.currentDeviceType <= 0) return std::nullopt;
    return ShownBatteryLevel(state.features, state.linkFlag != 0, state.batteryLevel);
}

}  // namespace quorvel
