#include "check/pictures.h"

#include <algorithm>

#include "check/words.h"
#include "core/config/bmp.h"
#include "core/display/surface.h"
#include "core/storage/folder.h"
#include "core/storage/storage.h"
#include "core/trace/trace.h"

namespace orvanta::check {

namespace {

PictureVerdict found(Severity severity, std::string problem, const char* code) {
    return {severity, std::move(problem), code, {}, std::nullopt};
}

PictureVerdict judge(Storage& storage, const BmpHeader& header, const std::string& q,
                     const std::string& nothing);

} // namespace

PictureVerdict checkPictureFile(Folder& folder, const std::string& name) {
    const std::string q = inQuotes(name);
    const std::string nothing = " — the display is cleared to black and nothing is drawn";
    if (!existsExactly(folder, name)) {
        PictureVerdict verdict = found(Severity::Error, {}, "picture-not-found");
        verdict.problem =
            "picture " + q + " not found" + nothing + missingFileHint(folder, name, &verdict.fix);
        return verdict;
    }
    Storage storage(folder);
    if (storageOpen(storage, name.c_str()) != 0)
        return found(Severity::Error, "picture " + q + " is not a file" + nothing,
                     "picture-not-a-file");
    // Bytes beyond the end of the file read as zero, as on the device.
    const BmpHeader header = readBmpHeader(storage, Trace());
    PictureVerdict verdict = judge(storage, header, q, nothing);
    verdict.header = header;
    return verdict;
}

namespace {

PictureVerdict judge(Storage& storage, const BmpHeader& header, const std::string& q,
                     const std::string& nothing) {
    const int64_t fileSize = storageSize(storage);
    const std::string headerNote = fileSize < 34 ? " (the file ends inside its header)" : "";
    if (!header.signature)
        return found(Severity::Error,
                     "picture " + q + " is not a BMP file" + nothing +
                         "; save it as an uncompressed 24-bit BMP",
                     "picture-not-bmp");
    if (header.planes != 1)
        return found(Severity::Error,
                     "picture " + q + " has " + std::to_string(header.planes) +
                         " colour planes instead of 1" + headerNote + nothing,
                     "picture-planes");
    if (header.depth != 24)
        return found(Severity::Error,
                     "picture " + q + " has " + std::to_string(header.depth) + " bits per pixel" +
                         headerNote + nothing + "; save it as a 24-bit BMP",
                     "picture-depth");
    if (header.compression != 0)
        return found(Severity::Error,
                     "picture " + q + " is compressed (method " +
                         std::to_string(static_cast<uint32_t>(header.compression)) + ")" + nothing +
                         "; save it uncompressed",
                     "picture-compressed");
    const int64_t width = header.width, height = header.height, offset = header.offset;
    const int64_t rows = height < 0 ? -height : height;
    const std::string size = std::to_string(width) + " × " + std::to_string(rows) + " pixels";
    if (width <= 0 || rows == 0)
        return found(Severity::Error, "picture " + q + " is " + size + nothing, "picture-size");
    if (width > kMaxBmpDimension || rows > kMaxBmpDimension)
        return found(Severity::Error,
                     "picture " + q + " is " + size + ", too large to draw" + nothing,
                     "picture-too-large");
    const int64_t rowSize = (width * 3 + 3) & ~int64_t{3};
    if (offset < 0 || fileSize < offset + rows * rowSize)
        return found(Severity::Warning,
                     "picture " + q + " ends inside its pixel data — the " +
                         "pixels it lacks are drawn black",
                     "picture-cut-short");
    if (width > DISPLAY_SIZE || rows > DISPLAY_SIZE) {
        const int64_t shownWidth = std::min<int64_t>(width, DISPLAY_SIZE);
        const int64_t shownRows = std::min<int64_t>(rows, DISPLAY_SIZE);
        return found(Severity::Warning,
                     "picture " + q + " is " + size +
                         ", larger than the 128 × 128 display — only its " + "top-left " +
                         std::to_string(shownWidth) + " × " + std::to_string(shownRows) +
                         " pixels show",
                     "picture-larger-than-display");
    }
    return {};
}

} // namespace

} // namespace orvanta::check
