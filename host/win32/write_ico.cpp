// Build-time tool: writes the program icon as a Windows icon file with the given sides.
// Usage: orvanta-write-ico OUTPUT.ico SIDE...   (each side divides 128)
#include <cstdio>
#include <cstdlib>

#include "host/resources/icon.h"
#include "host/win32/ico_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico SIDE...\n", argv[0]);
        return 2;
    }
    std::vector<orvanta::IconPicture> pictures;
    for (int i = 2; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        if (side < 1 || side > orvanta::DISPLAY_SIZE || orvanta::DISPLAY_SIZE % side != 0) {
            std::fprintf(stderr, "%s: a side must divide 128: '%s'\n", argv[0], argv[i]);
            return 2;
        }
        pictures.push_back({side, orvanta::programIconRgb(side)});
    }
    const std::vector<uint8_t> bytes = orvanta::encodeIcon(pictures);
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool ok =
        out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out == nullptr || std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
