#include "fuzz/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace orvanta::fuzz {

namespace {

void removeScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(), ignored);
}

void appendLE(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvanta-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("orvanta fuzz: cannot create a scratch folder");
            std::abort();
        }
        return pattern;
    }();
    static const bool cleanupRegistered = std::atexit(removeScratchFolder) == 0;
    (void)cleanupRegistered;
    return folder;
}

void writeScratchFile(const char* name, const uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::perror(path.c_str());
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote <= 0) {
            std::perror(path.c_str());
            std::abort();
        }
        done += static_cast<std::size_t>(wrote);
    }
    ::close(fd);
}

std::string gradientBmp(int32_t width, int32_t height) {
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const uint32_t rowSize = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    std::string out = "BM";
    appendLE(out, 54 + rows * rowSize, 4);
    appendLE(out, 0, 4);
    appendLE(out, 54, 4);
    appendLE(out, 40, 4);
    appendLE(out, static_cast<uint32_t>(width), 4);
    appendLE(out, static_cast<uint32_t>(height), 4);
    appendLE(out, 1, 2);
    appendLE(out, 24, 2);
    out.append(24, '\0'); // compression 0 and the rest of the info header
    for (uint32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < width; ++column) {
            out.push_back(static_cast<char>(column * 8));
            out.push_back(static_cast<char>(row * 8));
            out.push_back(static_cast<char>((column + static_cast<int32_t>(row)) * 4));
        }
        out.append(rowSize - static_cast<uint32_t>(width) * 3, '\0');
    }
    return out;
}

} // namespace orvanta::fuzz
