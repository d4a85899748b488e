#include "cli/CliOutput.h"

#include <algorithm>
#include <cstdio>

#include "support/TextConv.h"

namespace quorvel::cli {

namespace {

// What this run printed: the process prints one command's output, so this is process-wide.
bool jsonPrinted = false;
std::vector<std::string> errors;

}  // namespace

void PrintJson(const Json& document) {
    const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    jsonPrinted = true;
}

void PrintLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintError(std::string_view message) {
    std::fflush(stdout);
    std::fprintf(stderr, "quorvelctl: %.*s\n", static_cast<int>(message.size()), message.data());
    errors.emplace_back(message);
}

void PrintUsageError(std::string_view command, std::string_view message) {
    std::fflush(stdout);
    const std::string where = command.empty() ? std::string() : " " + std::string(command);
    std::fprintf(stderr, "quorvelctl%s: %.*s\nTry 'quorvelctl%s --help'.\n", where.c_str(),
                 static_cast<int>(message.size()), message.data(), where.c_str());
    errors.push_back(command.empty() ? std::string(message)
                                     : std::string(command) + ": " + std::string(message));
}

bool JsonDocumentPrinted() {
    return jsonPrinted;
}

std::string ErrorMessages() {
    std::string text;
    for (const std::string& e : errors) text += (text.empty() ? "" : "; ") + e;
    return text;
}

Json ErrorJson(const std::string& message, int exit) {
    return {{"message", message}, {"exit", exit}};
}

void PrintErrorDocument(int exit) {
    if (jsonPrinted) return;
    const std::string message = ErrorMessages();
    PrintJson({{"error", ErrorJson(message.empty() ? "failed" : message, exit)}});
}

void PrintNotice(std::string_view message) {
    std::fflush(stdout);
    std::fprintf(stderr, "quorvelctl: %.*s\n", static_cast<int>(message.size()), message.data());
}

void PrintWarning(std::string_view message) {
    std::fflush(stdout);
    std::fprintf(stderr, "quorvelctl: warning: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::string FormatTable(const std::vector<std::vector<std::string>>& rows, size_t indent) {
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Utf8Length(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line(indent, ' ');
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(widths[c] - Utf8Length(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line;
        out += '\n';
    }
    return out;
}

std::string ColourHex(int colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

std::string VersionText(unsigned release) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", release);
    std::string text = hex;
    if (text.size() < 3) return text;
    return text.substr(0, text.size() - 2) + "." + text.substr(text.size() - 2);
}

}  // namespace quorvel::cli
