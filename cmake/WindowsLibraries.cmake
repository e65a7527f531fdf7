# The libraries of the Windows programs. Everything is linked statically, so that the
# programs run from an unpacked folder with no DLL beside them: the C++ runtime and
# winpthreads from mingw-w64, zlib from Debian's mingw package, and libpng and giflib built
# here from Debian's own source packages (scripts/install-deps windows fetches them),
# since Debian packages neither for mingw. Windows then writes pictures through the same
# code as Linux. The targets keep the names CMake's find modules give on Linux.
include(ExternalProject)

add_link_options(-static)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

set(ORVANTA_DEBIAN_SOURCES ${PROJECT_SOURCE_DIR}/build/debian-sources
    CACHE PATH "Debian's libpng1.6 and giflib source packages, unpacked with their patches")
foreach(package libpng1.6 giflib)
  if(NOT EXISTS ${ORVANTA_DEBIAN_SOURCES}/${package}/debian/changelog)
    message(FATAL_ERROR "Debian's ${package} sources are missing from ${ORVANTA_DEBIAN_SOURCES}: "
                        "run scripts/install-deps windows")
  endif()
endforeach()

find_library(ORVANTA_MINGW_ZLIB NAMES libz.a REQUIRED)
find_path(ORVANTA_MINGW_ZLIB_INCLUDE zlib.h REQUIRED)

set(ORVANTA_DEPS_PREFIX ${PROJECT_BINARY_DIR}/deps)
file(MAKE_DIRECTORY ${ORVANTA_DEPS_PREFIX}/include)
set(ORVANTA_DEPS_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${ORVANTA_DEPS_PREFIX}
    -DCMAKE_POLICY_DEFAULT_CMP0074=NEW)

ExternalProject_Add(libpng_build
  SOURCE_DIR ${ORVANTA_DEBIAN_SOURCES}/libpng1.6
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS}
             -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
             -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
             -DZLIB_LIBRARY=${ORVANTA_MINGW_ZLIB} -DZLIB_INCLUDE_DIR=${ORVANTA_MINGW_ZLIB_INCLUDE}
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libpng16.a)
add_library(PNG::PNG STATIC IMPORTED GLOBAL)
set_target_properties(PNG::PNG PROPERTIES
  IMPORTED_LOCATION ${ORVANTA_DEPS_PREFIX}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_DEPS_PREFIX}/include
  INTERFACE_LINK_LIBRARIES ${ORVANTA_MINGW_ZLIB})
add_dependencies(PNG::PNG libpng_build)

# giflib has no build of its own for Windows; cmake/giflib builds its library part.
ExternalProject_Add(giflib_build
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/giflib
  CMAKE_ARGS ${ORVANTA_DEPS_ARGS} -DGIFLIB_SOURCE_DIR=${ORVANTA_DEBIAN_SOURCES}/giflib
  BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libgif.a)
add_library(GIF::GIF STATIC IMPORTED GLOBAL)
set_target_properties(GIF::GIF PROPERTIES
  IMPORTED_LOCATION ${ORVANTA_DEPS_PREFIX}/lib/libgif.a
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_DEPS_PREFIX}/include)
add_dependencies(GIF::GIF giflib_build)

# CLI11 is header-only, but its package points at /usr/include, which holds the build
# machine's C library headers. A folder of its own with just the CLI headers linked in
# keeps those out of the mingw build.
find_path(ORVANTA_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ORVANTA_CLI11_INCLUDE ${PROJECT_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${ORVANTA_CLI11_INCLUDE})
file(CREATE_LINK ${ORVANTA_CLI11_HEADERS}/CLI ${ORVANTA_CLI11_INCLUDE}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_CLI11_INCLUDE})

# nlohmann-json is header-only too; the same kind of folder holds just its headers.
find_path(ORVANTA_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ORVANTA_JSON_INCLUDE ${PROJECT_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${ORVANTA_JSON_INCLUDE})
file(CREATE_LINK ${ORVANTA_JSON_HEADERS}/nlohmann ${ORVANTA_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_JSON_INCLUDE})
