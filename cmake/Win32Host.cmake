# The Windows window program, on the platform's own interfaces (USER32 and GDI32).
enable_language(RC)

# The icons are drawn by the program's own icon code at build time. The tool is a Windows
# program too, so a cross build runs it through the emulator (wine).
add_executable(orvanta-write-ico ${PROJECT_SOURCE_DIR}/host/win32/write_ico.cpp
                                 ${PROJECT_SOURCE_DIR}/host/win32/ico_file.cpp
                                 ${PROJECT_SOURCE_DIR}/host/resources/icon.cpp)
target_link_libraries(orvanta-write-ico PRIVATE orvanta_core)
set(ORVANTA_ICONS ${PROJECT_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${ORVANTA_ICONS}/orvanta.ico ${ORVANTA_ICONS}/orvanta-small.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANTA_ICONS}
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:orvanta-write-ico>
          ${ORVANTA_ICONS}/orvanta.ico 16 32 64 128
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:orvanta-write-ico>
          ${ORVANTA_ICONS}/orvanta-small.ico 16
  DEPENDS orvanta-write-ico
  COMMENT "Drawing the program icons")

set(ORVANTA_RC ${PROJECT_SOURCE_DIR}/host/win32/orvanta.rc)
set_source_files_properties(${ORVANTA_RC} PROPERTIES
  OBJECT_DEPENDS "${ORVANTA_ICONS}/orvanta.ico;${ORVANTA_ICONS}/orvanta-small.ico")
file(GLOB ORVANTA_HOST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/win32/*.cpp)
list(FILTER ORVANTA_HOST_SOURCES EXCLUDE REGEX ".*/(write_ico|ico_file)\\.cpp$")
add_executable(orvanta WIN32 ${ORVANTA_HOST_SOURCES} ${ORVANTA_RC})
target_link_options(orvanta PRIVATE -municode) # entered by wWinMain, with wide arguments
target_include_directories(orvanta PRIVATE ${ORVANTA_ICONS} ${PROJECT_SOURCE_DIR}/host/win32)
target_link_libraries(orvanta PRIVATE orvanta_session orvanta_platform comdlg32)
install(TARGETS orvanta RUNTIME DESTINATION .) # the zip's top folder (cmake/WindowsPackage.cmake)
