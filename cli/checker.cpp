#include "cli/checker.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "config/config_state.h"
#include "config/keywords.h"
#include "config/parser.h"
#include "display/surface.h"
#include "instruments/kompass.h"
#include "instruments/led.h"
#include "instruments/radar.h"
#include "instruments/round_pointer.h"

namespace orvanta::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFirstFile = "config.txt";
constexpr int32_t kToggleTextLength = 20;
constexpr int64_t kNeverDue = 4294967; // seconds never exceeds this, so no delay from it on ends
constexpr int64_t kLargestPicture = 16384;

// ---------------------------------------------------------------------------------------
// Small text helpers.

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool allWhiteSpace(const std::string& s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

// User text inside a message: control bytes become \xNN so that a diagnostic stays one line.
std::string shown(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 32 || c == 127) {
            static const char* hex = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Long user texts are cut, so that a diagnostic about a huge line stays readable.
std::string inQuotes(const std::string& s) {
    constexpr std::size_t kLongest = 60;
    if (s.size() <= kLongest) return "'" + shown(s) + "'";
    return "'" + shown(s.substr(0, kLongest)) + "…'";
}

// "'a'", "'a' and 'b'", "'a', 'b' and 'c'".
std::string inQuotesList(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += inQuotes(items[i]);
    }
    return out;
}

std::string ordinal(int64_t n) {
    const int64_t lastTwo = n % 100;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (n % 10 == 1) suffix = "st";
        if (n % 10 == 2) suffix = "nd";
        if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

// Edit distance with adjacent transpositions counted as one edit. Strings whose lengths
// differ by more than `cap` give cap + 1 at once, so a huge word costs nothing.
std::size_t editDistance(const std::string& a, const std::string& b, std::size_t cap) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > cap) return cap + 1;
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

bool readWholeFile(const fs::path& path, std::string* data) {
    // Read straight into the string: a file can be tens of megabytes on one line.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    data->resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(data->data(), size);
    data->resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

std::string joinShown(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == "." || folder == "./") return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The file in `dir` that a missing name most likely means: one that differs only in case,
// or else the nearest by edit distance (at most two edits). Empty when none is close.
std::string similarFile(const fs::path& dir, const std::string& name, bool* caseOnly) {
    std::error_code ec;
    const std::string wanted = lower(trimBlanks(name));
    std::string nearest;
    std::size_t best = 3;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (candidate == name) continue;
        if (lower(candidate) == wanted) {
            *caseOnly = true;
            return candidate;
        }
        const std::size_t d = editDistance(lower(candidate), wanted, best);
        if (d < best || (d == best && !nearest.empty() && candidate < nearest)) {
            best = d;
            nearest = candidate;
        }
    }
    *caseOnly = false;
    return nearest;
}

// Why a named file was not found, as a short clause, or empty.
std::string missingFileHint(const fs::path& dir, const std::string& name) {
    if (!name.empty() && name.back() == ';')
        return "; a ';' at the very end of a line stays part of the file name";
    if (trimBlanks(name) != name) return "; the blanks around the name are part of it";
    bool caseOnly = false;
    const std::string match = similarFile(dir, name, &caseOnly);
    if (match.empty()) return {};
    return "; did you mean " + inQuotes(match) + "?" +
           (caseOnly ? " names must match exactly" : "");
}

// ---------------------------------------------------------------------------------------
// Reading a file as the loader does: a line ends at every LF and at every CR, a zero byte
// ends the text the parser sees, and a file whose very last byte is a zero byte loses its
// last line. Lines are numbered as an editor shows them (CR LF is one line end).

enum class LineEnd { None, Lf, CrLf, Cr };

struct SourceLine {
    int32_t number = 0;
    std::string raw; // the bytes between the line ends, zero bytes included
    LineEnd end = LineEnd::None;
    std::string text() const { return std::string(raw.c_str()); }
};

std::vector<SourceLine> splitLines(const std::string& data) {
    std::vector<SourceLine> lines;
    std::size_t i = 0;
    int32_t number = 1;
    while (i < data.size()) {
        SourceLine line;
        line.number = number++;
        const std::size_t start = i;
        while (i < data.size() && data[i] != '\n' && data[i] != '\r') ++i;
        line.raw = data.substr(start, i - start);
        if (i < data.size()) {
            if (data[i] == '\n') {
                line.end = LineEnd::Lf;
                ++i;
            } else if (i + 1 < data.size() && data[i + 1] == '\n') {
                line.end = LineEnd::CrLf;
                i += 2;
            } else {
                line.end = LineEnd::Cr;
                ++i;
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

const char* lineEndName(LineEnd end) {
    switch (end) {
    case LineEnd::Lf:
        return "LF";
    case LineEnd::CrLf:
        return "CR LF";
    case LineEnd::Cr:
        return "CR";
    case LineEnd::None:
        break;
    }
    return "nothing";
}

// ---------------------------------------------------------------------------------------
// Pictures: the header walk of the BMP loader, read-only, to say why a picture does not
// show or which part of it does. Bytes beyond the end of the file read as zero, as on the
// device.

struct PictureVerdict {
    Severity severity = Severity::Note;
    std::string problem; // empty when the picture draws completely
};

uint32_t le(const std::string& bytes, std::size_t at, int size) {
    uint32_t value = 0;
    for (int k = 0; k < size; ++k) {
        const std::size_t p = at + static_cast<std::size_t>(k);
        const uint32_t byte = p < bytes.size() ? static_cast<unsigned char>(bytes[p]) : 0u;
        value |= byte << (8 * k);
    }
    return value;
}

PictureVerdict checkPictureFile(const fs::path& dir, const std::string& name) {
    const std::string q = inQuotes(name);
    const std::string nothing = " — the display is cleared to black and nothing is drawn";
    const fs::path path = dir / name;
    std::error_code ec;
    if (!fs::exists(path, ec))
        return {Severity::Error,
                "picture " + q + " not found" + nothing + missingFileHint(dir, name)};
    if (!fs::is_regular_file(path, ec))
        return {Severity::Error, "picture " + q + " is not a file" + nothing};
    std::string bytes;
    if (!readWholeFile(path, &bytes))
        return {Severity::Error, "picture " + q + " cannot be read" + nothing};
    const std::string headerNote = bytes.size() < 34 ? " (the file ends inside its header)" : "";
    if (le(bytes, 0, 2) != 19778)
        return {Severity::Error, "picture " + q + " is not a BMP file" + nothing +
                                     "; save it as an uncompressed 24-bit BMP"};
    const int64_t offset = static_cast<int32_t>(le(bytes, 10, 4));
    const int64_t width = static_cast<int32_t>(le(bytes, 18, 4));
    const int64_t height = static_cast<int32_t>(le(bytes, 22, 4));
    const uint32_t planes = le(bytes, 26, 2);
    const uint32_t depth = le(bytes, 28, 2);
    if (planes != 1)
        return {Severity::Error, "picture " + q + " has " + std::to_string(planes) +
                                     " colour planes instead of 1" + headerNote + nothing};
    if (depth != 24)
        return {Severity::Error, "picture " + q + " has " + std::to_string(depth) +
                                     " bits per pixel" + headerNote + nothing +
                                     "; save it as a 24-bit BMP"};
    const uint32_t compression = le(bytes, 30, 4);
    if (compression != 0)
        return {Severity::Error, "picture " + q + " is compressed (method " +
                                     std::to_string(compression) + ")" + nothing +
                                     "; save it uncompressed"};
    const int64_t rows = height < 0 ? -height : height;
    const std::string size = std::to_string(width) + " × " + std::to_string(rows) + " pixels";
    if (width <= 0 || rows == 0) return {Severity::Error, "picture " + q + " is " + size + nothing};
    if (width > kLargestPicture || rows > kLargestPicture)
        return {Severity::Error, "picture " + q + " is " + size + ", too large to draw" + nothing};
    const int64_t rowSize = (width * 3 + 3) & ~int64_t{3};
    if (offset < 0 || static_cast<int64_t>(bytes.size()) < offset + rows * rowSize)
        return {Severity::Warning, "picture " + q + " ends inside its pixel data — the " +
                                       "pixels it lacks are drawn black"};
    if (width > DISPLAY_SIZE || rows > DISPLAY_SIZE) {
        const int64_t shownWidth = std::min<int64_t>(width, DISPLAY_SIZE);
        const int64_t shownRows = std::min<int64_t>(rows, DISPLAY_SIZE);
        return {Severity::Warning, "picture " + q + " is " + size +
                                       ", larger than the 128 × 128 display — only its " +
                                       "top-left " + std::to_string(shownWidth) + " × " +
                                       std::to_string(shownRows) + " pixels show"};
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// Numbers: what readNumber makes of a field, and whether that is what the text says.

struct NumberFinding {
    Severity severity;
    std::string message;
};

std::optional<NumberFinding> checkNumber(const std::string& name, std::string text,
                                         int32_t* valueOut) {
    // A ';' inside a field can only be the line's final byte, which readNumber stops at.
    if (!text.empty() && text.back() == ';') text.pop_back();
    const char* begin = text.c_str();
    const char* end = nullptr;
    const int32_t value = readNumber(begin, &end);
    *valueOut = value;
    const std::string field = "field '" + name + "'";
    if (allWhiteSpace(text))
        return NumberFinding{Severity::Warning, field + " is empty and reads as 0"};
    if (end == begin)
        return NumberFinding{Severity::Error, field + " is " + inQuotes(text) +
                                                  ", not a number — the device reads 0; " +
                                                  "write a decimal number"};
    const std::string rest(end);
    const std::string digits = trimBlanks(std::string(begin, end));
    // Hexadecimal reads as its leading 0.
    if ((rest[0] == 'x' || rest[0] == 'X') && value == 0 && rest.size() > 1) {
        char* hexEnd = nullptr;
        const unsigned long long hex = std::strtoull(rest.c_str() + 1, &hexEnd, 16);
        if (hexEnd != rest.c_str() + 1 && allWhiteSpace(hexEnd) && hex <= 0xFFFFFFFFull)
            return NumberFinding{Severity::Error, field + " is " + inQuotes(text) +
                                                      " — the device reads 0, it knows no "
                                                      "hexadecimal; write " +
                                                      std::to_string(hex)};
    }
    if (!allWhiteSpace(rest))
        return NumberFinding{Severity::Warning, field + " is " + inQuotes(text) +
                                                    " — the device reads " + std::to_string(value) +
                                                    " and ignores " + inQuotes(rest)};
    // The digits as written, to see whether they fit in 32 bits.
    std::size_t p = 0;
    while (p < digits.size() && std::isspace(static_cast<unsigned char>(digits[p]))) ++p;
    const bool negative = p < digits.size() && digits[p] == '-';
    if (p < digits.size() && (digits[p] == '-' || digits[p] == '+')) ++p;
    int64_t exact = 0;
    bool tooLong = false;
    for (; p < digits.size(); ++p) {
        exact = exact * 10 + (digits[p] - '0');
        if (exact > (int64_t{1} << 32)) {
            tooLong = true;
            break;
        }
    }
    if (negative) exact = -exact;
    if (tooLong || exact > INT32_MAX || exact < INT32_MIN)
        return NumberFinding{Severity::Warning, field + " is " + inQuotes(trimBlanks(text)) +
                                                    ", beyond 32 bits — the device reads " +
                                                    std::to_string(value)};
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------
// Geometry: where an instrument draws, in 64-bit arithmetic so that no configured value
// can overflow the test.

struct Box {
    int64_t x0, y0, x1, y1; // inclusive
    bool offDisplay() const { return x1 < 0 || y1 < 0 || x0 >= DISPLAY_SIZE || y0 >= DISPLAY_SIZE; }
    std::string describe() const {
        return "x " + std::to_string(x0) + ".." + std::to_string(x1) + ", y " + std::to_string(y0) +
               ".." + std::to_string(y1);
    }
};

Box spanBox(int64_t a, int64_t aLength, int64_t b, int64_t bLength) {
    return {std::min(a, a + aLength), std::min(b, b + bLength), std::max(a, a + aLength),
            std::max(b, b + bLength)};
}

Box circleBox(int64_t x, int64_t y, int64_t radius) {
    const int64_t r = radius < 0 ? -radius : radius;
    return {x - r, y - r, x + r, y + r};
}

// Walks the text cursor over `count` character cells as printText does (wrap test before
// each character, a line feed moves to the next text row) and says whether any cell starts
// on the display. The walk stops early once the cursor has left the display downwards.
bool anyCellShows(int64_t x, int64_t y, int64_t scale, const std::string& text, int64_t count) {
    const int64_t limit = std::min<int64_t>(count, 100000);
    for (int64_t i = 0; i < limit; ++i) {
        const char c = text.empty() ? '0' : text[static_cast<std::size_t>(i)];
        if (c == '\r') continue;
        if (c == '\n' || x + 6 * scale > DISPLAY_SIZE) {
            x = 0;
            y += 8 * scale;
            if (c == '\n') continue;
        }
        if (x >= 0 && x < DISPLAY_SIZE && y >= 0 && y < DISPLAY_SIZE) return true;
        if (y >= DISPLAY_SIZE) return false;
        x += 6 * scale;
    }
    return count > limit; // too long to walk: assume some of it shows
}

// ---------------------------------------------------------------------------------------
// One configuration file.

struct InstrumentLine {
    int32_t line;
    std::string keyword;
};

struct LoadConfigLine {
    int32_t line;
    std::string name; // as the device keeps it (cut to 19 characters)
    int32_t seconds;
};

class FileChecker {
  public:
    FileChecker(fs::path dir, std::string shownName, std::vector<Diagnostic>& out)
        : dir_(std::move(dir)), shownName_(std::move(shownName)), out_(out) {}

    // Checks the file's bytes. Returns the successor the chain goes on to, if it goes on.
    std::optional<std::string> check(const std::string& data);

  private:
    void emit(int32_t line, Severity severity, std::string message) {
        out_.push_back({shownName_, line, severity, std::move(message)});
    }
    void checkLine(const SourceLine& line);
    void checkUnknown(int32_t line, const std::string& text, const FieldTable& fields);
    void checkFields(int32_t line, const std::string& text, const KeywordSpec& spec,
                     const FieldTable& fields);
    void checkInstrument(int32_t line, const KeywordSpec& spec, const FieldTable& fields);
    void checkGeometry(int32_t line, const std::string& keyword, const FieldTable& fields);
    void checkColourLine(int32_t line, const std::string& keyword);
    void checkLoadConfig(int32_t line, const FieldTable& fields);
    void checkImage(int32_t line, const FieldTable& fields);
    void checkLineEnds(const std::vector<SourceLine>& lines);

    fs::path dir_;
    std::string shownName_;
    std::vector<Diagnostic>& out_;
    int32_t instruments_ = 0;
    std::optional<InstrumentLine> lastObject_;
    std::optional<InstrumentLine> ignoredSinceObject_; // an unknown line after lastObject_
    std::vector<LoadConfigLine> loadConfigs_;
    std::vector<int32_t> imageLines_;
};

std::optional<std::string> FileChecker::check(const std::string& data) {
    std::vector<SourceLine> lines = splitLines(data);
    // The loader stops at a line whose last byte read is a zero byte, which can only be
    // the file's very last byte.
    const bool lastLineLost = !data.empty() && data.back() == '\0';
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& line = lines[i];
        if (lastLineLost && i + 1 == lines.size()) {
            emit(line.number, Severity::Warning,
                 "the file ends in a zero byte — the device stops reading before this line "
                 "and ignores it");
            break;
        }
        checkLine(line);
    }
    checkLineEnds(lines);

    for (std::size_t i = 0; i + 1 < imageLines_.size(); ++i)
        emit(imageLines_[i], Severity::Warning,
             "this picture is wiped out by the 'image' line " + std::to_string(imageLines_.back()) +
                 " — every 'image' line clears the display first");

    if (loadConfigs_.empty()) return std::nullopt;
    for (std::size_t i = 0; i + 1 < loadConfigs_.size(); ++i)
        emit(loadConfigs_[i].line, Severity::Warning,
             "overridden by the 'LoadConfig' line " + std::to_string(loadConfigs_.back().line) +
                 " — only the last 'LoadConfig' line of a file counts");
    const LoadConfigLine& last = loadConfigs_.back();
    if (last.seconds < 0 || last.seconds >= kNeverDue) {
        emit(last.line, Severity::Warning,
             "a delay of " + std::to_string(last.seconds) +
                 " seconds is never reached, so the chain stops here and " + inQuotes(last.name) +
                 " is never loaded; use 0 to 4294966");
        return std::nullopt;
    }
    if (last.name.empty()) {
        emit(last.line, Severity::Error,
             "no file name — the next load finds no file, so the device keeps this screen and "
             "tries again every 21 seconds");
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path next = dir_ / last.name;
    if (!fs::is_regular_file(next, ec)) {
        emit(last.line, Severity::Error,
             "the next configuration file " + inQuotes(last.name) +
                 (fs::exists(next, ec) ? " is not a file" : " does not exist") +
                 " — the device keeps this screen and tries again every 21 seconds" +
                 missingFileHint(dir_, last.name));
        return std::nullopt;
    }
    return last.name;
}

void FileChecker::checkLineEnds(const std::vector<SourceLine>& lines) {
    const SourceLine* first = nullptr;
    for (const SourceLine& line : lines) {
        if (line.end == LineEnd::None) continue;
        if (first == nullptr) {
            first = &line;
            continue;
        }
        if (line.end != first->end) {
            emit(line.number, Severity::Note,
                 std::string("this line ends in ") + lineEndName(line.end) + " but line " +
                     std::to_string(first->number) + " ends in " + lineEndName(first->end) +
                     "; the device ends a line at every LF and every CR, so it reads both "
                     "alike");
            return;
        }
    }
    if (first != nullptr && first->end == LineEnd::Cr)
        emit(0, Severity::Note,
             "lines end in CR alone; the device reads them correctly, but many editors show "
             "such a file as one long line");
}

void FileChecker::checkLine(const SourceLine& line) {
    // The text the device sees ends at a zero byte; only then is a shorter copy needed.
    const bool cut = std::memchr(line.raw.data(), 0, line.raw.size()) != nullptr;
    const std::string shortened = cut ? line.text() : std::string();
    const std::string& text = cut ? shortened : line.raw;
    if (cut) {
        const std::string rest = line.raw.substr(text.size() + 1);
        emit(line.number, Severity::Warning,
             "a zero byte ends this line for the device" +
                 (rest.empty() ? std::string() : " — " + inQuotes(rest) + " after it is ignored"));
    }
    if (allWhiteSpace(text)) return;

    const FieldTable fields(text.c_str());
    const KeywordSpec* spec = findKeyword(fields.field(0));
    if (spec == nullptr) {
        checkUnknown(line.number, text, fields);
        return;
    }
    checkFields(line.number, text, *spec, fields);
    switch (spec->kind) {
    case KeywordKind::Picture:
        checkImage(line.number, fields);
        break;
    case KeywordKind::Instrument:
        checkInstrument(line.number, *spec, fields);
        break;
    case KeywordKind::Command:
        if (std::strcmp(spec->name, "SetColor") == 0 || std::strcmp(spec->name, "SetBGColor") == 0)
            checkColourLine(line.number, spec->name);
        else if (std::strcmp(spec->name, "LoadConfig") == 0)
            checkLoadConfig(line.number, fields);
        break;
    }
    if (spec->kind != KeywordKind::Picture && text.find("image") != std::string::npos)
        emit(line.number, Severity::Note,
             "the line mentions 'image', so the device reopens this file after it; that "
             "changes nothing");
}

void FileChecker::checkUnknown(int32_t line, const std::string& text, const FieldTable& fields) {
    // A line of one byte begins no field at all; the whole line is then the "keyword".
    const std::string word = fields.fieldCount() > 0 ? fields.field(0) : text;
    const std::string start = trimBlanks(text);
    if (start.rfind('#', 0) == 0 || start.rfind("//", 0) == 0 || start.rfind(';', 0) == 0 ||
        start.rfind("--", 0) == 0) {
        emit(line, Severity::Note,
             "there are no comments in configuration files; the device ignores this line "
             "because it starts with no keyword");
        return;
    }
    std::string hint;
    const std::string keyword = suggestKeyword(word, &hint);
    std::string message = "unknown keyword " + inQuotes(word) + " — the line is ignored";
    if (!keyword.empty()) {
        message += "; did you mean " + inQuotes(keyword) + "?";
        if (!hint.empty()) message += " (" + hint + ")";
        const KeywordSpec* meant = findKeyword(keyword.c_str());
        if (meant != nullptr && meant->kind == KeywordKind::Instrument)
            ignoredSinceObject_ = InstrumentLine{line, keyword};
    }
    emit(line, Severity::Error, message);
}

void FileChecker::checkFields(int32_t line, const std::string& text, const KeywordSpec& spec,
                              const FieldTable& fields) {
    const int32_t present = fields.fieldCount() - 1; // arguments the line has
    std::vector<std::string> missing;
    for (int32_t i = 1; i <= spec.fieldCount; ++i) {
        const FieldSpec& f = spec.fields[i - 1];
        if (i > present) {
            if (f.kind != FieldKind::Text) missing.push_back(f.name);
            continue;
        }
        if (f.kind == FieldKind::Text) continue; // the keyword's own checks look at texts
        int32_t value = 0;
        if (auto finding = checkNumber(f.name, fields.field(i), &value)) {
            emit(line, finding->severity, finding->message);
        } else if (f.kind == FieldKind::Colour && (value < 0 || value > 0xFFFF)) {
            emit(line, Severity::Warning,
                 "colour " + std::to_string(value) +
                     " is outside 0..65535 — only its low 16 bits count, so it draws as " +
                     std::to_string(value & 0xFFFF));
        }
    }
    if (!missing.empty()) {
        std::string all;
        for (int32_t i = 0; i < spec.fieldCount; ++i)
            all += (i > 0 ? ";" : "") + std::string(spec.fields[i].name);
        emit(line, Severity::Warning,
             inQuotes(spec.name) + " takes " + std::to_string(spec.fieldCount) + " field" +
                 (spec.fieldCount == 1 ? "" : "s") + " (" + all + "): " + inQuotesList(missing) +
                 (missing.size() == 1 ? " is" : " are") + " missing and read" +
                 (missing.size() == 1 ? "s" : "") + " as 0");
    }

    std::vector<std::string> extra;
    for (int32_t i = spec.fieldCount + 1; i <= present; ++i) {
        const std::string value = fields.field(i);
        if (!value.empty() && value != ";") extra.push_back(value);
    }
    if (!extra.empty())
        emit(line, Severity::Warning,
             inQuotes(spec.name) + " takes " + std::to_string(spec.fieldCount) + " field" +
                 (spec.fieldCount == 1 ? "" : "s") + " — " + inQuotesList(extra) +
                 (extra.size() == 1 ? " is" : " are") + " ignored");

    if (fields.separatorCount() >= kFieldSlots - 1) {
        // The ninth separator that the splitting saw; the last byte is never one.
        int32_t seen = 0;
        std::size_t at = 0;
        for (std::size_t p = 0; p + 1 < text.size(); ++p)
            if (text[p] == ';' && ++seen == kFieldSlots - 1) {
                at = p;
                break;
            }
        emit(line, Severity::Warning,
             "text after the ninth ';' is dropped: " + inQuotes(text.substr(at + 1)));
    }
}

void FileChecker::checkInstrument(int32_t line, const KeywordSpec& spec, const FieldTable& fields) {
    ++instruments_;
    if (instruments_ > kObjectSlots) {
        emit(line, Severity::Error,
             "this is the " + ordinal(instruments_) +
                 " instrument of the file — the display holds ten, so it is never created");
    } else {
        lastObject_ = InstrumentLine{line, spec.name};
        ignoredSinceObject_.reset();
    }
    checkGeometry(line, spec.name, fields);
}

void FileChecker::checkGeometry(int32_t line, const std::string& keyword,
                                const FieldTable& fields) {
    auto n = [&fields](int32_t i) -> int64_t { return fields.number(i); };
    auto outside = [&](const Box& box) {
        if (box.offDisplay())
            emit(line, Severity::Error,
                 "the " + keyword + " lies entirely outside the 128 × 128 display (" +
                     box.describe() + ") — nothing of it shows");
    };
    auto smallRadius = [&](int64_t radius) {
        if (radius < 1)
            emit(line, Severity::Warning,
                 "a diameter of " + std::to_string(n(3)) + " gives a radius of " +
                     std::to_string(radius) + " — the " + keyword +
                     " shrinks to a dot; use a diameter of 2 or more");
    };

    if (keyword == "Tacho") {
        if (n(4) < 18)
            emit(line, Severity::Warning,
                 "a height of " + std::to_string(n(4)) +
                     (n(4) < 10 ? " puts all ten bars on the same row"
                                : " gives bars of no thickness") +
                     " — the bar gauge needs a height of 18 or more");
        if (n(3) < 1)
            emit(line, Severity::Warning,
                 "a width of " + std::to_string(n(3)) + " gives bars of no width");
        outside(spanBox(n(1), n(3), n(2), n(4)));
    } else if (keyword == "GyroHorizonRect") {
        if (n(4) < 2)
            emit(line, Severity::Error,
                 "a height of " + std::to_string(n(4)) +
                     " leaves the horizon no room to move — the device divides by zero "
                     "here; Orvanta keeps the horizon still. Use a height of 2 or more");
        outside(spanBox(n(1), n(3) - 1, n(2), n(4) - 1));
    } else if (keyword == "Kompass") {
        const std::unique_ptr<Kompass> card(Kompass::fromFields(fields));
        if (!card) return;
        smallRadius(card->radius);
        outside(circleBox(card->x, card->y, card->radius));
    } else if (keyword == "RoundPointer") {
        const std::unique_ptr<RoundPointer> needle(RoundPointer::fromFields(fields));
        if (!needle) return;
        smallRadius(needle->radius);
        const int64_t lo = needle->minValue, hi = needle->maxValue;
        if (lo == hi)
            emit(line, Severity::Error,
                 "the maximum equals the minimum (" + std::to_string(lo) +
                     ") — the device divides by zero when it picks a target; Orvanta holds "
                     "the needle still. Make the maximum larger than the minimum");
        else if (hi < lo)
            emit(line, Severity::Warning,
                 "the maximum " + std::to_string(hi) + " is below the minimum " +
                     std::to_string(lo) + " — the needle swings between " + std::to_string(lo) +
                     " and " + std::to_string(2 * lo - hi - 1) + " instead; swap them");
        outside(circleBox(needle->x, needle->y, needle->radius));
    } else if (keyword == "Radar") {
        const std::unique_ptr<Radar> scope(Radar::fromFields(fields));
        if (!scope) return;
        smallRadius(scope->radius);
        outside(circleBox(scope->x, scope->y, scope->radius));
    } else if (keyword == "LED") {
        const std::unique_ptr<LED> lamp(LED::fromFields(fields));
        if (!lamp) return;
        smallRadius(lamp->radius);
        outside(circleBox(lamp->x, lamp->y, lamp->radius));
    } else if (keyword == "DigitCounter" || keyword == "ToggleText") {
        const bool toggle = keyword == "ToggleText";
        const int64_t scale = n(4);
        std::string text;
        int64_t count = 0;
        if (toggle) {
            const std::string full = fields.field(3);
            text = full.substr(0, kToggleTextLength);
            count = static_cast<int64_t>(text.size());
            if (full.size() > static_cast<std::size_t>(kToggleTextLength))
                emit(line, Severity::Warning,
                     "the text " + inQuotes(full) + " has " + std::to_string(full.size()) +
                         " characters — only the first 20 show: " + inQuotes(text));
            if (!full.empty() && full.back() == ';')
                emit(line, Severity::Warning,
                     "the text ends in ';', which shows — a ';' at the very end of a line "
                     "stays part of the last field");
            if (full.empty()) emit(line, Severity::Warning, "the text is empty — nothing shows");
        } else {
            count = n(3);
            if (count < 1)
                emit(line, Severity::Warning,
                     "a digit count of " + std::to_string(count) + " prints nothing");
        }
        if (scale < 1) {
            emit(line, Severity::Warning,
                 "a text scale of " + std::to_string(scale) +
                     " draws no readable text — use 1 or more");
        } else if (count > 0 && !anyCellShows(n(1), n(2), scale, text, count)) {
            emit(line, Severity::Error,
                 "the " + keyword + " starts at (" + std::to_string(n(1)) + ", " +
                     std::to_string(n(2)) +
                     ") and no character of it lands on the 128 × 128 display — nothing of "
                     "it shows");
        }
    }
}

void FileChecker::checkColourLine(int32_t line, const std::string& keyword) {
    if (!lastObject_) {
        emit(line, Severity::Warning,
             "no instrument above it in this file — the line is ignored; put it after the "
             "instrument line it belongs to");
        return;
    }
    if (instruments_ > kObjectSlots) {
        emit(line, Severity::Warning,
             "the display already holds ten instruments, so this colour goes to the tenth (" +
                 lastObject_->keyword + " of line " + std::to_string(lastObject_->line) +
                 "), not to the one above");
        return;
    }
    if (ignoredSinceObject_)
        emit(line, Severity::Note,
             "line " + std::to_string(ignoredSinceObject_->line) +
                 " above is ignored, so this colour goes to the " + lastObject_->keyword +
                 " of line " + std::to_string(lastObject_->line));
    if (lastObject_->keyword == "Radar")
        emit(line, Severity::Warning,
             "the Radar of line " + std::to_string(lastObject_->line) +
                 " draws in fixed shades of green — " + keyword + " changes nothing");
    else if (lastObject_->keyword == "GyroHorizonRect" && keyword == "SetBGColor")
        emit(line, Severity::Warning,
             "the GyroHorizonRect of line " + std::to_string(lastObject_->line) +
                 " has no background colour (its sky is fixed) — SetBGColor changes nothing");
}

void FileChecker::checkLoadConfig(int32_t line, const FieldTable& fields) {
    const std::string full = fields.field(1);
    char kept[kConfigNameSize];
    copyConfigName(kept, full.c_str());
    if (full.size() >= kConfigNameSize)
        emit(line, Severity::Warning,
             "the file name " + inQuotes(full) + " has " + std::to_string(full.size()) +
                 " characters — the device keeps only the first 19: " + inQuotes(kept));
    loadConfigs_.push_back({line, kept, fields.number(2)});
}

void FileChecker::checkImage(int32_t line, const FieldTable& fields) {
    imageLines_.push_back(line);
    const std::string name = fields.field(1);
    if (name.empty()) {
        emit(line, Severity::Error,
             "no file name — the display is cleared to black and nothing is drawn");
        return;
    }
    const PictureVerdict verdict = checkPictureFile(dir_, name);
    if (!verdict.problem.empty()) emit(line, verdict.severity, verdict.problem);
}

// Checks one file; `shownName` is how diagnostics name it. Returns the successor.
std::optional<std::string> checkOneFile(const fs::path& path, const std::string& shownName,
                                        CheckReport& report) {
    std::string data;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || !readWholeFile(path, &data)) {
        report.diagnostics.push_back(
            {shownName, 0, Severity::Error,
             fs::exists(path, ec) ? "cannot be read as a file"
                                  : "not found — the device finds nothing to show and tries "
                                    "again every 21 seconds"});
        return std::nullopt;
    }
    ++report.files;
    std::vector<Diagnostic> found;
    FileChecker checker(path.parent_path(), shownName, found);
    std::optional<std::string> next = checker.check(data);
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    report.diagnostics.insert(report.diagnostics.end(), found.begin(), found.end());
    return next;
}

} // namespace

int32_t CheckReport::count(Severity severity) const {
    return static_cast<int32_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [severity](const Diagnostic& d) { return d.severity == severity; }));
}

std::string suggestKeyword(const std::string& word, std::string* hint) {
    std::string unused;
    std::string& why = hint != nullptr ? *hint : unused;
    why.clear();
    const KeywordSpec* table = keywordTable();
    const int32_t count = keywordCount();
    const std::string trimmed = trimBlanks(word);
    const std::string key = lower(trimmed);

    for (int32_t i = 0; i < count; ++i)
        if (trimmed == table[i].name && trimmed != word) {
            why = "a keyword must not have blanks around it";
            return table[i].name;
        }
    for (int32_t i = 0; i < count; ++i)
        if (key == lower(table[i].name)) {
            why = "keywords are case-sensitive";
            if (trimmed != word) why += " and must not have blanks around them";
            return table[i].name;
        }
    if (!trimmed.empty() && trimmed.back() == ';') {
        const std::string bare = trimmed.substr(0, trimmed.size() - 1);
        for (int32_t i = 0; i < count; ++i)
            if (lower(bare) == lower(table[i].name)) {
                why = "a ';' at the very end of a line stays part of the keyword";
                return table[i].name;
            }
    }
    if (key.size() >= 3)
        for (int32_t i = 0; i < count; ++i) {
            const std::string name = lower(table[i].name);
            if (name.rfind(key, 0) == 0) {
                why = "the keyword is incomplete";
                return table[i].name;
            }
        }
    // The longest keyword that begins the word, so that "SetColorRed" finds "SetColor".
    const KeywordSpec* longest = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = lower(table[i].name);
        if (key.rfind(name, 0) == 0 &&
            (longest == nullptr || name.size() > std::strlen(longest->name)))
            longest = &table[i];
    }
    if (longest != nullptr) {
        why = "the keyword ends where the first ';' is";
        return longest->name;
    }
    std::size_t best = key.size() <= 4 ? 1 : key.size() < 10 ? 2 : 3;
    const KeywordSpec* nearest = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        const std::size_t d = editDistance(key, lower(table[i].name), best);
        if (d <= best && (nearest == nullptr || d < best)) {
            best = d;
            nearest = &table[i];
        }
    }
    return nearest != nullptr ? nearest->name : std::string();
}

CheckReport checkFolder(const std::string& folder) {
    CheckReport report;
    std::set<std::string> visited;
    std::optional<std::string> name = kFirstFile;
    while (name && visited.insert(*name).second)
        name = checkOneFile(fs::path(folder) / *name, joinShown(folder, *name), report);
    return report;
}

CheckReport checkFiles(const std::vector<std::string>& paths) {
    CheckReport report;
    for (const std::string& path : paths) checkOneFile(fs::path(path), path, report);
    return report;
}

void promoteWarnings(CheckReport& report) {
    for (Diagnostic& d : report.diagnostics)
        if (d.severity == Severity::Warning) d.severity = Severity::Error;
}

std::string formatDiagnostic(const Diagnostic& d) {
    const char* label = d.severity == Severity::Error     ? "error"
                        : d.severity == Severity::Warning ? "warning"
                                                          : "note";
    std::string out = d.file;
    if (d.line > 0) out += ":" + std::to_string(d.line);
    return out + ": " + label + ": " + d.message;
}

std::string formatSummary(const CheckReport& report) {
    auto counted = [](int32_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return counted(report.count(Severity::Error), "error") + ", " +
           counted(report.count(Severity::Warning), "warning") + " in " +
           counted(report.files, "file");
}

} // namespace orvanta::cli
