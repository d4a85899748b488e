// Loads arbitrary bytes as an XML document and walks every element the way the readers do.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "support/XmlDoc.h"

namespace {

// Attribute names the program's readers ask for, plus a few that exercise decoding.
constexpr const char* kAttributes[] = {"name", "value", "type", "v", "a", "encoding", "key_code", "color"};
constexpr const char* kElements[] = {"root", "config", "profile", "item", "a", "mouse", "key", "macro"};

// Element names that occur in the input, so that unknown names are walked as well.
std::vector<std::string> NamesIn(std::string_view bytes) {
    std::vector<std::string> names(std::begin(kElements), std::end(kElements));
    for (std::size_t pos = bytes.find('<'); pos != std::string_view::npos && names.size() < 16;
         pos = bytes.find('<', pos + 1)) {
        std::size_t end = pos + 1;
        while (end < bytes.size() && end - pos < 32 && bytes[end] != '>' && bytes[end] != '/' &&
               static_cast<unsigned char>(bytes[end]) > 0x20) {
            ++end;
        }
        if (end > pos + 1) names.emplace_back(bytes.substr(pos + 1, end - pos - 1));
    }
    return names;
}

void Walk(quorvel::XmlDoc& doc, const std::vector<std::string>& names) {
    // Depth-first over all elements: FindNext with every known name, Descend into each hit.
    int depth = 0;
    int steps = 0;
    while (steps++ < 100000) {
        bool found = false;
        for (const std::string& name : names) {
            if (doc.FindNext(name)) {
                found = true;
                for (const char* attribute : kAttributes) (void)doc.GetAttribute(attribute);
                break;
            }
        }
        if (found && doc.Descend()) {
            ++depth;
            continue;
        }
        if (depth == 0 || !doc.Ascend()) break;
        --depth;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = NamesIn(bytes);
    quorvel::XmlDoc doc;
    (void)doc.LoadBytes(bytes);
    Walk(doc, names);
    // The writer on top of whatever was loaded must stay sane too.
    (void)doc.AddElement("item");
    (void)doc.SetAttribute("v", bytes.substr(0, 64));
    (void)doc.GetAttribute("v");
    (void)doc.Text();
    // SetText takes the same bytes as UTF-8 text.
    doc.SetText(bytes);
    Walk(doc, names);
    return 0;
}
