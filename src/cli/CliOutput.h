#pragma once
// What quorvelctl prints: data on stdout (text or JSON), messages on stderr. With --json stdout carries
// nothing but the one JSON document of the command.

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace quorvel::cli {

using Json = nlohmann::ordered_json;

// The JSON document on stdout (indented, one trailing newline). Text that is not valid UTF-8 is replaced,
// never thrown about.
void PrintJson(const Json& document);
// One line of text data on stdout.
void PrintLine(std::string_view line);

// "quorvelctl: <message>" on stderr; the message is kept for the JSON error document.
void PrintError(std::string_view message);
// A usage error: "quorvelctl COMMAND: <message>" (no command: "quorvelctl: <message>") and the help hint on
// stderr; kept like PrintError.
void PrintUsageError(std::string_view command, std::string_view message);
// "quorvelctl: <message>" on stderr: what the program is about to do (not an error).
void PrintNotice(std::string_view message);
// "quorvelctl: warning: <message>" on stderr.
void PrintWarning(std::string_view message);

// With --json, a command that fails still prints one JSON document: its own (with an "error" member), or
// {"error": {"message": ..., "exit": N}} from the messages printed so far.
bool JsonDocumentPrinted();
std::string ErrorMessages();  // every error printed so far, "; " between them
Json ErrorJson(const std::string& message, int exit);
// The error document, unless the command printed its own.
void PrintErrorDocument(int exit);

// Rows of cells as aligned columns (widths counted in characters); the first row is the header.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows, size_t indent = 0);

// "#RRGGBB" of a stored colour (R + 256*G + 65536*B).
std::string ColourHex(int colour);
// "1.05" for a release number 0x0105 (its "%X" text with a dot before the last two digits).
std::string VersionText(unsigned release);

}  // namespace quorvel::cli
