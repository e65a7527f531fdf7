#pragma once
// std::filesystem paths from and to UTF-8. On Windows a path built from a plain std::string
// is read in the system's code page, which cannot hold most names; through char8_t it is
// read as UTF-8 on every system.
#include <filesystem>
#include <string>

namespace orvanta {

inline std::filesystem::path utf8Path(const std::string& path) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

inline std::string utf8String(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

} // namespace orvanta
