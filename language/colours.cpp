#include <cmath>

#include "core/config/keywords.h"
#include "core/display/surface.h"
#include "language/workspace_impl.h"

namespace orvanta::language {

namespace {

// The channel value of `bits` bits whose expansion lies nearest to `wanted` (0..255),
// the lower one on a tie. The expansion is the device's: value * 255 / maximum.
int32_t nearestChannel(int32_t wanted, int32_t bits) {
    const int32_t maximum = (1 << bits) - 1;
    int32_t best = 0;
    for (int32_t v = 1; v <= maximum; ++v)
        if (std::abs(v * 255 / maximum - wanted) < std::abs(best * 255 / maximum - wanted))
            best = v;
    return best;
}

// round(x * 255) within 0..255; a value that is not a number reads as 0.
int32_t byteOf(double x) {
    if (!(x > 0)) return 0;
    if (x >= 1) return 255;
    return static_cast<int32_t>(std::lround(x * 255));
}

} // namespace

int32_t rgb565ForPick(double red, double green, double blue) {
    return nearestChannel(byteOf(red), 5) << 11 | nearestChannel(byteOf(green), 6) << 5 |
           nearestChannel(byteOf(blue), 5);
}

std::vector<ColourField> Workspace::colours(const std::string& name) {
    std::vector<ColourField> out;
    const std::string bytes = readWhole(impl_->files, name);
    const std::vector<std::string_view> lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineView line(lines[i]);
        const KeywordSpec* spec = line.spec();
        if (spec == nullptr) continue;
        for (int32_t f = 1; f <= spec->fieldCount && f < line.fields().fieldCount(); ++f) {
            if (spec->fields[f - 1].kind != FieldKind::Colour) continue;
            const int32_t value = line.fields().number(f) & 0xFFFF;
            const Rgb24 rgb = color565ToRgb(value);
            out.push_back({lineRange(static_cast<int32_t>(i), line.span(f)), value,
                           (rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                           ((rgb >> 16) & 0xFF) / 255.0});
        }
    }
    return out;
}

} // namespace orvanta::language
