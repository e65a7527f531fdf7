# The libraries of the WebAssembly build: zlib, libpng, giflib and libjpeg-turbo compiled
# with emscripten from Debian's own source packages, as the Windows build compiles its own;
# emscripten's ready-made ports would be downloaded from elsewhere.
include(cmake/DebianSourceLibraries.cmake)

orvanta_require_debian_sources(web zlib libpng1.6 giflib libjpeg-turbo)

# zlib's own build breaks on Debian's source; cmake/zlib builds its library part.
ExternalProject_Add(zlib_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/zlib
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS} -DZLIB_SOURCE_DIR=${ORVANTA_DEBIAN_SOURCES}/zlib
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libz.a)

orvanta_build_libpng(${ORVANTA_DEPS_PREFIX}/lib/libz.a ${ORVANTA_DEPS_PREFIX}/include zlib_build)
orvanta_build_giflib()
# CMake's type-size probe misreads WebAssembly objects (it finds a size_t of 7 bytes), so
# the sizes are given: both types are 4 bytes on wasm32.
orvanta_build_libjpeg(-DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE
                      -DUNSIGNED_LONG=4)
orvanta_header_package(CLI11::CLI11 CLI/CLI.hpp CLI)
orvanta_header_package(nlohmann_json::nlohmann_json nlohmann/json.hpp nlohmann)
