#include "platform/win32/utf16.h"

#include <windows.h>

#include <climits>

namespace orvanta {

std::wstring utf16FromUtf8(std::string_view text) {
    std::wstring wide;
    // The conversion counts in int; longer text than that names nothing on Windows.
    if (text.empty() || text.size() > INT_MAX / 2) return wide;
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return wide;
    wide.resize(static_cast<std::size_t>(needed));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string utf8FromUtf16(std::wstring_view text) {
    std::string narrow;
    if (text.empty() || text.size() > INT_MAX / 4) return narrow;
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return narrow;
    narrow.resize(static_cast<std::size_t>(needed));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

} // namespace orvanta
