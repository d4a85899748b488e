#pragma once
// "config.xml": the product this installation serves. Read in two independent passes: the start-up pass
// (languages, caption) and the main-window pass (models, connection modes, software version, addresses).

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One model (mode fields empty) or one connection mode of a model.
struct DeviceEntry {
    std::string name;
    int device_type = 0;
    std::string device_attr;
    std::string image;  // image folder + the image attribute
    int mode = 0;       // 0 wired, 1 through the receiver
    int vid = 0;
    int pid = 0;
    std::string dev_id;
    std::string desc;
    std::string hid_interface;
};

struct StartupConfig {
    std::set<int> languages;   // offered LCIDs, ascending, each once
    bool hasLanguageInfo = false;  // the language.info element was found
    int defaultLanguage = 0;   // default_lan
    bool hasCaption = false;   // the software element was found
    std::string caption;       // becomes the device name
};

struct ProductConfig {
    std::vector<DeviceEntry> models;  // one per mouse, document order
    std::vector<DeviceEntry> modes;   // one per mode, carrying its mouse's fields
    std::string version;
    std::string website, feedback, qa, store, upgrade;
};

// "dec" and "hex" number forms of the file (wtoi / wcstol base 16 rules).
int ParseDec(std::string_view text);
int ParseHex(std::string_view text);

// The start-up pass over <programDir>/config.xml; false (and *out cleared) when the file cannot be read.
bool ReadStartupConfig(const std::string& programDir, StartupConfig* out);
// The main-window pass; imageFolder is the skin's "device" folder prefixed to each image attribute.
bool ReadProductConfig(const std::string& programDir, const std::string& imageFolder, ProductConfig* out);

// The start-up pass with its effects: the offered-language set is replaced (emptied when the file cannot
// be read), the current language is set from default_lan and the device name from the caption when
// their elements are found. Returns what ReadStartupConfig returned.
bool RunStartupPass(const std::string& programDir);

// The skin's image folder: "<programDir>/skins/<theme>/device/".
std::string SkinImageFolder(const std::string& programDir, const std::string& theme);

// First model with this device type, or null.
const DeviceEntry* FindModel(const ProductConfig& config, int deviceType);

}  // namespace quorvel
