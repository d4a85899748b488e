#pragma once
// Character references in attribute values: decoding what files carry, escaping what we write.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// Named entity without '&' and ';' ("amp", "eacute", "EACUTE"); exact case first, then any case.
bool LookupNamedEntity(std::string_view name, char32_t* codePoint);
std::size_t NamedEntityCount();

// Replaces named, decimal (&#N;) and hexadecimal (&#xH;) references by their characters, as UTF-8.
// A reference that is not recognised, or names no valid character, stays as written.
std::string DecodeXmlReferences(std::string_view raw);
// Escapes & < > ' " for a value written between double quotes.
std::string EscapeXmlAttribute(std::string_view value);

}  // namespace quorvel
