# The C libraries that cross builds compile from Debian's own source packages (fetched into
# build/debian-sources by scripts/install-deps), since Debian packages none of them for the
# cross targets. The pictures are then read and written through the same code as on Linux.
# The imported targets keep the names CMake's find modules give on Linux.
include(ExternalProject)

set(ORVANTA_DEBIAN_SOURCES ${PROJECT_SOURCE_DIR}/build/debian-sources
    CACHE PATH "Debian's source packages for the cross builds, unpacked with their patches")
set(ORVANTA_DEPS_PREFIX ${PROJECT_BINARY_DIR}/deps)
file(MAKE_DIRECTORY ${ORVANTA_DEPS_PREFIX}/include)
set(ORVANTA_DEPS_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${ORVANTA_DEPS_PREFIX}
    -DCMAKE_INSTALL_LIBDIR=${ORVANTA_DEPS_PREFIX}/lib
    -DCMAKE_POLICY_DEFAULT_CMP0074=NEW)

# Stops the configuration with the command to run when a package's sources are missing.
function(orvanta_require_debian_sources group)
  foreach(package ${ARGN})
    if(NOT EXISTS ${ORVANTA_DEBIAN_SOURCES}/${package}/debian/changelog)
      message(FATAL_ERROR "Debian's ${package} sources are missing from "
                          "${ORVANTA_DEBIAN_SOURCES}: run scripts/install-deps ${group}")
    endif()
  endforeach()
endfunction()

# An imported static library built by the ExternalProject `built_by`.
function(orvanta_built_library target file built_by)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${ORVANTA_DEPS_PREFIX}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES ${ORVANTA_DEPS_PREFIX}/include
    INTERFACE_LINK_LIBRARIES "${ARGN}")
  add_dependencies(${target} ${built_by})
endfunction()

# libpng against the zlib given; `ARGN` names what must be built first.
function(orvanta_build_libpng zlib_library zlib_include)
  ExternalProject_Add(libpng_build
    SOURCE_DIR ${ORVANTA_DEBIAN_SOURCES}/libpng1.6
    CMAKE_ARGS ${ORVANTA_DEPS_ARGS}
               -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
               -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
               -DZLIB_LIBRARY=${zlib_library} -DZLIB_INCLUDE_DIR=${zlib_include}
    DEPENDS ${ARGN}
    BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libpng16.a)
  orvanta_built_library(PNG::PNG libpng16.a libpng_build ${zlib_library})
endfunction()

# giflib has no build of its own for these targets; cmake/giflib builds its library part.
function(orvanta_build_giflib)
  ExternalProject_Add(giflib_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/giflib
    CMAKE_ARGS ${ORVANTA_DEPS_ARGS} -DGIFLIB_SOURCE_DIR=${ORVANTA_DEBIAN_SOURCES}/giflib
    BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libgif.a)
  orvanta_built_library(GIF::GIF libgif.a giflib_build)
endfunction()

# The JPEG library alone, without its SIMD code, which would need the nasm assembler.
# `ARGN` adds configuration arguments.
function(orvanta_build_libjpeg)
  ExternalProject_Add(libjpeg_build
    SOURCE_DIR ${ORVANTA_DEBIAN_SOURCES}/libjpeg-turbo
    CMAKE_ARGS ${ORVANTA_DEPS_ARGS}
               -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
               -DWITH_JAVA=OFF ${ARGN}
    BUILD_BYPRODUCTS ${ORVANTA_DEPS_PREFIX}/lib/libjpeg.a)
  orvanta_built_library(JPEG::JPEG libjpeg.a libjpeg_build)
endfunction()

# A header-only package from the build machine's /usr/include, seen through a folder that
# holds just its headers: /usr/include also holds the machine's C library headers, which
# must stay out of a cross build.
function(orvanta_header_package target header folder)
  find_path(ORVANTA_${folder}_HEADERS ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            REQUIRED)
  set(include ${PROJECT_BINARY_DIR}/headers-${folder})
  file(MAKE_DIRECTORY ${include})
  file(CREATE_LINK ${ORVANTA_${folder}_HEADERS}/${folder} ${include}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${include})
endfunction()
