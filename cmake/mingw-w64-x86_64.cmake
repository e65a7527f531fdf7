# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads flavour, which
# std::thread and std::filesystem need). The programs run here under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVANTA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVANTA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANTA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANTA_MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw sysroot only, never from the build machine's
# /usr, whose headers are glibc's.
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANTA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The build's own programs (the icon tool) and the tests run under wine, in a wine prefix
# that belongs to the build folder, quietly, and without offering to install Mono or Gecko.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml= wine)
endif()
