#include "support/XmlDoc.h"

#include <unistd.h>

#include <pugixml.hpp>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/TempFile.h"
#include "support/TextConv.h"
#include "support/XmlEncoding.h"
#include "support/XmlEntities.h"

namespace quorvel {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Node {
    std::string name;
    // Values as they stand between the quotes (references not decoded), in document order.
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::uint32_t> children;
};

// A name that can stand in a tag we write and be read back.
bool IsWritableName(std::string_view name) {
    if (name.empty()) return false;
    const auto first = static_cast<unsigned char>(name[0]);
    if (std::isdigit(first) || first == '-' || first == '.') return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) <= 0x20) return false;
        switch (c) {
            case '<': case '>': case '/': case '=': case '&': case '"': case '\'': case '!': case '?':
                return false;
            default: break;
        }
    }
    return true;
}

}  // namespace

struct XmlDoc::Impl {
    std::vector<Node> nodes{Node{}};  // nodes[0] is the document's top level
    std::string prolog;               // text before the first element, kept as written
    std::string text;                 // the text as loaded or set, valid while nothing was changed
    bool textCurrent = true;

    std::uint32_t level = 0;
    std::size_t current = kNone;  // index into nodes[level].children
    std::vector<std::pair<std::uint32_t, std::size_t>> above;  // outer levels with their current elements

    std::vector<std::uint32_t>& Children() { return nodes[level].children; }
    Node* CurrentNode() { return current == kNone ? nullptr : &nodes[Children()[current]]; }

    // Replaces the document; true when the text is a well-formed document.
    bool Parse(std::string_view utf8) {
        nodes.assign(1, Node{});
        prolog.assign(utf8);
        text.assign(utf8);
        textCurrent = true;
        level = 0;
        current = kNone;
        above.clear();
        if (utf8.find('\0') != std::string_view::npos) return false;

        pugi::xml_document doc;
        const unsigned options = pugi::parse_minimal | pugi::parse_fragment | pugi::parse_cdata;
        if (!doc.load_buffer(utf8.data(), utf8.size(), options, pugi::encoding_utf8)) return false;

        int roots = 0;
        bool strayText = false;
        for (pugi::xml_node child : doc.children()) {
            if (child.type() == pugi::node_element) ++roots;
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) strayText = true;
        }
        if (roots == 0) return false;

        // Copy the elements breadth by breadth; no recursion, so depth cannot exhaust the stack.
        std::vector<std::pair<pugi::xml_node, std::uint32_t>> pending{{doc, 0}};
        while (!pending.empty()) {
            auto [source, target] = pending.back();
            pending.pop_back();
            for (pugi::xml_node child = source.first_child(); child; child = child.next_sibling()) {
                if (child.type() != pugi::node_element) continue;
                const auto index = static_cast<std::uint32_t>(nodes.size());
                Node node;
                node.name = child.name();
                for (pugi::xml_attribute attribute : child.attributes()) {
                    node.attributes.emplace_back(attribute.name(), attribute.value());
                }
                nodes.push_back(std::move(node));
                nodes[target].children.push_back(index);
                pending.emplace_back(child, index);
            }
        }

        const std::size_t nameAt = static_cast<std::size_t>(doc.find_child([](pugi::xml_node n) {
                                                                   return n.type() == pugi::node_element;
                                                               }).offset_debug());
        const std::size_t tagAt = utf8.rfind('<', nameAt);
        prolog.assign(utf8.substr(0, tagAt == std::string_view::npos ? 0 : tagAt));
        return roots == 1 && !strayText;
    }

    void AppendStartTag(std::string& out, const Node& node, bool empty) const {
        out += '<';
        out += node.name;
        for (const auto& [name, value] : node.attributes) {
            out += ' ';
            out += name;
            out += "=\"";
            // A value read from single quotes may hold a double quote.
            for (char c : value) {
                if (c == '"') out += "&quot;";
                else out += c;
            }
            out += '"';
        }
        out += empty ? "/>\r\n" : ">\r\n";
    }

    std::string Serialize() const {
        std::string out = prolog;
        std::vector<std::pair<std::uint32_t, std::size_t>> stack{{0, 0}};  // node, next child
        while (!stack.empty()) {
            auto& [index, next] = stack.back();
            const Node& node = nodes[index];
            if (next == node.children.size()) {
                if (index != 0) {
                    out += "</";
                    out += node.name;
                    out += ">\r\n";
                }
                stack.pop_back();
                continue;
            }
            const std::uint32_t childIndex = node.children[next++];
            const Node& child = nodes[childIndex];
            AppendStartTag(out, child, child.children.empty());
            if (!child.children.empty()) stack.emplace_back(childIndex, 0);
        }
        return out;
    }
};

XmlDoc::XmlDoc() : impl_(std::make_unique<Impl>()) {}

XmlDoc::~XmlDoc() = default;

bool XmlDoc::LoadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file || file.bad()) {
        impl_->Parse({});
        return false;
    }
    return LoadBytes(bytes);
}

bool XmlDoc::LoadBytes(std::string_view bytes) { return impl_->Parse(DecodeXmlBytes(bytes)); }

bool XmlDoc::SaveFile(const std::string& path) const {
    const std::string text = Text();
    int codePage = DocumentCodePage(text);
    if (codePage == kCpUnknown) codePage = kCpUtf8;
    bool exact = true;
    std::string bytes = FromUtf8(text, codePage, &exact);
    if (!exact) return false;  // a character the declared encoding lacks would be lost
    // UTF-16 gets its byte-order mark: without one the file could not be read back.
    if (codePage == kCpUtf16Le) bytes.insert(0, "\xFF\xFE");
    if (codePage == kCpUtf16Be) bytes.insert(0, "\xFE\xFF");

    // Write beside the target and rename, so a failed write leaves the old file whole. The temporary name
    // is a new file of our own: a fixed "<path>.tmp" could be a planted link to another file.
    std::string temp;
    const int fd = CreateTemporaryBeside(path, ".tmp", &temp);
    if (fd < 0) return false;
    bool ok = WriteAllBytes(fd, bytes.data(), bytes.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void XmlDoc::SetText(std::string_view text) { impl_->Parse(text); }

std::string XmlDoc::Text() const { return impl_->textCurrent ? impl_->text : impl_->Serialize(); }

bool XmlDoc::FindNext(std::string_view name) {
    const auto& children = impl_->Children();
    for (std::size_t i = impl_->current == kNone ? 0 : impl_->current + 1; i < children.size(); ++i) {
        if (impl_->nodes[children[i]].name == name) {
            impl_->current = i;
            return true;
        }
    }
    return false;
}

bool XmlDoc::Descend() {
    if (impl_->current == kNone) return false;
    impl_->above.emplace_back(impl_->level, impl_->current);
    impl_->level = impl_->Children()[impl_->current];
    impl_->current = kNone;
    return true;
}

bool XmlDoc::Ascend() {
    if (impl_->above.empty()) return false;
    std::tie(impl_->level, impl_->current) = impl_->above.back();
    impl_->above.pop_back();
    return true;
}

std::string XmlDoc::GetAttribute(std::string_view name) const {
    const Node* node = impl_->CurrentNode();
    if (!node) return {};
    for (const auto& [key, value] : node->attributes) {
        if (key == name) return DecodeXmlReferences(value);
    }
    return {};
}

bool XmlDoc::AddElement(std::string_view name) {
    if (!IsWritableName(name)) return false;
    const auto index = static_cast<std::uint32_t>(impl_->nodes.size());
    impl_->nodes.push_back(Node{std::string(name), {}, {}});
    auto& children = impl_->Children();
    const std::size_t at = impl_->current == kNone ? children.size() : impl_->current + 1;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(at), index);
    impl_->current = at;
    impl_->textCurrent = false;
    return true;
}

bool XmlDoc::SetAttribute(std::string_view name, std::string_view value) {
    Node* node = impl_->CurrentNode();
    if (!node || !IsWritableName(name)) return false;
    std::string escaped = EscapeXmlAttribute(value);
    impl_->textCurrent = false;
    for (auto& [key, old] : node->attributes) {
        if (key == name) {
            old = std::move(escaped);
            return true;
        }
    }
    node->attributes.emplace_back(std::string(name), std::move(escaped));
    return true;
}

}  // namespace quorvel
