#pragma once
// What the current mouse model has, for every view that shows a battery, a lighting-dependent or a
// wireless-only setting: the sidebar and home cards, device information, the power rows of the
// performance page, and the command-line tool.

#include <optional>

#include "actions/ActionResult.h"
#include "device/ModelFeatures.h"

namespace quorvel {

// The current model's features (all false before a model is chosen).
ModelFeatures ReadModelFeatures(ActionContext& ctx);
// Any model's, by device type (all false for a type the product does not have).
ModelFeatures ReadModelFeatures(ActionContext& ctx, int deviceType);

// The battery level (percent) of the current mouse as a view shows it: only when its model has a battery
// and the mouse has answered (its link flag is set); nothing otherwise.
std::optional<int> ReadBatteryLevel(ActionContext& ctx);

}  // namespace quorvel
