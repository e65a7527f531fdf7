# The libraries of the WebAssembly build, compiled with emscripten from Debian's own source
# packages (scripts/install-deps web fetches them), as the Windows build compiles its own:
# emscripten's ready-made ports would be downloaded from elsewhere. The page then writes
# pictures through the same code as the desktop. The targets keep the names CMake's find
# modules give on Linux.
include(ExternalProject)

set(ORVANTA_DEBIAN_SOURCES ${PROJECT_SOURCE_DIR}/build/debian-sources
    CACHE PATH "Debian's zlib, libpng1.6 and giflib source packages, unpacked with their patches")
foreach(package zlib libpng1.6 giflib)
  if(NOT EXISTS ${ORVANTA_DEBIAN_SOURCES}/${package}/debian/changelog)
    message(FATAL_ERROR "Debian's ${package} sources are missing from ${ORVANTA_DEBIAN_SOURCES}: "
                        "run scripts/install-deps web")
  endif()
endforeach()

set(ORVANTA_DEPS_PREFIX ${PROJECT_BINARY_DIR}/deps)
file(MAKE_DIRECTORY ${ORVANTA_DEPS_PREFIX}/include)
set(ORVANTA_DEPS_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${ORVANTA_DEPS_PREFIX}
    -DCMAKE_POLICY_DEFAULT_CMP0074=NEW)

ExternalProject_Add(zlib_build
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/zlib
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS} -DZLIB_SOURCE_DIR=${ORVANTA_DEBIAN_SOURCES}/zlib
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libz.a)

ExternalProject_Add(libpng_build
  SOURCE_DIR ${ORVANTA_DEBIAN_SOURCES}/libpng1.6
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS}
             -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
             -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
             -DZLIB_LIBRARY=${ORVANTA_DEPS_PREFIX}/lib/libz.a
             -DZLIB_INCLUDE_DIR=${ORVANTA_DEPS_PREFIX}/include
  DEPENDS zlib_build
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libpng16.a)
add_library(PNG::PNG STATIC IMPORTED GLOBAL)
set_target_properties(PNG::PNG PROPERTIES
  IMPORTED_LOCATION ${ORVANTA_DEPS_PREFIX}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_DEPS_PREFIX}/include
  INTERFACE_LINK_LIBRARIES ${ORVANTA_DEPS_PREFIX}/lib/libz.a)
add_dependencies(PNG::PNG libpng_build)

ExternalProject_Add(giflib_build
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/giflib
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS} -DGIFLIB_SOURCE_DIR=${ORVANTA_DEBIAN_SOURCES}/giflib
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libgif.a)
add_library(GIF::GIF STATIC IMPORTED GLOBAL)
set_target_properties(GIF::GIF PROPERTIES
  IMPORTED_LOCATION ${ORVANTA_DEPS_PREFIX}/lib/libgif.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_DEPS_PREFIX}/include)
add_dependencies(GIF::GIF giflib_build)

# CLI11 is header-only; a folder of its own with just its headers keeps the build machine's
# C library headers, which sit beside it in /usr/include, out of the WebAssembly build.
find_path(ORVANTA_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ORVANTA_CLI11_INCLUDE ${PROJECT_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${ORVANTA_CLI11_INCLUDE})
file(CREATE_LINK ${ORVANTA_CLI11_HEADERS}/CLI ${ORVANTA_CLI11_INCLUDE}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_CLI11_INCLUDE})
