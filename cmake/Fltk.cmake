# The window program. FLTK 1.3 is found through fltk-config, which also supplies X11
# (CMake's own FLTK module needs fluid installed and does not link X11).
find_program(FLTK_CONFIG fltk-config REQUIRED)
execute_process(COMMAND ${FLTK_CONFIG} --cxxflags OUTPUT_VARIABLE FLTK_CXXFLAGS OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${FLTK_CONFIG} --ldflags OUTPUT_VARIABLE FLTK_LDFLAGS OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(FLTK_CXXFLAGS UNIX_COMMAND "${FLTK_CXXFLAGS}")
separate_arguments(FLTK_LDFLAGS UNIX_COMMAND "${FLTK_LDFLAGS}")
file(GLOB ORVANTA_HOST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/fltk/*.cpp)
if(ORVANTA_HOST_SOURCES)
  add_executable(orvanta ${ORVANTA_HOST_SOURCES} ${PROJECT_SOURCE_DIR}/host/resources/icon.cpp)
  # FLTK's headers are system headers here, so our warning flags do not judge them.
  target_compile_options(orvanta PRIVATE ${FLTK_CXXFLAGS})
  target_link_libraries(orvanta PRIVATE orvanta_session ${FLTK_LDFLAGS})
  install(TARGETS orvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The installed icon file is drawn by the same code as the window's icon.
  add_executable(orvanta-write-icon ${PROJECT_SOURCE_DIR}/host/resources/write_icon.cpp
                                    ${PROJECT_SOURCE_DIR}/host/resources/icon.cpp)
  target_link_libraries(orvanta-write-icon PRIVATE orvanta_media orvanta_core)
  # The icon at the usual sizes of the icon theme, each averaged down from the full picture.
  set(ORVANTA_ICON_FILES)
  foreach(side 16 32 64 128)
    set(icon ${PROJECT_BINARY_DIR}/icons/${side}x${side}/orvanta.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${side}x${side}
      COMMAND orvanta-write-icon ${icon} ${side}
      DEPENDS orvanta-write-icon
      COMMENT "Drawing the program icon at ${side} x ${side}")
    list(APPEND ORVANTA_ICON_FILES ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
  endforeach()
  add_custom_target(orvanta-icon ALL DEPENDS ${ORVANTA_ICON_FILES})
  install(FILES ${PROJECT_SOURCE_DIR}/host/resources/orvanta.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
