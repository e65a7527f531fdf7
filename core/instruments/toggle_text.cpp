#include "core/instruments/toggle_text.h"

#include <cstring>
#include <new>
#include <string_view>

#include "core/display/surface.h"
#include "core/display/text.h"
#include "core/syntax/fields.h"

namespace orvanta {

ToggleText::ToggleText(int32_t textX_, int32_t textY_, const char* text_, int32_t textScale_,
                       int32_t interval_)
    : textX(textX_), textY(textY_), textScale(textScale_) {
    interval = interval_;
    color = 0xFFFF;
    bgColor = 0x0000;
    if (text_ != nullptr) std::strncpy(text, text_, 20);
    text[20] = '\0';
}

ToggleText* ToggleText::fromFields(const FieldTable& f) {
    return new (std::nothrow)
        ToggleText(f.number(1), f.number(2), f.field(3), f.number(4), f.number(5));
}

LineFacts ToggleText::facts(const FieldTable& f) {
    const ToggleText shown(f.number(1), f.number(2), f.field(3), f.number(4), f.number(5));
    LineFacts facts;
    // A view, not a copy: the text may be as long as the file.
    const std::string_view full = f.field(3);
    const std::string kept = shown.text;
    if (full.size() > kept.size())
        facts.findings.push_back(
            {FactLevel::Warning,
             "the text " + quoteUserText(full) + " has " + std::to_string(full.size()) +
                 " characters — only the first 20 show: " + quoteUserText(kept),
             3, "text-cut"});
    if (!full.empty() && full.back() == ';')
        facts.findings.push_back({FactLevel::Warning,
                                  "the text ends in ';', which shows — a ';' at the very end of a "
                                  "line stays part of the last field",
                                  3, "text-ends-in-semicolon"});
    if (full.empty())
        facts.findings.push_back(
            {FactLevel::Warning, "the text is empty — nothing shows", 3, "text-empty"});
    facts.text =
        TextRun{f.number(1), f.number(2), f.number(4), kept, static_cast<int32_t>(kept.size())};
    return facts;
}

void ToggleText::run(FrameContext& frame) {
    if (!isDue(frame.frameCounter)) return;
    Display& display = frame.display;
    setTextScale(display, textScale);
    enableTextWrap(display, true);
    moveCursor(display, textX, textY);
    // The hidden phase prints with equal colours, which paints only the glyphs' own pixels
    // in the background colour and so removes exactly what the visible phase showed.
    const bool shown = reading == nullptr ? visible : shownPhase(reading, visible);
    if (shown) {
        setTextColors(display, color, bgColor);
    } else {
        setTextColors(display, bgColor, bgColor);
    }
    visible = !visible;
    printText(display, text);
}

} // namespace orvanta
