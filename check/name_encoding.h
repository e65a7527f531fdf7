#pragma once
// Whether a name written in a configuration file is UTF-8 text, as every name inside
// Orvanta is, and what an old editor most likely meant by one that is not.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta::check {

// The offset of the first byte that does not begin a well-formed UTF-8 character
// (overlong forms, surrogates and values beyond U+10FFFF included), or nothing when all
// of `text` is UTF-8.
std::optional<std::size_t> firstNonUtf8Byte(std::string_view text);

// `text` with every byte that is not part of a well-formed UTF-8 character written as
// \xNN, so that a message quoting it is UTF-8 and shows the byte.
std::string withNonUtf8Escaped(std::string_view text);

// `text` read as Windows-1252 and written as UTF-8; nothing when a byte has no meaning in
// Windows-1252 (0x81, 0x8D, 0x8F, 0x90, 0x9D).
std::optional<std::string> windows1252AsUtf8(std::string_view text);

} // namespace orvanta::check
