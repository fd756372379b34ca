# Allegro for a cross-compiled game: the static liballeg.a that
# scripts/windows.sh (or scripts/web.sh) builds and installs under ALLEGRO_PREFIX. It installs no
# pkg-config file, so the target is made here under the name the native
# build's pkg-config gives, PkgConfig::ALLEGRO.
set(ALLEGRO_PREFIX "" CACHE PATH "Where the cross-built Allegro is installed (include/, lib/)")
find_path(ALLEGRO_INCLUDE_DIR allegro.h PATHS ${ALLEGRO_PREFIX}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_library(ALLEGRO_LIBRARY NAMES alleg PATHS ${ALLEGRO_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ALLEGRO_INCLUDE_DIR OR NOT ALLEGRO_LIBRARY)
  message(FATAL_ERROR "No cross-built Allegro under ALLEGRO_PREFIX='${ALLEGRO_PREFIX}' "
                      "(scripts/windows.sh builds one)")
endif()

add_library(PkgConfig::ALLEGRO INTERFACE IMPORTED)
target_include_directories(PkgConfig::ALLEGRO INTERFACE ${ALLEGRO_INCLUDE_DIR})
target_compile_definitions(PkgConfig::ALLEGRO INTERFACE ALLEGRO_STATICLINK)
if(WIN32)
  # What the static library uses of Windows and DirectX.
  target_link_libraries(PkgConfig::ALLEGRO INTERFACE ${ALLEGRO_LIBRARY}
    kernel32 user32 gdi32 comdlg32 ole32 dinput ddraw dxguid winmm dsound)
  # Only system DLLs at run time.
  target_link_options(PkgConfig::ALLEGRO INTERFACE -static-libgcc -static-libstdc++)
else()
  target_link_libraries(PkgConfig::ALLEGRO INTERFACE ${ALLEGRO_LIBRARY})
endif()
if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/web.cmake)
endif()
