#include "cli/picture_options.h"

#include <charconv>
#include <cstdio>

#include "core/display/surface.h"

namespace orvanta::cli {

namespace {

// Splits `text` at `separator` into exactly `count` decimal integers.
bool numbers(const std::string& text, char separator, std::size_t count,
             std::vector<int64_t>* values) {
    values->clear();
    const char* p = text.data();
    const char* end = p + text.size();
    while (values->size() < count) {
        int64_t value = 0;
        const auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || value < -1'000'000 || value > 1'000'000) return false;
        values->push_back(value);
        p = next;
        if (values->size() < count) {
            if (p == end || *p != separator) return false;
            ++p;
        }
    }
    return p == end;
}

bool parseColour(const std::string& text, uint32_t* rgb) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    if (text.size() == 7 && text[0] == '#') {
        const auto [next, ec] = std::from_chars(text.data() + 1, end, value, 16);
        if (ec != std::errc() || next != end) return false;
        *rgb = (value >> 16) | (value & 0xFF00) | (value & 0xFF) << 16;
        return true;
    }
    const auto [next, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || next != end || value > 65535) return false;
    *rgb = color565ToRgb(static_cast<int32_t>(value));
    return true;
}

} // namespace

bool parsePictureOptions(const std::string& fit, const std::string& crop,
                         const std::string& background, const std::string& place,
                         ConvertOptions* options, std::string* error) {
    std::vector<int64_t> v;
    if (!fit.empty()) {
        const std::size_t x = fit.find_first_of("xX");
        if (x == std::string::npos ||
            !numbers(fit.substr(0, x) + "," + fit.substr(x + 1), ',', 2, &v) || v[0] < 1 ||
            v[1] < 1 || v[0] > 16384 || v[1] > 16384) {
            *error = "--fit takes WxH, two sizes from 1 to 16384 such as 128x64, not '" + fit + "'";
            return false;
        }
        options->fit = PictureRect{0, 0, v[0], v[1]};
    }
    if (!crop.empty()) {
        if (!numbers(crop, ',', 4, &v) || v[2] < 1 || v[3] < 1) {
            *error =
                "--crop takes X,Y,W,H with a width and height of at least 1, not '" + crop + "'";
            return false;
        }
        options->crop = PictureRect{v[0], v[1], v[2], v[3]};
    }
    if (!parseColour(background, &options->background)) {
        *error = "--background takes an RGB565 number from 0 to 65535 or #rrggbb, not '" +
                 background + "'";
        return false;
    }
    if (!place.empty()) {
        if (!numbers(place, ',', 2, &v)) {
            *error = "--place takes X,Y, such as 32,40, not '" + place + "'";
            return false;
        }
        options->place = PictureRect{v[0], v[1], 0, 0};
    }
    return true;
}

std::vector<std::string> pictureReport(const std::string& input, const std::string& output,
                                       const ConvertOptions& options, const ConvertResult& result) {
    const auto size = [](int64_t w, int64_t h) {
        return std::to_string(w) + " x " + std::to_string(h);
    };
    std::vector<std::string> lines;
    lines.push_back(input + ": " + pictureFormatName(result.format) + ", " +
                    size(result.sourceWidth, result.sourceHeight) + " pixels");
    const RgbImage& p = result.picture;
    std::string written = output + ": " + size(p.width, p.height) + " pixels";
    if (options.place)
        written += ", the panel with the picture at " + std::to_string(options.place->x) + "," +
                   std::to_string(options.place->y);
    if (p.width > DISPLAY_SIZE || p.height > DISPLAY_SIZE)
        written += "; larger than the 128 x 128 panel, which shows its top-left corner";
    lines.push_back(written);
    const int64_t total = static_cast<int64_t>(p.width) * p.height;
    std::string colours = "RGB565: " + std::to_string(result.changedByPanel) + " of " +
                          std::to_string(total) + " pixels change colour on the panel";
    if (options.dither && result.changedByPanel > 0)
        colours += "; dithered, so the file holds the panel's colours";
    lines.push_back(colours);
    return lines;
}

} // namespace orvanta::cli
