# The browser build's configuration, read by the top-level CMakeLists.txt under `emcmake cmake`
# (`make web-libs`): the game's folders compiled with em++ (-std=c++20, as every build) against
# the static WebAssembly SDL2 that scripts/web_sdl2.sh builds from Debian's source package.
# Emscripten's own SDL2 port cannot be used: it downloads its sources when first asked for.
#
# Debian's emscripten 3.1.6 brings an older C++ library without the std::ranges algorithms, so
# the game's folders keep to the classic algorithms.

set(ZANBURY_WEB_SDL2 "" CACHE PATH "Where scripts/web_sdl2.sh installed the WebAssembly SDL2")
if(NOT EXISTS "${ZANBURY_WEB_SDL2}/lib/cmake/SDL2/SDL2Config.cmake")
  message(FATAL_ERROR "No WebAssembly SDL2 in ZANBURY_WEB_SDL2='${ZANBURY_WEB_SDL2}': "
                      "build it with scripts/web_sdl2.sh DIR and pass DIR/install")
endif()
# Emscripten's toolchain looks for packages inside its own sysroot only.
list(APPEND CMAKE_FIND_ROOT_PATH "${ZANBURY_WEB_SDL2}")
find_package(SDL2 REQUIRED CONFIG PATHS "${ZANBURY_WEB_SDL2}" NO_DEFAULT_PATH)
if(NOT TARGET SDL2::SDL2)
  # Only the static library is built; the folders link SDL2::SDL2 as on the desktop.
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  target_link_libraries(SDL2::SDL2 INTERFACE SDL2::SDL2-static)
endif()

# At -O2 and above Debian's emscripten crashes in its HTML minifier.
add_link_options(-sMINIFY_HTML=0)

# The platform's contract; the browser's own platform and main loop are still to come.
add_library(zb_platform_api INTERFACE)
target_include_directories(zb_platform_api INTERFACE ${PROJECT_SOURCE_DIR})

add_subdirectory(core)
add_subdirectory(display)
add_subdirectory(app)
add_subdirectory(park)
add_subdirectory(skater)
