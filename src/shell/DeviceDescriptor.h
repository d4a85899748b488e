#pragma once
// The device descriptor "device/<device_attr>.xml": what a model has and how it starts out.
// Read as data here; the model loader (picture, switches, buttons, zones) and the defaults loader (factory
// settings of the current profile) apply it. An element that is absent from the file is an empty optional:
// the model state it would set keeps its previous value.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

// One button of mouse_key/key. Numbers are the "dec" reading of the attribute; *_text keep the raw text.
struct DescriptorKey {
    int name = 0;            // text id of the caption (section "LAN")
    std::string name_text;   // raw attribute text: the layout_desc of the default assignment
    int key_value = 0;       // key code of the button
    int direction = 0;       // side of the caption, handed to the picture control as is
    std::string rect;        // "x1#x2#y"
    int x1 = 0, x2 = 0, y = 0;  // rect split: the leader line (x1, y) - (x2, y)
    int func_desc = 0;            // text id of the default function's caption
    std::string func_desc_text;   // raw attribute text: the macro_desc of the default assignment
    int func_type = 0;   // default macro_type
    int func_value = 0;  // default macro_value
};

struct DescriptorCustom {
    bool show_dpitips = false;
    bool show_savetips = false;
    bool show_lod = false;
    bool show_sensor = false;
};

// mouse_info/dpi_info/dpi_N: texts stored unchanged; color is converted with ColorFromText.
struct DescriptorDpiLevel {
    std::string value;
    std::string color;
};

struct DescriptorDpiInfo {
    std::string default_dpi;  // -> "dpi_index"
    std::string dpi_count;    // -> "dpi_flag" and "dpi_count"
    std::array<std::optional<DescriptorDpiLevel>, 6> dpi;  // dpi_1 .. dpi_6
};

struct DeviceDescriptor {
    // Model loader (walks mouse: image_file, menu, custom, firmware, mouse_key, mouse_info/light_info).
    std::optional<std::string> mouse_img;          // image_file/@mouse_img
    std::optional<bool> light;                     // menu/@light
    std::optional<DescriptorCustom> custom;        // custom
    std::optional<std::string> firmware_url;       // firmware/@url
    std::optional<std::vector<DescriptorKey>> mouse_key;  // present: replaces the button list
    std::array<std::optional<bool>, 6> light_enable;      // light_info/light_N/@enable
    // light_info/light_N/@config_func ("0x813" or decimal): the adjustments the zone's lighting mode
    // offers; absent, the mode keeps the ones it has without a descriptor (LightDefaults).
    std::array<std::optional<int>, 6> light_config;

    // Defaults loader (walks mouse/mouse_info: dpi_info, report_rate, sleep_light, move_wakeup,
    // move_closelight). has_mouse_info false: the defaults loader writes nothing.
    bool has_mouse_info = false;
    std::optional<DescriptorDpiInfo> dpi_info;
    std::optional<std::string> report_rate;      // report_rate/@default_value
    std::optional<std::string> sleep_light;      // sleep_light/@value
    std::optional<std::string> move_wakeup;      // move_wakeup/@value
    std::optional<std::string> move_closelight;  // move_closelight/@value
};

// "<programDir>/device/<device_attr>.xml".
std::string DescriptorPath(const std::string& programDir, std::string_view device_attr);
// Reads the descriptor; false (and *out reset) when the file cannot be loaded or has no mouse root.
bool LoadDeviceDescriptor(const std::string& programDir, std::string_view device_attr, DeviceDescriptor* out);
// Same on document bytes already in memory (tests, fuzzing).
bool ParseDeviceDescriptor(std::string_view bytes, DeviceDescriptor* out);

// "#RRGGBB" -> R + 256*G + 65536*B. A leading "#" is skipped, so "FF8000" is the same colour; shorter
// texts fill from red, missing components are 0.
int ColorFromText(std::string_view text);
// The rect split: "120#40#300" -> x1 120, x2 40, y 300; a missing "#" gives 0 for that coordinate.
void SplitKeyRect(std::string_view rect, int* x1, int* x2, int* y);

// The model switches and lists the model loader keeps between models (initial values as at start).
struct ModelState {
    bool light = true;
    // No behaviour follows the descriptor's show_dpitips and show_savetips any more: both indicators are
    // always shown. The two fields stay true until the window stops reading them.
    bool show_dpitips = true, show_savetips = true;
    bool show_lod = true, show_sensor = true;
    std::string mouse_img;
    std::string firmware_url;
    std::vector<DescriptorKey> keys;  // the default assignments, document order
    std::array<bool, 6> light_zone{};
    std::array<std::optional<int>, 6> light_config{};  // config_func of each zone's mode, when given
    // The factory settings a new profile starts with (DefaultSettings of the whole descriptor).
    std::vector<std::pair<std::string, std::string>> profile_defaults;
    int report_rate_capability = 0;   // low 8 bits of report_rate's dec value
};
// Applies what the descriptor holds; everything it lacks keeps the previous model's value.
// The report-rate capability is left alone: the defaults loader sets it (ReportRateCapability).
void ApplyModelDescriptor(const DeviceDescriptor& descriptor, ModelState* state);

// The factory settings in the order the defaults loader writes them: (setting name, text).
// dpiOnly: only the DPI part (DPI reset); otherwise also report rate and power options (factory reset).
std::vector<std::pair<std::string, std::string>> DefaultSettings(const DeviceDescriptor& descriptor,
                                                                 bool dpiOnly);
// The report-rate capability from report_rate (low 8 bits of its dec value); nullopt when absent.
std::optional<int> ReportRateCapability(const DeviceDescriptor& descriptor);

}  // namespace quorvel
