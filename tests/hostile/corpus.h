#pragma once
// The hostile-input corpus: configuration folders that a careless or malicious user could
// hand to the simulator, the renderer or the checker. Each case writes its files into an
// empty folder; the large ones are generated only then, so the repository holds nothing
// but this description. tests/hostile_test.cpp runs every case end to end, and copies the
// folders it made to $ORVANTA_HOSTILE_KEEP/<case> when that variable names a folder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/bmp_builder.h"

namespace orvanta::test::hostile {

namespace fs = std::filesystem;

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string repeat(const std::string& piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// Deterministic noise, so that a failing case can be reproduced byte for byte.
inline std::string noise(std::size_t size, uint32_t seed) {
    std::string out(size, '\0');
    for (char& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 23);
    }
    return out;
}

// Ten lines of one instrument whose numeric fields cycle through values near +-2^31, 0 and
// 64, so that every field meets every extreme in some line.
inline std::string extremeLines(const std::string& keyword, int fields) {
    const std::vector<std::string> values = {"-2147483648", "2147483647", "-2147483647",
                                             "2147483646",  "0",          "64"};
    std::string out;
    for (std::size_t line = 0; line < 10; ++line) {
        out += keyword;
        for (int f = 0; f < fields; ++f)
            out += ";" + values[(line * (f % 2 == 0 ? 1 : 5) + std::size_t(f) * 2) % values.size()];
        out += "\n";
    }
    return out;
}

inline std::string picture(int32_t width, int32_t height) {
    BmpBuilder bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.pixels = [](int32_t x, int32_t y) { return uint32_t(x * 9) | uint32_t(y * 5) << 8; };
    return bmp.build();
}

struct Case {
    std::string name;  // also the folder name
    std::string input; // what the case is, for the report
    std::function<void(const fs::path& folder)> write;
    int checkStatus; // the exit status of `orvanta-cli check` on the folder
    // CPU seconds each command may take in a build with sanitizers, which runs ten to forty
    // times slower than one without them.
    double sanitizedBudget = 1.0;
    // CPU seconds each command may take in a build without sanitizers.
    double budget = 1.0;
};

inline std::vector<Case> cases() {
    using namespace std::string_literals; // some texts hold zero bytes
    const auto config = [](std::string text) {
        return [text = std::move(text)](const fs::path& folder) {
            writeBytes(folder / "config.txt", text);
        };
    };
    // Large files are made only when a case runs, not whenever the list is built.
    const auto generated = [](std::string (*make)()) {
        return [make](const fs::path& folder) { writeBytes(folder / "config.txt", make()); };
    };
    const auto withPicture = [](std::string bytes) {
        return [bytes = std::move(bytes)](const fs::path& folder) {
            writeBytes(folder / "config.txt",
                       "Tacho;0;0;20;100;0\nimage;pic.bmp\nLED;64;64;20;1\n");
            writeBytes(folder / "pic.bmp", bytes);
        };
    };
    BmpBuilder headerOnly;
    headerOnly.width = headerOnly.height = 64;
    headerOnly.writePixels = false;
    BmpBuilder huge;
    huge.width = INT32_MAX;
    huge.height = INT32_MAX;
    huge.writePixels = false;
    BmpBuilder hugeNegative = huge;
    hugeNegative.width = hugeNegative.height = INT32_MIN;
    // The builder pads a file up to its pixel offset, so this offset is patched in after.
    BmpBuilder beyond;
    beyond.width = beyond.height = 16;
    std::string beyondBytes = beyond.build();
    beyondBytes.replace(10, 4, "\xF0\xFF\xFF\x7F");
    BmpBuilder negative;
    negative.width = -40;
    negative.height = -40;
    negative.writePixels = false;

    const std::string big = repeat("9", 100);
    // The check statuses follow the checker's rule: 1 when it reports an error (something
    // the device would not show as written), 0 for warnings and notes alone.
    std::vector<Case> all = {
        {"empty", "an empty config.txt", config(""), 0},
        {"separators", "lines of nothing but ';'",
         config(";\n;;;;;;;;;;;;;;;;;;;;;;;;\n" + repeat(";", 5000) + "\n;"), 0},
        {"line_50mb", "one line of 50 MB (a ToggleText whose text is 50 MB long), no line end",
         generated([] { return "ToggleText;0;0;" + std::string(50u << 20, 'W') + ";1;0"; }), 0,
         // Under AddressSanitizer every access of the copies is checked; without it both
         // commands stay within the plain one-second budget (0.6 to 0.9 s of CPU time).
         20.0},
        {"binary_noise", "64 KiB of random bytes", generated([] { return noise(64 << 10, 42); }), 1,
         3.0},
        {"zero_bytes", "4 KiB of zero bytes, then zero bytes inside lines",
         config(std::string(4096, '\0') + "Tacho;0;0;20;100;0\nLED;64\0;64;20;1\n\0"s), 0},
        {"cr_only", "lines ended by CR alone, one naming a missing picture",
         config("Tacho;0;0;20;100;0\rSetColor;63488\rLED;64;64;20;1\rimage;x\rRadar;64;64;100\r"),
         1},
        {"lines_10000", "10,000 instrument lines, each with a colour line",
         generated([] { return repeat("Kompass;64;64;100;0\nSetColor;2016\n", 10000); }), 1, 3.0},
        {"numbers_100_digits", "numbers of 100 digits and +-2147483648 in every numeric field",
         config("Tacho;" + big + ";-" + big + ";2147483648;-2147483648;" + big + "\n" +
                "SetColor;" + big + "\nSetBGColor;-2147483648\n" + "LED;2147483648;-2147483648;" +
                big + ";2147483648\n" + "DigitCounter;-2147483648;2147483648;" + big + ";-" + big +
                ";-2147483648\n" + "LoadConfig;config.txt;" + big + "\n"),
         1},
        {"extreme_tacho", "Tacho sizes and positions near +-2^31", config(extremeLines("Tacho", 5)),
         1},
        {"extreme_horizon", "GyroHorizonRect sizes and positions near +-2^31",
         config(extremeLines("GyroHorizonRect", 5)), 1},
        {"extreme_kompass", "Kompass sizes and positions near +-2^31",
         config(extremeLines("Kompass", 4)), 1},
        {"extreme_pointer", "RoundPointer sizes, positions and limits near +-2^31",
         config(extremeLines("RoundPointer", 5)), 1},
        {"extreme_radar", "Radar sizes and positions near +-2^31", config(extremeLines("Radar", 3)),
         1},
        {"extreme_digits", "DigitCounter positions, counts and scales near +-2^31",
         config(extremeLines("DigitCounter", 5)), 1},
        {"extreme_text", "ToggleText positions and scales near +-2^31",
         config("ToggleText;2147483647;-2147483648;OVERFLOW;2147483647;0\n"
                "ToggleText;-2147483648;2147483647;OVERFLOW;-2147483648;1\n"
                "ToggleText;120;120;WRAPPING TEXT;715827883;0\n"
                "ToggleText;0;0;SCALE;-1;0\n"),
         1},
        {"extreme_led", "LED sizes and positions near +-2^31", config(extremeLines("LED", 4)), 1},
        {"horizon_height_0_1", "GyroHorizonRect of height 0 and 1",
         config("GyroHorizonRect;0;0;128;0;0\n"
                "GyroHorizonRect;0;60;128;1;0\n"
                "GyroHorizonRect;10;10;1;1;0\n"),
         1},
        {"needle_limits", "RoundPointer with equal, reversed and overflowing limits",
         config("RoundPointer;64;64;100;30;30\n"
                "RoundPointer;64;64;100;300;10\n"
                "RoundPointer;64;64;100;-2147483648;2147483647\n"
                "RoundPointer;64;64;100;2147483647;-2147483648\n"),
         1},
        {"image_directory", "\"image\" of a directory",
         [](const fs::path& folder) {
             writeBytes(folder / "config.txt", "image;pictures\nTacho;0;0;20;100;0\n");
             fs::create_directories(folder / "pictures");
         },
         1},
        {"image_missing", "\"image\" of a missing file",
         config("image;missing.bmp\nTacho;0;0;20;100;0\n"), 1},
        {"image_empty_file", "\"image\" of a 0-byte file", withPicture(""), 1},
        {"image_header_only", "\"image\" of a picture that ends after its headers",
         withPicture(headerOnly.build()), 0},
        {"image_huge", "\"image\" of a picture claiming 2^31-1 x 2^31-1 pixels",
         withPicture(huge.build()), 1},
        {"image_huge_negative", "\"image\" of a picture claiming -2^31 x -2^31 pixels",
         withPicture(hugeNegative.build()), 1},
        {"image_offset_beyond_end", "\"image\" whose pixel offset lies 2 GiB beyond the end",
         withPicture(beyondBytes), 0},
        {"image_negative_size", "\"image\" of a picture of width and height -40",
         withPicture(negative.build()), 1},
        {"chain_self_delay_0", "a \"LoadConfig\" naming its own file with delay 0",
         [](const fs::path& folder) {
             writeBytes(folder / "config.txt",
                        "LoadConfig;config.txt;0\nimage;pic.bmp\nTacho;0;0;20;100;0\n");
             writeBytes(folder / "pic.bmp", picture(128, 128));
         },
         0},
        {"chain_name_19", "a \"LoadConfig\" naming a file of 19 characters",
         [](const fs::path& folder) {
             writeBytes(folder / "config.txt",
                        "LoadConfig;nineteen_chars1.txt;0\nTacho;0;0;20;100;0\n");
             writeBytes(folder / "nineteen_chars1.txt",
                        "LED;64;64;40;0\nLoadConfig;config.txt;0\n");
         },
         0},
        {"chain_name_200", "a \"LoadConfig\" naming a file of 200 characters",
         [](const fs::path& folder) {
             // Both the whole name and its first 19 characters exist, so whichever the
             // program opens, the chain goes on.
             const std::string name = repeat("n", 196) + ".txt";
             writeBytes(folder / "config.txt", "LoadConfig;" + name + ";0\nTacho;0;0;20;100;0\n");
             writeBytes(folder / name, "LED;64;64;40;0\n");
             writeBytes(folder / name.substr(0, 19), "Radar;64;64;100\n");
         },
         0},
        {"config_directory", "a config.txt that is a directory",
         [](const fs::path& folder) { fs::create_directories(folder / "config.txt"); }, 1},
    };
    return all;
}

} // namespace orvanta::test::hostile
