# The Windows zip, orvanta-<version>-windows-x64.zip: one folder holding both programs,
# the page, the examples, the README and the configuration guide with its pictures. The programs
# sit at the top, where a user finds them; nothing else is needed beside them.
install(TARGETS orvanta-cli RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# The page as designer/index.html, which opens from disk with a double-click and which the
# window's Help menu opens. The release (scripts/release windows) always gives it.
set(ORVANTA_WEB_SITE "" CACHE PATH "The page's built folder (build/web/site) to carry; empty leaves it out")
if(ORVANTA_WEB_SITE)
  if(NOT EXISTS ${ORVANTA_WEB_SITE}/index.html)
    message(FATAL_ERROR "ORVANTA_WEB_SITE=${ORVANTA_WEB_SITE} holds no index.html: build the page first (cmake --build --preset web)")
  endif()
  install(DIRECTORY ${ORVANTA_WEB_SITE}/ DESTINATION designer)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/configuration.md DESTINATION docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images/ DESTINATION docs/images
        FILES_MATCHING PATTERN "*.png" PATTERN "*.gif")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME orvanta-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
include(CPack)
