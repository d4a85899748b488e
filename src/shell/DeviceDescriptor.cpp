#include "shell/DeviceDescriptor.h"

#include <fstream>
#include <sstream>

#include "shell/AppContext.h"
#include "shell/ProductConfig.h"
#include "support/TextConv.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace {

bool Flag(const XmlDoc& doc, std::string_view name) { return ParseDec(doc.GetAttribute(name)) == 1; }

// A bit set written in hexadecimal ("0x813") or decimal; nothing when the attribute is absent.
std::optional<int> Bits(const XmlDoc& doc, std::string_view name) {
    const std::string text = doc.GetAttribute(name);
    if (text.empty()) return std::nullopt;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text);
    return ParseDec(text);
}

DescriptorKey ReadKey(const XmlDoc& doc) {
    DescriptorKey key;
    key.name_text = doc.GetAttribute("name");
    key.name = ParseDec(key.name_text);
    key.key_value = ParseDec(doc.GetAttribute("key_value"));
    key.direction = ParseDec(doc.GetAttribute("direction"));
    key.rect = doc.GetAttribute("rect");
    SplitKeyRect(key.rect, &key.x1, &key.x2, &key.y);
    key.func_desc_text = doc.GetAttribute("func_desc");
    key.func_desc = ParseDec(key.func_desc_text);
    key.func_type = ParseDec(doc.GetAttribute("func_type"));
    key.func_value = ParseDec(doc.GetAttribute("func_value"));
    return key;
}

// The model loader's walk: forward through mouse, light_info searched from mouse_info's first child.
void ReadModelPart(XmlDoc& doc, DeviceDescriptor* out) {
    if (doc.FindNext("image_file")) out->mouse_img = doc.GetAttribute("mouse_img");
    if (doc.FindNext("menu")) out->light = Flag(doc, "light");
    if (doc.FindNext("custom")) {
        out->custom = DescriptorCustom{Flag(doc, "show_dpitips"), Flag(doc, "show_savetips"),
                                       Flag(doc, "show_lod"), Flag(doc, "show_sensor")};
    }
    if (doc.FindNext("firmware")) out->firmware_url = doc.GetAttribute("url");
    if (doc.FindNext("mouse_key")) {
        out->mouse_key.emplace();
        if (doc.Descend()) {
            while (doc.FindNext("key")) out->mouse_key->push_back(ReadKey(doc));
            doc.Ascend();
        }
    }
    if (doc.FindNext("mouse_info") && doc.Descend()) {
        if (doc.FindNext("light_info") && doc.Descend()) {
            for (int zone = 0; zone < 6; ++zone) {
                if (doc.FindNext("light_" + std::to_string(zone + 1))) {
                    out->light_enable[zone] = Flag(doc, "enable");
                    out->light_config[zone] = Bits(doc, "config_func");
                }
            }
            doc.Ascend();
        }
        doc.Ascend();
    }
}

// The defaults loader's walk: mouse_info searched from mouse's first child, then forward inside it.
void ReadDefaultsPart(XmlDoc& doc, DeviceDescriptor* out) {
    if (!doc.FindNext("mouse_info") || !doc.Descend()) return;
    out->has_mouse_info = true;
    if (doc.FindNext("dpi_info")) {
        DescriptorDpiInfo info;
        info.default_dpi = doc.GetAttribute("default_dpi");
        info.dpi_count = doc.GetAttribute("dpi_count");
        if (doc.Descend()) {
            for (int level = 0; level < 6; ++level) {
                if (doc.FindNext("dpi_" + std::to_string(level + 1))) {
                    info.dpi[level] = DescriptorDpiLevel{doc.GetAttribute("value"), doc.GetAttribute("color")};
                }
            }
            doc.Ascend();
        }
        out->dpi_info = std::move(info);
    }
    if (doc.FindNext("report_rate")) out->report_rate = doc.GetAttribute("default_value");
    if (doc.FindNext("sleep_light")) out->sleep_light = doc.GetAttribute("value");
    if (doc.FindNext("move_wakeup")) out->move_wakeup = doc.GetAttribute("value");
    if (doc.FindNext("move_closelight")) out->move_closelight = doc.GetAttribute("value");
}

// The two loaders read the file independently, each with its own cursor.
bool Parse(std::string_view bytes, DeviceDescriptor* out) {
    *out = DeviceDescriptor{};
    XmlDoc doc;
    if (!doc.LoadBytes(bytes) || !doc.FindNext("mouse") || !doc.Descend()) return false;
    ReadModelPart(doc, out);
    XmlDoc again;
    if (again.LoadBytes(bytes) && again.FindNext("mouse") && again.Descend()) ReadDefaultsPart(again, out);
    return true;
}

}  // namespace

std::string DescriptorPath(const std::string& programDir, std::string_view device_attr) {
    return JoinPath(programDir, "device/") + std::string(device_attr) + ".xml";
}

bool LoadDeviceDescriptor(const std::string& programDir, std::string_view device_attr, DeviceDescriptor* out) {
    *out = DeviceDescriptor{};
    std::ifstream file(DescriptorPath(programDir, device_attr), std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) return false;
    return Parse(bytes.str(), out);
}

bool ParseDeviceDescriptor(std::string_view bytes, DeviceDescriptor* out) { return Parse(bytes, out); }

int ColorFromText(std::string_view text) {
    // Only the "#" is skipped: dropping any first character turned "FF8000" into the five digits "F8000".
    std::string rest(text.starts_with('#') ? text.substr(1) : text);
    auto part = [&](std::size_t start, std::size_t count) { return ParseHex(Utf8Mid(rest, start, count)) & 0xFF; };
    int red = 0, green = 0, blue = 0;
    switch (Utf8Length(rest)) {
        case 6: red = part(0, 2), green = part(2, 2), blue = part(4, 2); break;
        case 5: red = part(0, 2), green = part(2, 2), blue = part(4, 1); break;
        case 4: red = part(0, 2), green = part(2, 2); break;
        case 3: red = part(0, 2), green = part(2, 1); break;
        case 2: red = part(0, 2); break;
        default: break;
    }
    return red + green * 256 + blue * 65536;
}

void SplitKeyRect(std::string_view rect, int* x1, int* x2, int* y) {
    auto take = [&rect]() {
        std::size_t hash = rect.find('#');
        if (hash == std::string_view::npos) return 0;
        int value = ParseDec(rect.substr(0, hash));
        rect.remove_prefix(hash + 1);
        return value;
    };
    *x1 = take();
    *x2 = take();
    *y = ParseDec(rect);
}

void ApplyModelDescriptor(const DeviceDescriptor& descriptor, ModelState* state) {
    if (descriptor.mouse_img) state->mouse_img = *descriptor.mouse_img;
    if (descriptor.light) state->light = *descriptor.light;
    if (descriptor.custom) {
        state->show_lod = descriptor.custom->show_lod;
        state->show_sensor = descriptor.custom->show_sensor;
    }
    if (descriptor.firmware_url) state->firmware_url = *descriptor.firmware_url;
    if (descriptor.mouse_key) state->keys = *descriptor.mouse_key;
    for (int zone = 0; zone < 6; ++zone) {
        if (!descriptor.light_enable[zone]) continue;
        state->light_zone[zone] = *descriptor.light_enable[zone];
        state->light_config[zone] = descriptor.light_config[zone];
    }
    // Each model's own factory values, never the previous model's.
    state->profile_defaults = DefaultSettings(descriptor, false);
}

std::vector<std::pair<std::string, std::string>> DefaultSettings(const DeviceDescriptor& descriptor,
                                                                 bool dpiOnly) {
    std::vector<std::pair<std::string, std::string>> out;
    if (!descriptor.has_mouse_info) return out;
    if (descriptor.dpi_info) {
        const DescriptorDpiInfo& info = *descriptor.dpi_info;
        out.emplace_back("dpi_index", info.default_dpi);
        out.emplace_back("dpi_flag", info.dpi_count);
        out.emplace_back("dpi_count", info.dpi_count);
        for (int level = 0; level < 6; ++level) {
            if (!info.dpi[level]) continue;
            std::string prefix = "dpi_group" + std::to_string(level);
            out.emplace_back(prefix + "_value", info.dpi[level]->value);
            out.emplace_back(prefix + "_rgb", std::to_string(ColorFromText(info.dpi[level]->color)));
        }
    }
    if (dpiOnly) return out;
    if (descriptor.report_rate) out.emplace_back("report_rate", *descriptor.report_rate);
    if (descriptor.sleep_light) out.emplace_back("sleep_light", *descriptor.sleep_light);
    if (descriptor.move_wakeup) out.emplace_back("move_wakeup", *descriptor.move_wakeup);
    if (descriptor.move_closelight) out.emplace_back("move_closelight", *descriptor.move_closelight);
    return out;
}

std::optional<int> ReportRateCapability(const DeviceDescriptor& descriptor) {
    if (!descriptor.has_mouse_info || !descriptor.report_rate) return std::nullopt;
    return ParseDec(*descriptor.report_rate) & 0xFF;
}

}  // namespace quorvel
