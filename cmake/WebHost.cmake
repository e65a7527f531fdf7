# The page: the device compiled to WebAssembly (host/web/engine) and the page's TypeScript
# (host/web), bundled into one static folder, build/web/site, that opens from file:// as
# well as from any web server.

# The page's WebAssembly in two modules. The device's (host/web/engine: the device, the
# session, the checker and the language service) loads with the page; the picture module's
# (host/web/pictures: the PNG, GIF and JPEG codecs and the converter) only when a picture
# is converted or saved, so the first picture waits for none of it. Each file adds C
# functions; those marked ORVANTA_EXPORT are exported. They are built for speed (-O3): at
# -Os the device's module is 30 % smaller but its frame takes 1.7 times as long
# (docs/performance.md); the page carries both modules deflated instead.
file(GLOB ORVANTA_ENGINE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/web/engine/*.cpp)
file(GLOB ORVANTA_PICTURES_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/web/pictures/*.cpp)
add_executable(orvanta_engine ${ORVANTA_ENGINE_SOURCES})
target_link_libraries(orvanta_engine PRIVATE orvanta_session nlohmann_json::nlohmann_json)
add_executable(orvanta_pictures ${ORVANTA_PICTURES_SOURCES})
target_link_libraries(orvanta_pictures PRIVATE orvanta_session)
# orvanta-engine.js defines createOrvantaEngine() and orvanta-pictures.js
# createOrvantaPictures(), and they touch nothing else. The page carries each module's
# .wasm and hands its bytes over, because a page opened from file:// may fetch no file,
# and the page's policy allows no fetch at all.
set_target_properties(orvanta_engine PROPERTIES OUTPUT_NAME orvanta-engine SUFFIX .js)
set_target_properties(orvanta_pictures PROPERTIES OUTPUT_NAME orvanta-pictures SUFFIX .js)
foreach(module engine pictures)
  string(TOUPPER ${module} capital)
  string(SUBSTRING ${capital} 0 1 first)
  string(SUBSTRING ${module} 1 -1 rest)
  target_link_options(orvanta_${module} PRIVATE
    -sMODULARIZE=1 -sEXPORT_NAME=createOrvanta${first}${rest} -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0)
endforeach()

# The page's code: npm installs its tools from the committed lockfile, tsc checks the
# TypeScript and build.mjs bundles it with the engine and the demo into the site folder.
find_program(ORVANTA_NODE node NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(ORVANTA_NPM npm NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ORVANTA_WEB ${PROJECT_SOURCE_DIR}/host/web)
set(ORVANTA_SITE ${PROJECT_BINARY_DIR}/site)
add_custom_command(OUTPUT ${ORVANTA_WEB}/node_modules/.package-lock.json
  COMMAND ${ORVANTA_NPM} ci --no-audit --no-fund --loglevel=error
  DEPENDS ${ORVANTA_WEB}/package.json ${ORVANTA_WEB}/package-lock.json
  WORKING_DIRECTORY ${ORVANTA_WEB}
  COMMENT "Installing the page's tools from npm")
file(GLOB_RECURSE ORVANTA_WEB_SOURCES CONFIGURE_DEPENDS ${ORVANTA_WEB}/src/*)
file(GLOB_RECURSE ORVANTA_DEMO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/demo/* ${PROJECT_SOURCE_DIR}/examples/gallery/*)
add_custom_command(OUTPUT ${ORVANTA_SITE}/index.html ${ORVANTA_SITE}/orvanta.js
                          ${ORVANTA_SITE}/orvanta-engine.js ${ORVANTA_SITE}/orvanta-pictures.js
                          ${ORVANTA_SITE}/orvanta-editor.js
  COMMAND ${ORVANTA_NODE} ${ORVANTA_WEB}/node_modules/typescript/bin/tsc --noEmit -p ${ORVANTA_WEB}
  COMMAND ${ORVANTA_NODE} ${ORVANTA_WEB}/build.mjs $<TARGET_FILE:orvanta_engine>
          $<TARGET_FILE:orvanta_pictures> ${PROJECT_SOURCE_DIR}/examples ${ORVANTA_SITE}
  DEPENDS orvanta_engine orvanta_pictures ${ORVANTA_WEB}/node_modules/.package-lock.json ${ORVANTA_WEB_SOURCES}
          ${ORVANTA_WEB}/build.mjs ${ORVANTA_WEB}/tsconfig.json ${ORVANTA_DEMO_FILES}
  COMMENT "Bundling the page into ${ORVANTA_SITE}"
  VERBATIM)
add_custom_target(orvanta_site ALL DEPENDS ${ORVANTA_SITE}/index.html)

# The browser suite: Debian's Chromium, driven by Playwright, against the release build's
# orvanta-cli (cmake --build --preset release). Its two runs take about 1.5 minutes each;
# five minutes each keep the whole suite within ten.
set(ORVANTA_NATIVE_CLI ${PROJECT_SOURCE_DIR}/build/release/orvanta-cli
    CACHE FILEPATH "The Linux build's orvanta-cli, whose output the page must match")
enable_testing()
add_test(NAME web_browser
  COMMAND ${ORVANTA_NODE} --test --test-reporter=spec ${ORVANTA_WEB}/tests/)
set_tests_properties(web_browser PROPERTIES TIMEOUT 300 ENVIRONMENT
  "ORVANTA_SITE=${ORVANTA_SITE};ORVANTA_NATIVE_CLI=${ORVANTA_NATIVE_CLI};ORVANTA_EXAMPLES=${PROJECT_SOURCE_DIR}/examples")
# The same suite on the page opened from file://, as a double-click on index.html opens it:
# tests that need a server (a link) check what the page says instead.
add_test(NAME web_browser_file
  COMMAND ${ORVANTA_NODE} --test --test-reporter=spec ${ORVANTA_WEB}/tests/)
set_tests_properties(web_browser_file PROPERTIES TIMEOUT 300 ENVIRONMENT
  "ORVANTA_PAGE_FROM_FILE=1;ORVANTA_SITE=${ORVANTA_SITE};ORVANTA_NATIVE_CLI=${ORVANTA_NATIVE_CLI};ORVANTA_EXAMPLES=${PROJECT_SOURCE_DIR}/examples")
