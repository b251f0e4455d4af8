# The readers of the park list, the park files and the high score (park/readers.h): one library
# with no program record and nothing of the display, which the game, the tools and the fuzz
# targets all build from this file (fuzz/ is a project of its own that includes it too).
include(${CMAKE_CURRENT_LIST_DIR}/../core/files.cmake)
add_library(zb_park_readers STATIC ${CMAKE_CURRENT_LIST_DIR}/readers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_file.cpp)
# Only the project's headers: the readers need core/rect.h and nothing of core's library.
target_include_directories(zb_park_readers PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(zb_park_readers PUBLIC zb_files)
