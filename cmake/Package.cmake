# Installation and the Debian package: both programs, their manual pages, the desktop entry
# with the icon at the usual sizes, the examples and the configuration guide. The version is
# the project's.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

install(TARGETS orvanta-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages from the programs' own --help and --version, with a written description.
set(ORVANTA_MAN_PAGES)
foreach(program orvanta orvanta-cli)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  # orvanta-cli prints its subcommands' options with --help-all.
  set(help_option --help)
  if(program STREQUAL "orvanta-cli")
    set(help_option --help-all)
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --section=1 --help-option=${help_option}
            --include=${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m
            --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND ORVANTA_MAN_PAGES ${page}.gz)
endforeach()
add_custom_target(orvanta-man ALL DEPENDS ${ORVANTA_MAN_PAGES})
install(FILES ${ORVANTA_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvanta/examples)
install(FILES ${PROJECT_SOURCE_DIR}/docs/configuration.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(STRINGS ${PROJECT_SOURCE_DIR}/docs/configuration.md ORVANTA_GUIDE_LINES REGEX "images/")
string(REGEX MATCHALL "images/[a-z_]+\\.png" ORVANTA_GUIDE_PICTURES "${ORVANTA_GUIDE_LINES}")
list(REMOVE_DUPLICATES ORVANTA_GUIDE_PICTURES)
list(TRANSFORM ORVANTA_GUIDE_PICTURES PREPEND ${PROJECT_SOURCE_DIR}/docs/)
install(FILES ${ORVANTA_GUIDE_PICTURES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/images)

# The page, built by the web preset, under /usr/share/orvanta/web, with a menu entry that
# opens it in the default browser. The release (scripts/release linux) always gives it;
# a build without it leaves the page out.
set(ORVANTA_WEB_SITE "" CACHE PATH "The page's built folder (build/web/site) to install; empty leaves it out")
if(ORVANTA_WEB_SITE)
  if(NOT EXISTS ${ORVANTA_WEB_SITE}/index.html)
    message(FATAL_ERROR "ORVANTA_WEB_SITE=${ORVANTA_WEB_SITE} holds no index.html: build the page first (cmake --build --preset web)")
  endif()
  install(DIRECTORY ${ORVANTA_WEB_SITE}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvanta/web)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/orvanta-designer.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME orvanta)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
endif()

# What Debian asks of every package's documentation folder; the package is its own
# upstream, so its changelog is the plain one.
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in
               ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${GZIP} -9nkf ${PROJECT_BINARY_DIR}/debian/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(orvanta-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz
              ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Orvanta developers <orvanta@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator for a model aircraft cockpit display")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Orvanta simulates a 128 x 128 pixel RGB565 cockpit display for model\n"
    "aircraft. It reads the plain-text configuration files and BMP pictures of\n"
    "a folder, as the device reads its memory card, animates the instruments\n"
    "exactly as the device does and shows the picture magnified in a window\n"
    "with a pixel inspector. orvanta-cli renders a folder to PNG and animated\n"
    "GIF files and checks configuration files for every line the device would\n"
    "ignore.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Folders the package creates get the usual permissions whatever the build's umask is.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
