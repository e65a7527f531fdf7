#pragma once
// A streaming writer of looping animated GIF files: frames are written as they come, each
// with its own exact colour table when it has at most 256 colours and a quantised one
// otherwise.
#include <cstdint>
#include <string>
#include <vector>

#include "media/image.h"

struct GifFileType;

namespace orvanta {

class GifWriter {
  public:
    GifWriter() = default;
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter();

    // Creates the file for pictures of width x height that loop forever.
    bool open(const std::string& path, int32_t width, int32_t height, std::string* error);
    // Starts the same animation in `bytes`, which must outlive the writer's close().
    bool openInMemory(std::vector<uint8_t>* bytes, int32_t width, int32_t height,
                      std::string* error);
    // Appends a picture shown for delayCentiseconds (1..65535).
    bool addFrame(const RgbImage& image, int32_t delayCentiseconds, std::string* error);
    bool close(std::string* error);
    bool isOpen() const { return file_ != nullptr; }

  private:
    // Writes the screen description and the loop extension; `failure` begins the error.
    bool start(int32_t width, int32_t height, const std::string& failure, std::string* error);

    GifFileType* file_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace orvanta
