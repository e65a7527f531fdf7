#pragma once
// The one place where text crosses between Orvanta, where every path and name is UTF-8,
// and the wide (UTF-16) calls of Windows.
#include <string>
#include <string_view>

namespace orvanta {

// Bytes that are not UTF-8 each become U+FFFD, so a name that is not UTF-8 names no file
// whose real name, converted back, would equal it byte for byte.
std::wstring utf16FromUtf8(std::string_view text);

// A lone surrogate becomes U+FFFD: no file has a name that Orvanta could not write down.
std::string utf8FromUtf16(std::wstring_view text);

} // namespace orvanta
