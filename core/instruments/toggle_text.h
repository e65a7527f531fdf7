#pragma once
#include "core/runtime/objects.h"
#include "core/syntax/line_facts.h"

namespace orvanta {

class FieldTable;

// A fixed text of up to 20 characters, shown in one due frame and painted out in the next.
class ToggleText final : public MandDObject {
  public:
    // Keeps a copy of at most the first 20 characters of `text`; the argument is not kept.
    ToggleText(int32_t textX, int32_t textY, const char* text, int32_t textScale, int32_t interval);
    // The object of a "ToggleText" line: textX, textY, text, textScale, interval.
    static ToggleText* fromFields(const FieldTable& fields);
    // What the line tells the checker.
    static LineFacts facts(const FieldTable& fields);
    void run(FrameContext& frame) override;
    // Dark (0) or lit (1).
    ReadingRange readingRange() const override { return {ReadingKind::Phase, 0, 1}; }

    bool visible = true;
    int32_t textX, textY;
    int32_t textScale;
    char text[21] = {};
};

} // namespace orvanta
