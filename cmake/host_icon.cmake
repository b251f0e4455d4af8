# zanbury-icon for the build machine, ZB_HOST_ICON: the Windows build's icon and the page's are
# drawn from the sprite sheet at build time, so the tool must run where the build does. It is
# built with the build machine's own compiler and SDL2, as a project of its own (windows/host/).
include(ExternalProject)
set(ZB_HOST ${CMAKE_CURRENT_BINARY_DIR}/host)
set(ZB_HOST_ICON ${ZB_HOST}/zanbury-icon)
ExternalProject_Add(zanbury-host-icon
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/windows/host
  BINARY_DIR ${ZB_HOST}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DZANBURY_SOURCE=${PROJECT_SOURCE_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${ZB_HOST_ICON})
