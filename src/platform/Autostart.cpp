#include "platform/Autostart.h"

#include <unistd.h>

#include <cerrno>

#include "platform/PrefStore.h"
#include "platform/Xdg.h"

namespace quorvel {

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string AutostartFolder() {
    std::string config = XdgConfigHome();
    return config.empty() ? std::string() : config + "/autostart";
}

// One Exec argument: quoted when it holds a reserved character; '%' doubled so it is no field code.
std::string ExecArgument(const std::string& argument) {
    bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
    std::string out;
    if (quote) out += '"';
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    if (quote) out += '"';
    return out;
}

// The escapes of a desktop-entry string value.
std::string EscapeStringValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string AutostartEntryPath(std::string_view name) {
    std::string folder = AutostartFolder();
    if (folder.empty()) return {};
    return folder + "/" + SafePathSegment(name) + ".desktop";
}

std::string DesktopExecValue(const std::string& executable, const std::vector<std::string>& arguments) {
    std::string line = ExecArgument(executable);
    for (const std::string& argument : arguments) {
        line += ' ';
        line += ExecArgument(argument);
    }
    return EscapeStringValue(line);
}

std::string DesktopEntryText(std::string_view name, const std::string& executable,
                             const std::vector<std::string>& arguments) {
    std::string text = "[Desktop Entry]\nType=Application\nName=";
    text += EscapeStringValue(name);
    text += "\nExec=";
    text += DesktopExecValue(executable, arguments);
    text += "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    return text;
}

bool WriteAutostartEntry(std::string_view name, const std::string& executable,
                         const std::vector<std::string>& arguments) {
    std::string path = AutostartEntryPath(name);
    if (path.empty() || executable.empty() || !MakeDirectories(AutostartFolder())) return false;
    return WriteFileAtomically(path, DesktopEntryText(name, executable, arguments));
}

bool RemoveAutostartEntry(std::string_view name) {
    std::string path = AutostartEntryPath(name);
    if (path.empty()) return false;
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool AutostartEntryExists(std::string_view name) {
    std::string path = AutostartEntryPath(name);
    return !path.empty() && access(path.c_str(), F_OK) == 0;
}

}  // namespace quorvel
