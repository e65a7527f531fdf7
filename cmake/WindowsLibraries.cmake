# The libraries of the Windows programs. Everything is linked statically, so that the
# programs run from an unpacked folder with no DLL beside them: the C++ runtime and
# winpthreads from mingw-w64, zlib from Debian's mingw package, and libpng, giflib and
# libjpeg-turbo built from Debian's own source packages.
include(cmake/DebianSourceLibraries.cmake)

add_link_options(-static)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

orvanta_require_debian_sources(windows libpng1.6 giflib libjpeg-turbo)
find_library(ORVANTA_MINGW_ZLIB NAMES libz.a REQUIRED)
find_path(ORVANTA_MINGW_ZLIB_INCLUDE zlib.h REQUIRED)

orvanta_build_libpng(${ORVANTA_MINGW_ZLIB} ${ORVANTA_MINGW_ZLIB_INCLUDE})
orvanta_build_giflib()
orvanta_build_libjpeg()
orvanta_header_package(CLI11::CLI11 CLI/CLI.hpp CLI)
orvanta_header_package(nlohmann_json::nlohmann_json nlohmann/json.hpp nlohmann)
