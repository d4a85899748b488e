#include "store/AppList.h"

#include <algorithm>

namespace quorvel {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

bool SameAppName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::vector<std::string> ParseAppList(std::string_view column) {
    std::vector<std::string> apps;
    while (!column.empty()) {
        const size_t end = column.find('\n');
        const std::string_view name = Trimmed(column.substr(0, end));
        column.remove_prefix(end == std::string_view::npos ? column.size() : end + 1);
        if (name.empty()) continue;
        const bool known =
            std::any_of(apps.begin(), apps.end(), [&](const std::string& a) { return SameAppName(a, name); });
        if (!known) apps.emplace_back(name);
    }
    return apps;
}

std::string FormatAppList(const std::vector<std::string>& apps) {
    std::string column;
    for (const std::string& app : apps) {
        if (!column.empty()) column += '\n';
        column += app;
    }
    return column;
}

std::string AppNameProblem(std::string_view name) {
    if (Trimmed(name).empty()) return "an application name cannot be empty";
    if (name.size() > kMaxAppNameBytes)
        return "an application name has at most " + std::to_string(kMaxAppNameBytes) + " bytes";
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f)
            return "an application name cannot hold a control character (such as a newline)";
    }
    return {};
}

}  // namespace quorvel
