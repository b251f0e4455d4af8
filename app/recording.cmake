# Scripts and recordings, read and written (app/script.h, app/recording.h): one library with no
# program record, which the game, the simulator and the fuzz targets all build from this file.
# It needs the park readers (park/readers.cmake) for their problem records and file reading.
add_library(zb_recording STATIC ${CMAKE_CURRENT_LIST_DIR}/script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_read.cpp ${CMAKE_CURRENT_LIST_DIR}/recording_write.cpp)
target_include_directories(zb_recording PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(zb_recording PUBLIC zb_park_readers)
