#include "instruments/toggle_text.h"

#include <cstring>
#include <new>

#include "config/parser.h"
#include "display/surface.h"
#include "display/text.h"

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

void ToggleText::run() {
    if (!isDue()) return;
    setTextScale(textScale);
    enableTextWrap(true);
    moveCursor(textX, textY);
    // The hidden phase prints with equal colours, which paints only the glyphs' own pixels
    // in the background colour and so removes exactly what the visible phase showed.
    if (visible) {
        setTextColors(color, bgColor);
    } else {
        setTextColors(bgColor, bgColor);
    }
    visible = !visible;
    printText(text);
}

} // namespace orvanta
