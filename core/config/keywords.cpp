#include "core/config/keywords.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "core/config/bmp.h"
#include "core/config/config_state.h"
#include "core/config/load_context.h"
#include "core/display/surface.h"
#include "core/instruments/digit_counter.h"
#include "core/instruments/gyro_horizon_rect.h"
#include "core/instruments/kompass.h"
#include "core/instruments/led.h"
#include "core/instruments/radar.h"
#include "core/instruments/round_pointer.h"
#include "core/instruments/tacho.h"
#include "core/instruments/toggle_text.h"
#include "core/runtime/objects.h"
#include "core/syntax/fields.h"
#include "core/trace/trace.h"

namespace orvanta {

namespace {

// An instrument line builds its object from the fields; an object that could not be
// created (no memory) is null and AddMandDObject skips it.
template <class T> void addInstrument(LoadContext& load, const FieldTable& fields) {
    AddMandDObject(load.objectList, load.trace,
                   std::unique_ptr<MandDObject>(T::fromFields(fields)));
}

void imageLine(LoadContext& load, const FieldTable& fields) {
    clearDisplay(load.display, 0);
    drawBmp(load.display, load.storage, load.trace, fields.field(1), 0, 0);
}

// The colour commands act on the most recently added object. Before the file's first
// instrument line there is none, and the line is ignored without a trace.
void setColorLine(LoadContext& load, const FieldTable& fields) {
    MandDObject* object = lastObject(load.objectList);
    if (object == nullptr) return;
    const int32_t value = fields.number(1);
    traceText(load.trace, "SetColor ");
    traceIntLine(load.trace, value);
    object->color = value;
}

void setBgColorLine(LoadContext& load, const FieldTable& fields) {
    MandDObject* object = lastObject(load.objectList);
    if (object == nullptr) return;
    const int32_t value = fields.number(1);
    traceText(load.trace, "SetBGColor ");
    traceIntLine(load.trace, value);
    object->bgColor = value;
}

// A name longer than 19 characters is cut to its first 19.
void loadConfigLine(LoadContext& load, const FieldTable& fields) {
    copyConfigName(load.config.nextConfigName, fields.field(1));
    load.config.next_config_load = fields.number(2);
}

void setRotationLine(LoadContext& load, const FieldTable& fields) {
    rotateDisplay(load.display, fields.number(1));
}

void showFpsLine(LoadContext& load, const FieldTable&) {
    load.config.showFps = true;
}

constexpr FieldKind N = FieldKind::Number;
constexpr FieldKind C = FieldKind::Colour;
constexpr FieldKind T = FieldKind::Text;

// Dispatch order: the picture line, the eight instruments, then the commands.
const KeywordSpec kKeywords[] = {
    {"image",
     KeywordKind::Picture,
     "clears the display to black and draws a 24-bit BMP picture at the top-left corner",
     1,
     {{"file", T, "name of the BMP file, taken verbatim"}},
     imageLine},
    {"GyroHorizonRect",
     KeywordKind::Instrument,
     "a rectangular artificial horizon whose line pitches and banks over sky and ground",
     5,
     {{"left", N, "left edge of the instrument rectangle", "pixels"},
      {"top", N, "top edge of the instrument rectangle", "pixels"},
      {"width", N, "width of the rectangle", "pixels"},
      {"height", N, "height of the rectangle; from -1 to 1 the horizon stays level", "pixels"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<GyroHorizonRect>,
     GyroHorizonRect::facts,
     nullptr,
     "has no background colour (its sky is fixed)"},
    {"LED",
     KeywordKind::Instrument,
     "a filled disc blinking between its colour and the background colour",
     4,
     {{"x", N, "column of the disc's centre", "pixels"},
      {"y", N, "row of the disc's centre", "pixels"},
      {"diameter", N, "diameter of the disc", "pixels"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<LED>,
     LED::facts},
    {"Kompass",
     KeywordKind::Instrument,
     "a compass card of eighteen ticks and four cardinal letters turning about a centre",
     4,
     {{"x", N, "column of the card's centre", "pixels"},
      {"y", N, "row of the card's centre", "pixels"},
      {"diameter", N, "outer diameter of the ticks; from 160 the letters are twice as large",
       "pixels"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<Kompass>,
     Kompass::facts},
    {"Tacho",
     KeywordKind::Instrument,
     "a bar gauge of ten bars stacked from the bottom of a rectangle",
     5,
     {{"left", N, "left edge of the gauge rectangle", "pixels"},
      {"top", N, "top edge of the gauge rectangle", "pixels"},
      {"width", N, "width of the rectangle and of every bar", "pixels"},
      {"height", N, "height of the rectangle", "pixels"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<Tacho>,
     Tacho::facts},
    {"RoundPointer",
     KeywordKind::Instrument,
     "a needle turning about a centre, three degrees per frame, between two angles",
     5,
     {{"x", N, "column of the needle's centre of rotation", "pixels"},
      {"y", N, "row of the needle's centre of rotation", "pixels"},
      {"diameter", N, "diameter of the circle the needle and its erasing reach", "pixels"},
      {"minValue", N, "smallest target angle in degrees, clockwise from straight up", "degrees"},
      {"maxValue", N, "target angles stay below this one; equal to minValue holds the needle",
       "degrees"}},
     addInstrument<RoundPointer>,
     RoundPointer::facts},
    {"Radar",
     KeywordKind::Instrument,
     "a green radar scope with a sweeping fan, range rings, spokes and a fading echo",
     3,
     {{"x", N, "column of the scope's centre", "pixels"},
      {"y", N, "row of the scope's centre", "pixels"},
      {"diameter", N, "diameter; the scope's radius is nine tenths of half of it", "pixels"}},
     addInstrument<Radar>,
     Radar::facts,
     "draws in fixed shades of green",
     "draws in fixed shades of green"},
    {"DigitCounter",
     KeywordKind::Instrument,
     "a row of random decimal digits, new ones in every due frame",
     5,
     {{"x", N, "text column of the first digit", "pixels"},
      {"y", N, "text row of the first digit", "pixels"},
      {"digits", N, "number of digits; 0 or less prints none", "digits"},
      {"scale", N, "text scale factor", "times the 6 × 8 pixel cell"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<DigitCounter>,
     DigitCounter::facts},
    {"ToggleText",
     KeywordKind::Instrument,
     "a text of up to 20 characters, shown and painted out in turn",
     5,
     {{"x", N, "text column of the first character", "pixels"},
      {"y", N, "text row of the first character", "pixels"},
      {"text", T, "the text, taken verbatim; only its first 20 characters are kept", "characters"},
      {"scale", N, "text scale factor", "times the 6 × 8 pixel cell"},
      {"interval", N, "works every n-th frame; 0 means every frame", "frames"}},
     addInstrument<ToggleText>,
     ToggleText::facts},
    {"SetColor",
     KeywordKind::Colour,
     "sets the foreground colour of the object of the nearest instrument line above",
     1,
     {{"colour", C, "RGB565 colour as a decimal number", "RGB565"}},
     setColorLine},
    {"SetBGColor",
     KeywordKind::BackgroundColour,
     "sets the background colour of the object of the nearest instrument line above",
     1,
     {{"colour", C, "RGB565 colour as a decimal number", "RGB565"}},
     setBgColorLine},
    {"LoadConfig",
     KeywordKind::NextFile,
     "names the next configuration file and the seconds before it replaces this one",
     2,
     {{"file", T, "name of the next configuration file, at most 19 characters"},
      {"seconds", N, "delay after this load; negative or 4294967 and above stops the chain",
       "seconds"}},
     loadConfigLine},
    {"SetRotation",
     KeywordKind::Setting,
     "accepted for compatibility; the display keeps its orientation",
     1,
     {{"rotation", N, "ignored", ""}},
     setRotationLine},
    {"ShowFPS", KeywordKind::Setting, "shows the frames-per-second readout", 0, {}, showFpsLine},
};

} // namespace

bool isCommand(KeywordKind kind) {
    return kind != KeywordKind::Picture && kind != KeywordKind::Instrument;
}

const KeywordSpec* keywordTable() {
    return kKeywords;
}

int32_t keywordCount() {
    return static_cast<int32_t>(std::size(kKeywords));
}

const KeywordSpec* findKeyword(const char* keyword) {
    for (const KeywordSpec& spec : kKeywords)
        if (std::strcmp(spec.name, keyword) == 0) return &spec;
    return nullptr;
}

} // namespace orvanta
