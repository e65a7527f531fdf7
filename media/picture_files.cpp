#include "media/picture_files.h"

#include <utility>

#include "media/image.h"

namespace orvanta {

bool makePictureFiles(std::span<const uint8_t> file, const ConvertOptions& options,
                      int32_t previewZoom, ConvertResult* result, PictureFiles* files,
                      std::string* error) {
    if (file.size() > kMaxPictureFileBytes) {
        *error = "the file is " + std::to_string(file.size() >> 20) + " MB, larger than the " +
                 std::to_string(kMaxPictureFileBytes >> 20) + " MB a picture may be";
        return false;
    }
    if (previewZoom < 0 || previewZoom > 16) {
        *error = "the preview's zoom " + std::to_string(previewZoom) + " is not 1 to 16";
        return false;
    }
    if (!convertPicture(file, options, result, error)) return false;
    files->preview.clear();
    if (previewZoom > 0 &&
        !encodePng(panelPreview(result->picture, previewZoom), &files->preview, error))
        return false;
    files->bmp = encodeBmp24(result->picture);
    return true;
}

} // namespace orvanta
