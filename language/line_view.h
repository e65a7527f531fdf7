#pragma once
// One line of a document as the device reads it: its fields, its keyword, and where each
// field lies, so that a position can be turned into the field it is in.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/file_checker.h"
#include "core/syntax/fields.h"

namespace orvanta {
struct KeywordSpec;
}

namespace orvanta::language {

// The lines of a text as the checker counts them: LF, CR and CR LF each end one line.
std::vector<std::string_view> splitLines(std::string_view text);

class LineView {
  public:
    explicit LineView(std::string_view raw);

    const std::string& text() const { return text_; } // up to a zero byte, as the device reads
    const FieldTable& fields() const { return fields_; }
    const KeywordSpec* spec() const { return spec_; } // null for no keyword
    check::Span span(int32_t field) const { return check::fieldSpan(fields_, field, text_); }
    // The field whose bytes hold `column`, its end included, or -1 outside every field.
    int32_t fieldAt(int32_t column) const;

  private:
    std::string text_;
    FieldTable fields_;
    const KeywordSpec* spec_;
};

// The whole text of `name` in `folder`, or empty when it does not open.
std::string readWhole(Folder& folder, const std::string& name);

} // namespace orvanta::language
