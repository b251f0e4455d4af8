# The version header that every program answers --version from, made from the project() line;
# read by packaging/CMakeLists.txt and by the browser build (web/web.cmake).
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/zanbury_version.h
               @ONLY)
add_library(zb_version INTERFACE)
target_include_directories(zb_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
