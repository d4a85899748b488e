#include "files/FileProblem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <pugixml.hpp>

#include "support/XmlEncoding.h"

namespace quorvel {

namespace {

std::string Where(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;  // UTF-8 continuation bytes belong to the character before
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string Lower(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

}  // namespace

std::string XmlSyntaxProblem(std::string_view bytes) {
    // The reader's own view of the text: decoded to UTF-8 as the document loader does.
    const std::string text = DecodeXmlBytes(bytes);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        return Where(text, nul) + ": a NUL character";
    pugi::xml_document doc;
    const unsigned options = pugi::parse_minimal | pugi::parse_fragment | pugi::parse_cdata;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8);
    if (!parsed)
        return Where(text, static_cast<std::size_t>(parsed.offset)) + ": " + Lower(parsed.description());
    int roots = 0;
    for (pugi::xml_node child : doc.children()) {
        const auto at = static_cast<std::size_t>(child.offset_debug());
        if (child.type() == pugi::node_element && ++roots == 2) {
            const std::size_t tag = text.rfind('<', at);  // the offset is the name's; point at its '<'
            return Where(text, tag == std::string::npos ? at : tag) + ": a second root element";
        }
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            const std::size_t first = text.find_first_not_of(" \t\r\n", at);  // past the line end before it
            return Where(text, first == std::string::npos ? at : first) + ": text outside the root element";
        }
    }
    if (roots == 0) return Where(text, text.size()) + ": no root element";
    return {};
}

std::string WriteFailureReason(const std::string& path) {
    namespace fs = std::filesystem;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    if (::stat(folder.c_str(), &st) != 0) return std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK) != 0) return std::strerror(errno);
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return std::strerror(errno);
    return {};
}

FileResult WriteFailed(const std::string& path) {
    const std::string reason = WriteFailureReason(path);
    return {FileStatus::kWriteFailed, "cannot write '" + path + "'" + (reason.empty() ? "" : ": " + reason)};
}

}  // namespace quorvel
