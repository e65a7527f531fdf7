#pragma once
// The page's picture module: the decoders and encoders (PNG, GIF, JPEG and the converter),
// built apart from the device's module so that the page loads them only when a picture is
// converted or saved. It holds no device: the page hands it the panel's words and the times
// of frames, both read from the device's module.
#include <cstdint>
#include <memory>
#include <string>

#include "core/display/surface.h"
#include "host/web/engine/export.h"

namespace orvanta::web {

// Keeps `bytes` as the module's reply and returns them; orvanta_reply_size() gives their
// count. The reply stays valid until the next function that replies.
const char* pictureReply(std::string bytes);
std::string& replyBytes();

// The panel given as 128 x 128 words, as the device module's orvanta_picture() returns them,
// row after row; a null pointer reads as a black panel.
std::unique_ptr<Surface> surfaceAt(const uint32_t* words);

// A time in ms handed over as a double, as a whole number of ms: NaN and negative times read
// as 0, times beyond 2^53 as 2^53.
uint64_t wholeMs(double ms);

} // namespace orvanta::web
