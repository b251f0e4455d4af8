# The Windows build's libraries, read by the top-level CMakeLists.txt under the MinGW-w64
# toolchain (cmake/mingw-w64-x86_64.cmake, `make windows`): the static SDL2 and SDL2_image that
# scripts/windows_sdl2.sh builds from Debian's source packages, and a static link of everything
# (SDL2, libstdc++, libgcc, winpthread), so that each program is one .exe with no DLL beside it.

set(ZANBURY_WINDOWS_SDL2 "" CACHE PATH "Where scripts/windows_sdl2.sh installed SDL2 for Windows")
if(NOT EXISTS "${ZANBURY_WINDOWS_SDL2}/lib/cmake/SDL2/SDL2Config.cmake")
  message(FATAL_ERROR "No Windows SDL2 in ZANBURY_WINDOWS_SDL2='${ZANBURY_WINDOWS_SDL2}': "
                      "build it with scripts/windows_sdl2.sh DIR and pass DIR/install")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${ZANBURY_WINDOWS_SDL2}")
find_package(SDL2 REQUIRED CONFIG PATHS "${ZANBURY_WINDOWS_SDL2}" NO_DEFAULT_PATH)
# SDL2_image saves PNG with its own deflate, yet its package asks for libpng whenever PNG is on:
# an empty stand-in answers for it.
add_library(PNG::PNG INTERFACE IMPORTED)
find_package(SDL2_image REQUIRED CONFIG PATHS "${ZANBURY_WINDOWS_SDL2}" NO_DEFAULT_PATH)
# Only the static libraries are built; the folders link the usual names.
if(NOT TARGET SDL2::SDL2)
  add_library(SDL2::SDL2 INTERFACE IMPORTED)
  target_link_libraries(SDL2::SDL2 INTERFACE SDL2::SDL2-static)
endif()
if(NOT TARGET SDL2_image::SDL2_image)
  add_library(SDL2_image::SDL2_image INTERFACE IMPORTED)
  target_link_libraries(SDL2_image::SDL2_image INTERFACE SDL2_image::SDL2_image-static)
endif()

# A Release build carries no symbols: a player downloads the game, not its debugging aids. Nor
# the time it was linked, so that the same source makes the same .exe (and the same zip).
add_link_options(-static $<$<CONFIG:Release>:-s> -Wl,--no-insert-timestamp)
# MinGW's GCC 12 at -O2 warns of an overlapping copy inside std::string's own concatenation
# (GCC bug 105329), a false alarm that -Werror would make fatal.
add_compile_options(-Wno-restrict)
