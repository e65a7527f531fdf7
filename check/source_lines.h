#pragma once
// The lines of a configuration file as an editor counts them, read with the loader's own
// line reader.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {
class Storage;
}

namespace orvanta::check {

enum class LineEnd { None, Lf, CrLf, Cr };

// A line as an editor counts it: a CR LF pair is one line end.
struct SourceLine {
    int32_t number = 0;
    std::string raw; // the bytes between the line ends, zero bytes included
    LineEnd end = LineEnd::None;
    std::string text() const { return std::string(raw.c_str()); }
};

// "LF", "CR LF", "CR" or "nothing".
const char* lineEndName(LineEnd end);

// Reads the lines of the file open in `storage` from its start. The loader stops at a line
// whose last byte read is a zero byte, which can only be the file's very last byte;
// `lastLineLost` tells whether this file has such a line.
std::vector<SourceLine> readSourceLines(Storage& storage, bool* lastLineLost);

} // namespace orvanta::check
