// Build-time tool: writes the program icon as a PNG file for installation.
// Usage: orvanta-write-icon OUTPUT.png [SIDE]   (SIDE divides 128; default 128)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/resources/icon.h"
#include "media/image.h"

int main(int argc, char** argv) {
    const int side = argc == 3 ? std::atoi(argv[2]) : orvanta::DISPLAY_SIZE;
    if ((argc != 2 && argc != 3) || side < 1 || side > orvanta::DISPLAY_SIZE ||
        orvanta::DISPLAY_SIZE % side != 0) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [SIDE]   (SIDE divides 128)\n", argv[0]);
        return 2;
    }
    orvanta::RgbImage image;
    image.width = side;
    image.height = side;
    image.rgb = orvanta::programIconRgb(side);
    std::string error;
    if (!orvanta::writePng(argv[1], image, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
