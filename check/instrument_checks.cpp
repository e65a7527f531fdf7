#include <string>

#include "check/file_checker.h"
#include "check/words.h"
#include "core/config/keywords.h"
#include "core/display/surface.h"
#include "core/display/text.h"
#include "core/runtime/objects.h"
#include "core/syntax/fields.h"

namespace orvanta::check {

namespace {

Severity severityOf(FactLevel level) {
    return level == FactLevel::Error     ? Severity::Error
           : level == FactLevel::Warning ? Severity::Warning
                                         : Severity::Note;
}

std::string describe(const Extent& e) {
    return "x " + std::to_string(e.x0) + ".." + std::to_string(e.x1) + ", y " +
           std::to_string(e.y0) + ".." + std::to_string(e.y1);
}

bool offDisplay(const Extent& e) {
    return e.x1 < 0 || e.y1 < 0 || e.x0 >= DISPLAY_SIZE || e.y0 >= DISPLAY_SIZE;
}

// Whether any character cell of the run starts on the display, where the glyph drawing
// accepts it: the cursor walks exactly as the device's text output walks it.
bool anyCellShows(const TextRun& run) {
    Tft tft;
    tft.cursorX = run.x;
    tft.cursorY = run.y;
    tft.textScaleX = tft.textScaleY = run.scale;
    const std::string text =
        run.text.empty() ? std::string(static_cast<std::size_t>(run.count), '0') : run.text;
    return !walkText(tft, text.c_str(), [](int32_t x, int32_t y, unsigned char) {
        return !(x >= 0 && x < DISPLAY_SIZE && y >= 0 && y < DISPLAY_SIZE);
    });
}

} // namespace

void FileChecker::checkInstrument(int32_t line, const KeywordSpec& spec, const FieldTable& fields) {
    ++instruments_;
    if (instruments_ > kObjectSlots) {
        emit(line, field(fields, 0), Severity::Error, "too-many-instruments",
             "this is the " + ordinal(instruments_) +
                 " instrument of the file — the display holds ten, so it is never created");
    } else {
        lastObject_ = InstrumentLine{line, &spec};
        ignoredSinceObject_.reset();
    }
    if (spec.facts != nullptr) checkFacts(line, spec, fields);
}

void FileChecker::checkFacts(int32_t line, const KeywordSpec& spec, const FieldTable& fields) {
    const std::string keyword = spec.name;
    const LineFacts facts = spec.facts(fields);
    if (facts.disc && facts.disc->radius < 1)
        emit(line, field(fields, fieldNamed(spec, "diameter")), Severity::Warning,
             "degenerate-disc",
             "a diameter of " + std::to_string(facts.disc->diameter) + " gives a radius of " +
                 std::to_string(facts.disc->radius) + " — the " + keyword +
                 " shrinks to a dot; use a diameter of 2 or more");
    for (const LineFinding& finding : facts.findings)
        emit(line, field(fields, finding.field), severityOf(finding.level), finding.code,
             finding.message);
    // The fields that place and size the instrument: all but a final interval.
    const int32_t interval = fieldNamed(spec, "interval");
    const int32_t placing = interval == spec.fieldCount ? spec.fieldCount - 1 : spec.fieldCount;
    if (facts.extent && offDisplay(*facts.extent))
        emit(line, fieldsSpan(fields, 1, placing, *text_), Severity::Error, "off-display",
             "the " + keyword + " lies entirely outside the 128 × 128 display (" +
                 describe(*facts.extent) + ") — nothing of it shows");
    if (facts.text) checkText(line, spec, fields, *facts.text);
}

void FileChecker::checkText(int32_t line, const KeywordSpec& spec, const FieldTable& fields,
                            const TextRun& run) {
    const std::string keyword = spec.name;
    if (run.scale < 1) {
        emit(line, field(fields, fieldNamed(spec, "scale")), Severity::Warning, "text-scale",
             "a text scale of " + std::to_string(run.scale) +
                 " draws no readable text — use 1 or more");
    } else if (run.count > 0 && !anyCellShows(run)) {
        emit(line, fieldsSpan(fields, 1, 2, *text_), Severity::Error, "text-off-display",
             "the " + keyword + " starts at (" + std::to_string(run.x) + ", " +
                 std::to_string(run.y) +
                 ") and no character of it lands on the 128 × 128 display — nothing of it shows");
    }
}

void FileChecker::checkColourLine(int32_t line, const KeywordSpec& spec, const FieldTable& fields) {
    const Span keyword = field(fields, 0);
    if (!lastObject_) {
        emit(line, keyword, Severity::Warning, "colour-without-instrument",
             "no instrument above it in this file — the line is ignored; put it after the "
             "instrument line it belongs to");
        return;
    }
    if (instruments_ > kObjectSlots) {
        emit(line, keyword, Severity::Warning, "colour-goes-to-tenth",
             std::string("the display already holds ten instruments, so this colour goes to "
                         "the tenth (") +
                 lastObject_->spec->name + " of line " + std::to_string(lastObject_->line) +
                 "), not to the one above");
        return;
    }
    if (ignoredSinceObject_)
        emit(line, keyword, Severity::Note, "colour-after-ignored-line",
             "line " + std::to_string(ignoredSinceObject_->line) +
                 " above is ignored, so this colour goes to the " + lastObject_->spec->name +
                 " of line " + std::to_string(lastObject_->line));
    const KeywordSpec& object = *lastObject_->spec;
    const char* fixed =
        spec.kind == KeywordKind::Colour ? object.fixedColour : object.fixedBackground;
    if (fixed != nullptr)
        emit(line, keyword, Severity::Warning, "colour-changes-nothing",
             std::string("the ") + object.name + " of line " + std::to_string(lastObject_->line) +
                 " " + fixed + " — " + spec.name + " changes nothing");
}

} // namespace orvanta::check
