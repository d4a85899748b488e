#include "files/FileInput.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "support/XmlDoc.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

FileResult Refuse(FileStatus status, std::string message) { return FileResult{status, std::move(message)}; }

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

FileResult ReadImportFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        if (ec && ec != std::errc::no_such_file_or_directory)
            return Refuse(FileStatus::kUnreadable, "cannot read " + Quoted(path) + ": " + ec.message());
        return Refuse(FileStatus::kNotFound, "file not found: " + Quoted(path));
    }
    if (!fs::is_regular_file(status))
        return Refuse(FileStatus::kUnreadable, Quoted(path) + " is not a regular file");
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kMaxFileBytes)
        return Refuse(FileStatus::kTooLarge, Quoted(path) + " is larger than 4 MiB");

    std::ifstream in(path, std::ios::binary);
    if (!in) return Refuse(FileStatus::kUnreadable, "cannot open " + Quoted(path));
    // Read one byte more than the cap, so a file that grew since the size check is still refused.
    std::string data(kMaxFileBytes + 1, '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    if (in.bad()) return Refuse(FileStatus::kUnreadable, "cannot read " + Quoted(path));
    data.resize(static_cast<std::size_t>(in.gcount()));
    if (data.size() > kMaxFileBytes) return Refuse(FileStatus::kTooLarge, Quoted(path) + " is larger than 4 MiB");
    *bytes = std::move(data);
    return {};
}

FileResult LoadImportDocument(std::string_view bytes, std::string_view root, std::string_view source,
                              XmlDoc* doc) {
    if (bytes.size() > kMaxFileBytes)
        return Refuse(FileStatus::kTooLarge, Quoted(source) + " is larger than 4 MiB");
    if (!doc->LoadBytes(bytes))
        return Refuse(FileStatus::kNotWellFormed, Quoted(source) + " is not a well-formed XML document");
    if (!doc->FindNext(root))
        return Refuse(FileStatus::kWrongRoot,
                      Quoted(source) + " has no root element " + Quoted(root) + " (wrong kind of file)");
    return {};
}

int ParseFileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturated either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int AttributeInt(const XmlDoc& doc, std::string_view name) { return ParseFileInt(doc.GetAttribute(name)); }

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

}  // namespace quorvel
