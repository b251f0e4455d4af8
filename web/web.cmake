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
# memcpy and memset as WebAssembly's own instructions, not calls out to script: the picture's
# rows and the backdrop's strips are copied every frame.
add_compile_options(-mbulk-memory)
add_link_options(-mbulk-memory)

include(packaging/version.cmake)
add_subdirectory(core)
add_subdirectory(platform)
add_subdirectory(display)
add_subdirectory(app)
add_subdirectory(park)
add_subdirectory(skater)

# The page: build-web/zanbury.html with its .js, .wasm and .data (the shipped parks, laid out in
# /parks). The main loop stays the desktop's: with Asyncify the pacer's SDL_Delay gives the
# browser its turn (emscripten_sleep), so the shell, its pacing rule and everything that runs
# inside the loop are the same code on both. The page keeps the game's directory in IndexedDB
# (IDBFS, web/storage.js).
add_executable(zanbury app/main.cpp)
target_link_libraries(zanbury PRIVATE zb_app zb_platform_web zb_version)
set_target_properties(zanbury PROPERTIES SUFFIX .html)
set(ZB_WEB ${PROJECT_SOURCE_DIR}/web)
set(ZB_WEB_PAGE ${ZB_WEB}/shell.html ${ZB_WEB}/present.js ${ZB_WEB}/page.js ${ZB_WEB}/storage.js
                ${ZB_WEB}/figures.js ${ZB_WEB}/touch.js ${ZB_WEB}/offline.js
                ${ZB_WEB}/recordings.js ${ZB_WEB}/bridge.js)
# Exactly the shipped parks, laid in /parks: the page copies every file there into the player's
# storage at each start, so a high score or a recording left in data/ must never be among them.
include(packaging/shipped_parks.cmake)
set(ZB_WEB_PARKS ${ZB_SHIPPED_PARKS})
set(ZB_WEB_PRELOAD)
foreach(park ${ZB_WEB_PARKS})
  file(RELATIVE_PATH name ${ZB_DATA_DIR} ${park})
  list(APPEND ZB_WEB_PRELOAD "SHELL:--preload-file ${park}@/parks/${name}")
endforeach()
# The pictures, sounds and glyphs, which the desktop's executable carries inside it, at /assets
# (named in display/CMakeLists.txt, read by display/resources_files.cpp): the WebAssembly is
# then the code alone.
foreach(asset ${ZB_WEB_ASSETS})
  get_filename_component(name ${asset} NAME)
  list(APPEND ZB_WEB_PRELOAD "SHELL:--preload-file ${asset}@/assets/${name}")
endforeach()
# Only the functions on the stack when the loop waits are unwound: the pacer's nap and the paused
# pass's wait for an event, from main down to emscripten_sleep (by their linker names; most are
# inlined into main, which the optimiser reports as names it did not find). Instrumenting every
# function would make the code larger by half and slow every call. fsync, which emscripten
# would also unwind for, returns at once (web/bridge.js).
set(ZB_WEB_UNWINDS "SHELL:-sASYNCIFY_ONLY=[\"main\",\"__main_argc_argv\",\"_Z7runGameRK11GameOptions\",\"_Z8loopPassv\",\"_Z9frameStepv\",\"_Z14paceAndPresentv\",\"_Z10pausedPassv\",\"_ZN8platform7sleepMsEj\",\"_ZN8platform13waitForEventsEj\",\"SDL_Delay\",\"SDL_WaitEventTimeout\"]")
target_link_options(zanbury PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 ${ZB_WEB_UNWINDS} -sALLOW_MEMORY_GROWTH
  -sENVIRONMENT=web
  -lidbfs.js -sEXPORTED_RUNTIME_METHODS=FS,ccall
  "SHELL:--shell-file ${ZB_WEB}/shell.html"
  "SHELL:--pre-js ${ZB_WEB}/storage.js" "SHELL:--pre-js ${ZB_WEB}/present.js"
  "SHELL:--pre-js ${ZB_WEB}/page.js"
  "SHELL:--pre-js ${ZB_WEB}/figures.js" "SHELL:--pre-js ${ZB_WEB}/touch.js"
  "SHELL:--pre-js ${ZB_WEB}/offline.js" "SHELL:--pre-js ${ZB_WEB}/recordings.js"
  "SHELL:--js-library ${ZB_WEB}/bridge.js"
  ${ZB_WEB_PRELOAD})
set_property(TARGET zanbury APPEND PROPERTY LINK_DEPENDS ${ZB_WEB_PAGE} ${ZB_WEB_PARKS}
                                                       ${ZB_WEB_ASSETS})

# The page as an installable app that plays offline: the manifest, the icons, and the service
# worker that caches them with the page's files. The icons are the desktop's, drawn from the
# sprite sheet by the build machine's zanbury-icon.
include(${PROJECT_SOURCE_DIR}/cmake/host_icon.cmake)
set(ZB_SHEET ${PROJECT_SOURCE_DIR}/assets/sprites.bmp)
set(ZB_WEB_ICONS)
foreach(size 192 512)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/icon-${size}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${ZB_HOST_ICON} ${ZB_SHEET} ${size} ${icon}
    DEPENDS zanbury-host-icon ${ZB_HOST_ICON} ${ZB_SHEET} VERBATIM)
  list(APPEND ZB_WEB_ICONS ${icon})
endforeach()
set(ZB_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/zanbury.webmanifest)
add_custom_command(OUTPUT ${ZB_MANIFEST}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZB_WEB}/zanbury.webmanifest ${ZB_MANIFEST}
  DEPENDS ${ZB_WEB}/zanbury.webmanifest VERBATIM)
# The service worker names its cache after the hash of every file it keeps, made once they are.
set(ZB_OFFLINE_FILES zanbury.html zanbury.js zanbury.wasm zanbury.data zanbury.webmanifest
                     icon-192.png icon-512.png)
set(ZB_WORKER ${CMAKE_CURRENT_BINARY_DIR}/service-worker.js)
add_custom_command(OUTPUT ${ZB_WORKER}
  COMMAND ${CMAKE_COMMAND} -DDIR=${CMAKE_CURRENT_BINARY_DIR} "-DFILES=${ZB_OFFLINE_FILES}"
          -DTEMPLATE=${ZB_WEB}/service-worker.js.in -P ${ZB_WEB}/offline_cache.cmake
  DEPENDS zanbury ${ZB_WEB_ICONS} ${ZB_MANIFEST} ${ZB_WEB}/service-worker.js.in
          ${ZB_WEB}/offline_cache.cmake VERBATIM)
add_custom_target(zanbury-offline ALL DEPENDS ${ZB_WORKER})
