# The shipped parks: data/parks.txt and the park files it names, read at configure time (and read
# again whenever parks.txt changes), so that the package and the browser build carry exactly
# these and nothing the game writes in data/ (the high score, the recordings). Sets
# ZB_SHIPPED_PARKS to their full paths, parks.txt first.
set(ZB_DATA_DIR ${CMAKE_CURRENT_LIST_DIR}/../data)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZB_DATA_DIR}/parks.txt)
file(READ ${ZB_DATA_DIR}/parks.txt ZB_PARK_LIST)
string(REGEX MATCHALL "[^ \t\r\n]+" ZB_PARK_LIST "${ZB_PARK_LIST}")
list(POP_FRONT ZB_PARK_LIST ZB_PARK_COUNT)
list(LENGTH ZB_PARK_LIST named)
if(NOT named EQUAL ZB_PARK_COUNT)
  message(FATAL_ERROR "data/parks.txt promises ${ZB_PARK_COUNT} parks but names ${named}")
endif()
set(ZB_SHIPPED_PARKS parks.txt ${ZB_PARK_LIST})
list(TRANSFORM ZB_SHIPPED_PARKS PREPEND ${ZB_DATA_DIR}/)
