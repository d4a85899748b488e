#pragma once
// A whole XML document held as text, with a cursor that walks elements level by level.
// Only attribute values are read or written; element text is never used.
// Readers: LoadFile, FindNext(root), Descend, FindNext for each child in document order, Ascend.
// Writers: SetText(declaration), AddElement(root), Descend, AddElement/SetAttribute..., SaveFile.

#include <memory>
#include <string>
#include <string_view>

namespace quorvel {

class XmlDoc {
public:
    // The declaration every file this program writes starts with.
    static constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

    XmlDoc();
    ~XmlDoc();
    XmlDoc(const XmlDoc&) = delete;
    XmlDoc& operator=(const XmlDoc&) = delete;

    // Reads the file (byte-order mark, declared encoding, or the first-byte rule), replaces the document
    // and resets the cursor. True only when the file was read and the document is well-formed.
    bool LoadFile(const std::string& path);
    // Same as LoadFile on bytes already in memory (used by LoadFile, tests and fuzzing).
    bool LoadBytes(std::string_view bytes);
    // Writes the document text in the encoding its declaration names (UTF-8 when none), no byte-order mark.
    bool SaveFile(const std::string& path) const;
    // Replaces the document with the text (UTF-8) and resets the cursor.
    void SetText(std::string_view text);
    // The document text as UTF-8 (what SaveFile writes for a UTF-8 document).
    std::string Text() const;

    bool FindNext(std::string_view name);
    bool Descend();
    bool Ascend();
    // Attribute value of the current element with references decoded, as UTF-8; empty when absent.
    std::string GetAttribute(std::string_view name) const;
    bool AddElement(std::string_view name);
    bool SetAttribute(std::string_view name, std::string_view value);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quorvel
