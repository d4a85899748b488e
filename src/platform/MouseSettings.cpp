#include "platform/MouseSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace quorvel {

namespace {

struct SettingsTool {
    const char* desktop;  // as XDG_CURRENT_DESKTOP names it
    std::vector<std::string> command;
};

// In the order they are tried when the running desktop has none of its own.
const std::vector<SettingsTool>& Tools() {
    static const std::vector<SettingsTool> tools = {
        {"GNOME", {"gnome-control-center", "mouse"}},
        {"KDE", {"systemsettings", "kcm_mouse"}},   // Plasma 6
        {"KDE", {"systemsettings5", "kcm_mouse"}},  // Plasma 5
        {"XFCE", {"xfce4-mouse-settings"}},
        {"X-Cinnamon", {"cinnamon-settings", "mouse"}},
        {"MATE", {"mate-mouse-properties"}},
        {"Budgie", {"budgie-control-center", "mouse"}},
        {"LXQt", {"lxqt-config-input"}},
        {"LXDE", {"lxinput"}},
    };
    return tools;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(separator, start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start) parts.push_back(text.substr(start, stop - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::string FindOnPath(std::string_view program, std::string_view path) {
    if (program.empty() || program.find('/') != std::string_view::npos) return {};
    for (std::string_view dir : Split(path, ':')) {
        std::string file = std::string(dir) + "/" + std::string(program);
        struct stat info {};
        if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(file.c_str(), X_OK) == 0)
            return file;
    }
    return {};
}

std::vector<std::string> MouseSettingsCommand(std::string_view path, std::string_view desktops) {
    // The running desktop's tools first (a machine may carry several desktops), then all in order.
    for (std::string_view desktop : Split(desktops, ':')) {
        for (const SettingsTool& tool : Tools()) {
            if (SameName(tool.desktop, desktop) && !FindOnPath(tool.command[0], path).empty())
                return tool.command;
        }
    }
    for (const SettingsTool& tool : Tools()) {
        if (!FindOnPath(tool.command[0], path).empty()) return tool.command;
    }
    return {};
}

std::vector<std::string> MouseSettingsCommand() {
    const char* path = std::getenv("PATH");
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    return MouseSettingsCommand(path ? path : "/usr/local/bin:/usr/bin:/bin", desktops ? desktops : "");
}

}  // namespace quorvel
