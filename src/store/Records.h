#pragma once
// Rows of the device database in memory. Texts are UTF-8.

#include <string>

namespace quorvel {

// t_profile_data
struct ProfileRecord {
    int profile = 0;
    std::string name;
    std::string app;
    int type = 0;
    int status = 0;  // 1 for the active profile
};

// t_key_macro_data: one button's function when it differs from the default.
struct KeyAssignmentRecord {
    int key_id = 0;
    int profile = 0;
    int fn_layer = 0;
    int key_code = 0;
    int layout_value = 0;
    std::string layout_desc;
    int macro_type = 0;
    int macro_value = 0;
    int macro_value2 = 0;
    int macro_value3 = 0;
    std::string macro_desc;
};

// t_light_data: one lighting mode of a profile.
struct LightModeRecord {
    int light_id = 0;
    int profile = 0;
    std::string name;
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorindex = 0;
    int color_value[7] = {0, 0, 0, 0, 0, 0, 0};  // color_value1 ... color_value7
    int config_func = 0;
    int reserved = 0;  // language text that names the mode
    int status = 0;    // 1 for the active mode of the profile
};

// t_macro_data
struct MacroRecord {
    int macro_id = 0;
    std::string name;
    int play_type = 0;
    int play_times = 1;
    int delay_type = 1;
    int delay_time = 0;
};

// t_macrorecord: one recorded event, record_index = position in the macro.
struct MacroEventRecord {
    int record_id = 0;
    int macro_id = 0;
    int type = 0;
    int record_index = 0;
    int value = 0;
    int delay_time = 0;
    std::string desc;
};

}  // namespace quorvel
