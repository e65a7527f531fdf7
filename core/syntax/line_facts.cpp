#include "core/syntax/line_facts.h"

namespace orvanta {

namespace {

std::string escaped(std::string_view s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c < 32 || c == 127) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::string quoteUserText(std::string_view text) {
    constexpr std::size_t kLongest = 60;
    std::string out(1, '\'');
    out += escaped(text.substr(0, kLongest));
    if (text.size() > kLongest) out += "…";
    out += '\'';
    return out;
}

} // namespace orvanta
