#pragma once
// Windows icon files (.ico), for the resource script's icons.
#include <cstdint>
#include <vector>

namespace orvanta {

// One picture of an icon: side x side pixels as packed 8-bit RGB rows, top to bottom.
struct IconPicture {
    int32_t side = 0; // 1..256
    std::vector<uint8_t> rgb;
};

// The bytes of an .ico file holding the pictures, each as an opaque 32-bit bitmap (the form
// every Windows version reads), in the order given. Pictures with a side outside 1..256 or
// the wrong number of bytes are left out.
std::vector<uint8_t> encodeIcon(const std::vector<IconPicture>& pictures);

} // namespace orvanta
