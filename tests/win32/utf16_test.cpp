// The one conversion between Orvanta's UTF-8 and the wide text of Windows.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/utf16.h"

namespace orvanta {
namespace {

TEST(Utf16Test, ConvertsEveryCharacterBothWays) {
    // One, two, three and four bytes in UTF-8; the last is a surrogate pair in UTF-16.
    const std::string utf8 = "a\xC3\xBC\xC3\x89\xE2\x9C\x88\xF0\x9F\x9B\xA9";
    const std::wstring utf16 = utf16FromUtf8(utf8);
    EXPECT_EQ(utf16, std::wstring(L"a\u00FC\u00C9\u2708\xD83D\xDEE9"));
    EXPECT_EQ(utf8FromUtf16(utf16), utf8);
    EXPECT_EQ(utf16FromUtf8(""), L"");
    EXPECT_EQ(utf8FromUtf16(L""), "");
    // A zero inside the text is a character like any other, not its end.
    EXPECT_EQ(utf16FromUtf8(std::string("a\0b", 3)).size(), 3u);
}

TEST(Utf16Test, TextThatIsNotUnicodeBecomesTheReplacementCharacter) {
    // An old editor's Windows-1252 'ü', a cut sequence and a lone surrogate: each is
    // replaced, so no other name can come out byte for byte the same.
    EXPECT_EQ(utf16FromUtf8("D\xFCsen"), std::wstring(L"D\uFFFDsen"));
    EXPECT_EQ(utf16FromUtf8("\xE2\x9C"), std::wstring(L"\uFFFD"));
    EXPECT_EQ(utf8FromUtf16(std::wstring(L"x\xD83Dy")), "x\xEF\xBF\xBDy");
    EXPECT_NE(utf8FromUtf16(utf16FromUtf8("D\xFCsen")), "D\xFCsen");
}

} // namespace
} // namespace orvanta
