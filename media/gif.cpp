#include "media/gif.h"

#include <gif_lib.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/open_file.h"

namespace orvanta {

namespace {
std::string gifError(int code) {
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "unknown GIF error";
}

// giflib's output callback for animations in memory: appends to the vector given as its
// user data.
int appendBytes(GifFileType* file, const GifByteType* data, int length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(file->UserData);
    bytes->insert(bytes->end(), data, data + length);
    return length;
}

// Colour tables hold a power of two entries, at least two.
int tableSize(int colours) {
    int size = 2;
    while (size < colours) size *= 2;
    return size;
}
} // namespace

GifWriter::~GifWriter() {
    close(nullptr);
}

bool GifWriter::open(const std::string& path, int32_t width, int32_t height, std::string* error) {
    // giflib's own open creates files readable by their owner alone; a picture made for
    // sharing gets the usual permissions, as the PNG writer's do.
    const int fd = createFileDescriptor(path);
    if (fd < 0) {
        if (error != nullptr) *error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    int code = 0;
    file_ = EGifOpenFileHandle(fd, &code);
    if (file_ == nullptr) {
        ::close(fd);
        if (error != nullptr) *error = "cannot write '" + path + "': " + gifError(code);
        return false;
    }
    return start(width, height, "cannot write '" + path + "': ", error);
}

bool GifWriter::openInMemory(std::vector<uint8_t>* bytes, int32_t width, int32_t height,
                             std::string* error) {
    bytes->clear();
    int code = 0;
    file_ = EGifOpen(bytes, appendBytes, &code);
    if (file_ == nullptr) {
        if (error != nullptr) *error = "cannot start a GIF animation: " + gifError(code);
        return false;
    }
    return start(width, height, "cannot start a GIF animation: ", error);
}

bool GifWriter::start(int32_t width, int32_t height, const std::string& failure,
                      std::string* error) {
    width_ = width;
    height_ = height;
    EGifSetGifVersion(file_, true);
    // A global table is required by some viewers before the first frame; frames bring
    // their own exact tables.
    ColorMapObject* global = GifMakeMapObject(2, nullptr);
    const bool ok =
        global != nullptr && EGifPutScreenDesc(file_, width, height, 8, 0, global) == GIF_OK;
    GifFreeMapObject(global);
    static const unsigned char netscape[] = "NETSCAPE2.0";
    static const unsigned char loopForever[] = {1, 0, 0};
    if (!ok || EGifPutExtensionLeader(file_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(file_, 11, netscape) != GIF_OK ||
        EGifPutExtensionBlock(file_, 3, loopForever) != GIF_OK ||
        EGifPutExtensionTrailer(file_) != GIF_OK) {
        if (error != nullptr) *error = failure + gifError(file_->Error);
        return false;
    }
    return true;
}

bool GifWriter::addFrame(const RgbImage& image, int32_t delayCentiseconds, std::string* error) {
    if (file_ == nullptr || image.width != width_ || image.height != height_) {
        if (error != nullptr) *error = "GIF frame does not fit the animation";
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    std::vector<GifByteType> indices(count);
    std::vector<GifColorType> colours;
    std::unordered_map<uint32_t, GifByteType> lookup;
    bool exact = true;
    for (std::size_t i = 0; i < count && exact; ++i) {
        const uint32_t rgb = image.rgb[i * 3] | image.rgb[i * 3 + 1] << 8 |
                             static_cast<uint32_t>(image.rgb[i * 3 + 2]) << 16;
        auto found = lookup.find(rgb);
        if (found == lookup.end()) {
            if (colours.size() == 256) {
                exact = false;
                break;
            }
            found = lookup.emplace(rgb, static_cast<GifByteType>(colours.size())).first;
            colours.push_back(
                GifColorType{image.rgb[i * 3], image.rgb[i * 3 + 1], image.rgb[i * 3 + 2]});
        }
        indices[i] = found->second;
    }
    int size = 256;
    if (exact) {
        size = tableSize(static_cast<int>(colours.size()));
        colours.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    } else {
        // More than 256 colours: let giflib's quantiser choose the table.
        std::vector<GifByteType> r(count), g(count), b(count);
        for (std::size_t i = 0; i < count; ++i) {
            r[i] = image.rgb[i * 3];
            g[i] = image.rgb[i * 3 + 1];
            b[i] = image.rgb[i * 3 + 2];
        }
        colours.assign(256, GifColorType{0, 0, 0});
        if (GifQuantizeBuffer(static_cast<unsigned>(width_), static_cast<unsigned>(height_), &size,
                              r.data(), g.data(), b.data(), indices.data(),
                              colours.data()) != GIF_OK) {
            if (error != nullptr) *error = "cannot reduce the colours of a GIF frame";
            return false;
        }
        size = tableSize(size);
        colours.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    }
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.DelayTime = std::clamp(delayCentiseconds, 1, 65535);
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t extensionLength = EGifGCBToExtension(&gcb, extension);
    bool ok = map != nullptr &&
              EGifPutExtension(file_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionLength),
                               extension) == GIF_OK &&
              EGifPutImageDesc(file_, 0, 0, width_, height_, false, map) == GIF_OK;
    for (int32_t y = 0; ok && y < height_; ++y)
        ok = EGifPutLine(file_, indices.data() + static_cast<std::size_t>(y) * width_, width_) ==
             GIF_OK;
    GifFreeMapObject(map);
    if (!ok && error != nullptr) *error = "cannot write GIF frame: " + gifError(file_->Error);
    return ok;
}

bool GifWriter::close(std::string* error) {
    if (file_ == nullptr) return true;
    int code = 0;
    const bool ok = EGifCloseFile(file_, &code) == GIF_OK;
    file_ = nullptr;
    if (!ok && error != nullptr) *error = "cannot finish GIF file: " + gifError(code);
    return ok;
}

} // namespace orvanta
