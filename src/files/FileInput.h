#pragma once
// Reading an import file: the bytes of a regular file within the size cap, the document, and the lenient
// number reading of attribute values.

#include <string>
#include <string_view>

#include "files/FileResult.h"

namespace quorvel {

class XmlDoc;

// Reads the whole file into *bytes. Refuses what does not exist, what is not a regular file (a FIFO or a
// device would block or never end) and files above kMaxFileBytes.
FileResult ReadImportFile(const std::string& path, std::string* bytes);

// Loads the bytes into the document and finds the root element; the cursor is then on the root.
// `source` names the input in messages.
FileResult LoadImportDocument(std::string_view bytes, std::string_view root, std::string_view source,
                              XmlDoc* doc);

// Decimal reading of an attribute text as the files have always been read: leading blanks, an optional
// sign, then the digits up to the first other character; no digits reads 0. Saturates instead of overflowing.
int ParseFileInt(std::string_view text);
int AttributeInt(const XmlDoc& doc, std::string_view name);

// The file name without its folders, for naming a profile after the file it came from.
std::string FileNameOf(const std::string& path);

}  // namespace quorvel
