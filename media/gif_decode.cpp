#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "media/picture.h"

namespace orvanta {

namespace {

struct Reader {
    std::span<const uint8_t> bytes;
    std::size_t position = 0;
};

int readBytes(GifFileType* gif, GifByteType* out, int length) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                                    reader->bytes.size() - reader->position);
    std::memcpy(out, reader->bytes.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

std::string gifFailure(int code) {
    const char* text = GifErrorString(code);
    return std::string("the GIF file cannot be read: ") + (text != nullptr ? text : "error");
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int code = 0;
        DGifCloseFile(gif, &code);
    }
};

// Reads the first frame onto a canvas of the logical screen's size, grown to hold the
// frame where it reaches beyond. Canvas pixels the frame does not cover, and the frame's
// transparent colour, stay transparent.
bool readFirstFrame(GifFileType* gif, RgbaImage* image, std::string* error) {
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
            GraphicsControlBlock control{};
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
                DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                transparent = control.TransparentColor;
            while (block != nullptr)
                if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
            continue;
        }
        if (type == TERMINATE_RECORD_TYPE) {
            *error = "the GIF file holds no picture";
            return false;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
        const GifImageDesc& frame = gif->Image;
        const int64_t left = frame.Left, top = frame.Top;
        if (!allocatePicture(std::max<int64_t>(gif->SWidth, left + frame.Width),
                             std::max<int64_t>(gif->SHeight, top + frame.Height), image, error))
            return false;
        const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
        std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(frame.Width, 1)));
        // An interlaced frame stores every 8th row from 0, every 8th from 4, every 4th
        // from 2, then every 2nd from 1.
        static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
        const int passes = frame.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int step = frame.Interlace ? kStep[pass] : 1;
            for (int row = frame.Interlace ? kStart[pass] : 0; row < frame.Height; row += step) {
                if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) return false;
                uint8_t* out = image->rgba.data() +
                               ((top + row) * static_cast<int64_t>(image->width) + left) * 4;
                for (int x = 0; x < frame.Width; ++x, out += 4) {
                    const int index = line[static_cast<std::size_t>(x)];
                    if (index == transparent) continue;
                    if (map != nullptr && index < map->ColorCount) {
                        out[0] = map->Colors[index].Red;
                        out[1] = map->Colors[index].Green;
                        out[2] = map->Colors[index].Blue;
                    }
                    out[3] = 255;
                }
            }
        }
        return true;
    }
    *error = gifFailure(gif->Error);
    return false;
}

} // namespace

bool decodeGif(std::span<const uint8_t> bytes, RgbaImage* image, std::string* error) {
    error->clear();
    Reader reader{bytes};
    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readBytes, &code));
    if (!gif) {
        *error = gifFailure(code);
        return false;
    }
    if (readFirstFrame(gif.get(), image, error)) return true;
    if (error->empty()) *error = gifFailure(gif->Error);
    *image = RgbaImage();
    return false;
}

} // namespace orvanta
