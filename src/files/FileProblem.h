#pragma once
// Why a file could not be used, in the words of the system: the reason a path cannot be read or written
// ("Is a directory", "Permission denied"), and where a document stops being well-formed XML.

#include <string>
#include <string_view>

#include "files/FileResult.h"

namespace quorvel {

// Where and why the bytes are not one well-formed XML document: "line 3, column 14: start-end tags
// mismatch". Lines and columns count from 1, columns in characters. Empty when nothing is found.
std::string XmlSyntaxProblem(std::string_view bytes);

// Why a file cannot be written at `path`, found after a failed write: the folder is missing or not
// writable, the path is a folder, ... ("No such file or directory"). Empty when nothing stands out.
std::string WriteFailureReason(const std::string& path);
// kWriteFailed with "cannot write '<path>': <reason>".
FileResult WriteFailed(const std::string& path);

}  // namespace quorvel
