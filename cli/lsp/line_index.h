#pragma once
// Where a document's lines start, and the conversion of columns between the bytes the
// language service counts and the UTF-16 units the protocol counts. A line ends at LF, CR
// or CR LF, as the checker and the protocol both count them. Bytes that are not valid
// UTF-8 count as one unit each, as an editor shows each as one replacement character.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvanta::cli::lsp {

class LineIndex {
  public:
    // The text must outlive the index and stay unchanged while it is used.
    explicit LineIndex(std::string_view text);

    int32_t lineCount() const { return static_cast<int32_t>(starts_.size()); }
    // The line's bytes without its line end; empty beyond the last line.
    std::string_view line(int32_t line) const;

    // A byte column of `line` as UTF-16 units. A column inside a character counts the
    // units before that character; one beyond the line counts to the line's end.
    int32_t toUtf16(int32_t line, int32_t byteColumn) const;
    // A UTF-16 column of `line` as bytes, with the same rounding down and clamping.
    int32_t toByte(int32_t line, int32_t utf16Column) const;
    // The offset in the text of a protocol position; lines beyond the last one mean the end
    // of the text, and a column beyond its line the line's end, as the protocol asks.
    std::size_t offset(int32_t line, int32_t utf16Column) const;

  private:
    std::string_view text_;
    std::vector<std::size_t> starts_; // where each line begins
    std::vector<std::size_t> ends_;   // where each line's content ends, before its line end
};

// The bytes and UTF-16 units of the character starting at `text[0]`: invalid or cut-short
// sequences are one byte of one unit.
struct CharacterSize {
    int bytes;
    int units;
};
CharacterSize characterAt(std::string_view text);

} // namespace orvanta::cli::lsp
