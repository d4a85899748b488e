#pragma once
// The lighting page: the modes of the current profile, choosing one and changing its row (brightness,
// speed, colour), and the lighting reset. Only for models whose descriptor enables lighting.

#include <optional>
#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "store/Records.h"

namespace quorvel {

// What a mode's config_func lets the page change.
enum LightSection : int {
    kLightBrightness = 0x1,
    kLightSpeed = 0x2,
    kLightSingleColour = 0x10,
    kLightColourRow = 0x800,
};

// The positions of the brightness and speed settings, the same in both front ends. Brightness 0-4 is shown
// as 0 % to 100 %; speed takes as many steps, with 2 (the default) in the middle, well inside the four
// bits the mouse takes it in.
inline constexpr int kLightBrightnessMin = 0;
inline constexpr int kLightBrightnessMax = 4;
inline constexpr int kLightSpeedMin = 0;
inline constexpr int kLightSpeedMax = 4;

struct LightModeInfo {
    LightModeRecord row;
    std::string caption;  // language text `reserved`
    bool active = false;
};

// The modes in list order; the profile's default rows are created first when it has none, as the page's
// refresh does.
ActionResult ListLightModes(ActionContext& ctx, std::vector<LightModeInfo>* out);

struct LightChange {
    std::optional<int> brightness;  // kLightBrightnessMin-Max; the mode must offer brightness
    std::optional<int> speed;       // kLightSpeedMin-Max; the mode must offer speed
    std::optional<int> colour;      // R + 256*G + 65536*B; the mode must offer a colour
    // With the seven-colour row: the slot (1-7) that takes the colour; unset: the first slot.
    std::optional<int> colourSlot;
};

// Makes `mode` the shown and active mode of the profile, then applies the change to its row. Task 8.
ActionResult ChangeLightMode(ActionContext& ctx, int mode, const LightChange& change = {});

// The mouse's own lighting back (task 18).
ActionResult ResetLighting(ActionContext& ctx);

// The active lighting mode of the current profile, as stored.
int ActiveLightMode(ActionContext& ctx);
// The stored row of a mode of the current profile; false when there is none (or no database yet).
bool ReadLightMode(ActionContext& ctx, int mode, LightModeRecord* row);

}  // namespace quorvel
