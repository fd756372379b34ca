# The web build's link: the game as lamplight.js and lamplight.wasm for the
# page in packaging/web. rest() sleeps through emscripten_sleep, which
# ASYNCIFY turns into a return to the browser, so the game's loop stays as it
# is; the page's script (page.js) comes in front of emscripten's own.
set(CMAKE_EXECUTABLE_SUFFIX .js)
target_link_options(PkgConfig::ALLEGRO INTERFACE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web
  -lidbfs.js
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/packaging/web/page.js")
set_property(TARGET PkgConfig::ALLEGRO APPEND PROPERTY INTERFACE_LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/packaging/web/page.js)
