#include "config/keywords.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "config/bmp.h"
#include "config/config_state.h"
#include "config/parser.h"
#include "display/surface.h"
#include "host/trace.h"
#include "instruments/digit_counter.h"
#include "instruments/gyro_horizon_rect.h"
#include "instruments/kompass.h"
#include "instruments/led.h"
#include "instruments/radar.h"
#include "instruments/round_pointer.h"
#include "instruments/tacho.h"
#include "instruments/toggle_text.h"
#include "runtime/objects.h"

namespace orvanta {

namespace {

// An instrument line builds its object from the fields; an object that could not be
// created (no memory) is null and AddMandDObject skips it.
template <class T> void addInstrument(const FieldTable& fields) {
    AddMandDObject(std::unique_ptr<MandDObject>(T::fromFields(fields)));
}

void imageLine(const FieldTable& fields) {
    clearDisplay(0);
    drawBmp(fields.field(1), 0, 0);
}

// The colour commands act on the most recently added object. Before the file's first
// instrument line there is none, and the line is ignored without a trace.
void setColorLine(const FieldTable& fields) {
    MandDObject* object = lastObject();
    if (object == nullptr) return;
    const int32_t value = fields.number(1);
    traceText("SetColor ");
    traceIntLine(value);
    object->color = value;
}

void setBgColorLine(const FieldTable& fields) {
    MandDObject* object = lastObject();
    if (object == nullptr) return;
    const int32_t value = fields.number(1);
    traceText("SetBGColor ");
    traceIntLine(value);
    object->bgColor = value;
}

// A name longer than 19 characters is cut to its first 19.
void loadConfigLine(const FieldTable& fields) {
    copyConfigName(nextConfigName, fields.field(1));
    next_config_load = fields.number(2);
}

void setRotationLine(const FieldTable& fields) {
    rotateDisplay(fields.number(1));
}

void showFpsLine(const FieldTable&) {
    showFps = true;
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
     {{"left", N, "left edge of the instrument rectangle"},
      {"top", N, "top edge of the instrument rectangle"},
      {"width", N, "width of the rectangle"},
      {"height", N, "height of the rectangle; below 2 the horizon stays level"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<GyroHorizonRect>},
    {"LED",
     KeywordKind::Instrument,
     "a filled disc blinking between its colour and the background colour",
     4,
     {{"x", N, "column of the disc's centre"},
      {"y", N, "row of the disc's centre"},
      {"diameter", N, "diameter of the disc"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<LED>},
    {"Kompass",
     KeywordKind::Instrument,
     "a compass card of eighteen ticks and four cardinal letters turning about a centre",
     4,
     {{"x", N, "column of the card's centre"},
      {"y", N, "row of the card's centre"},
      {"diameter", N, "outer diameter of the ticks; from 160 the letters are twice as large"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<Kompass>},
    {"Tacho",
     KeywordKind::Instrument,
     "a bar gauge of ten bars stacked from the bottom of a rectangle",
     5,
     {{"left", N, "left edge of the gauge rectangle"},
      {"top", N, "top edge of the gauge rectangle"},
      {"width", N, "width of the rectangle and of every bar"},
      {"height", N, "height of the rectangle"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<Tacho>},
    {"RoundPointer",
     KeywordKind::Instrument,
     "a needle turning about a centre, three degrees per frame, between two angles",
     5,
     {{"x", N, "column of the needle's centre of rotation"},
      {"y", N, "row of the needle's centre of rotation"},
      {"diameter", N, "diameter of the circle the needle and its erasing reach"},
      {"minValue", N, "smallest target angle in degrees, clockwise from straight up"},
      {"maxValue", N, "target angles stay below this one; equal to minValue holds the needle"}},
     addInstrument<RoundPointer>},
    {"Radar",
     KeywordKind::Instrument,
     "a green radar scope with a sweeping fan, range rings, spokes and a fading echo",
     3,
     {{"x", N, "column of the scope's centre"},
      {"y", N, "row of the scope's centre"},
      {"diameter", N, "diameter; the scope's radius is nine tenths of half of it"}},
     addInstrument<Radar>},
    {"DigitCounter",
     KeywordKind::Instrument,
     "a row of random decimal digits, new ones in every due frame",
     5,
     {{"x", N, "text column of the first digit"},
      {"y", N, "text row of the first digit"},
      {"digits", N, "number of digits; 0 or less prints none"},
      {"scale", N, "text scale factor"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<DigitCounter>},
    {"ToggleText",
     KeywordKind::Instrument,
     "a text of up to 20 characters, shown and painted out in turn",
     5,
     {{"x", N, "text column of the first character"},
      {"y", N, "text row of the first character"},
      {"text", T, "the text, taken verbatim; only its first 20 characters are kept"},
      {"scale", N, "text scale factor"},
      {"interval", N, "works every n-th frame; 0 means every frame"}},
     addInstrument<ToggleText>},
    {"SetColor",
     KeywordKind::Command,
     "sets the foreground colour of the object of the nearest instrument line above",
     1,
     {{"colour", C, "RGB565 colour as a decimal number"}},
     setColorLine},
    {"SetBGColor",
     KeywordKind::Command,
     "sets the background colour of the object of the nearest instrument line above",
     1,
     {{"colour", C, "RGB565 colour as a decimal number"}},
     setBgColorLine},
    {"LoadConfig",
     KeywordKind::Command,
     "names the next configuration file and the seconds before it replaces this one",
     2,
     {{"file", T, "name of the next configuration file, at most 19 characters"},
      {"seconds", N, "delay after this load; negative or 4294967 and above stops the chain"}},
     loadConfigLine},
    {"SetRotation",
     KeywordKind::Command,
     "accepted for compatibility; the display keeps its orientation",
     1,
     {{"rotation", N, "ignored"}},
     setRotationLine},
    {"ShowFPS", KeywordKind::Command, "shows the frames-per-second readout", 0, {}, showFpsLine},
};

} // namespace

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
