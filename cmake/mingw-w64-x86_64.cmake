# Cross-compiling for 64-bit Windows with MinGW-w64 (`make windows`, scripts/windows_sdl2.sh).
# The posix thread model's compilers are taken where they exist: std::thread and std::mutex need
# it, and Debian's plain names may point at the win32 model's. Libraries, headers and CMake
# packages are looked for in the MinGW tree and in what CMAKE_FIND_ROOT_PATH adds (the SDL2 of
# scripts/windows_sdl2.sh); programs on the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZB_MINGW x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${ZB_MINGW}-gcc-posix ${ZB_MINGW}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZB_MINGW}-g++-posix ${ZB_MINGW}-g++ REQUIRED)
set(CMAKE_ASM_COMPILER ${CMAKE_C_COMPILER})
find_program(CMAKE_RC_COMPILER NAMES ${ZB_MINGW}-windres REQUIRED)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZB_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
