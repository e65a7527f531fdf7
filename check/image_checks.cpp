#include <string>

#include "check/file_checker.h"
#include "check/pictures.h"
#include "check/words.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

void FileChecker::checkImage(int32_t line, const FieldTable& fields) {
    imageLines_.push_back({line, field(fields, 0)});
    const std::string name = fields.field(1);
    const Span span = field(fields, 1);
    if (name.empty()) {
        emit(line, span, Severity::Error, "missing-file-name",
             "no file name — the display is cleared to black and nothing is drawn");
        return;
    }
    checkNameEncoding(line, span, name);
    const PictureVerdict verdict = checkPictureFile(folder_, name);
    std::optional<Fix> fix;
    if (!verdict.fix.empty())
        fix = Fix{replaceTitle(verdict.fix), span.begin, span.end, verdict.fix};
    if (!verdict.problem.empty())
        emit(line, span, verdict.severity, verdict.code, verdict.problem, std::move(fix));
}

void FileChecker::checkWipedOutPictures() {
    for (std::size_t i = 0; i + 1 < imageLines_.size(); ++i)
        emit(imageLines_[i].line, imageLines_[i].keyword, Severity::Warning, "picture-wiped-out",
             "this picture is wiped out by the 'image' line " +
                 std::to_string(imageLines_.back().line) +
                 " — every 'image' line clears the display first");
}

} // namespace orvanta::check
