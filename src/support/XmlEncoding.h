#pragma once
// Which encoding an XML file is in, and its text as UTF-8.

#include <string>
#include <string_view>

namespace quorvel {

// The code page named by the encoding attribute of an XML declaration in the first 1024 bytes, or (with
// allowMeta) by the charset of an HTML meta tag; kCpUnknown when none is named or the name is not known.
int DeclaredCodePage(std::string_view text, bool allowMeta);

// The code page named by the declaration the document text starts with; kCpUnknown without one.
int DocumentCodePage(std::string_view text);

// File bytes -> UTF-8 text without byte-order mark: a byte-order mark decides, else a declared encoding,
// else UTF-8 when the first byte is '<', else the system's ANSI code page.
std::string DecodeXmlBytes(std::string_view bytes);

}  // namespace quorvel
