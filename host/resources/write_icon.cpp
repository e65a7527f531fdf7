// Build-time tool: writes the program icon as a PNG file for installation.
// Usage: orvanta-write-icon OUTPUT.png
#include <cstdio>

#include "host/resources/icon.h"
#include "media/image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    orvanta::RgbImage image;
    image.width = orvanta::DISPLAY_SIZE;
    image.height = orvanta::DISPLAY_SIZE;
    image.rgb = orvanta::programIconRgb(orvanta::DISPLAY_SIZE);
    std::string error;
    if (!orvanta::writePng(argv[1], image, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
