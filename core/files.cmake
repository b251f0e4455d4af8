# The file layer (core/files.h), one implementation per platform: a library of its own with no
# program record, which the park readers, the settings and every writer link. Included by
# core/CMakeLists.txt and by the readers' own cmake file, which the fuzz project uses alone.
if(NOT TARGET zb_files)
  add_library(zb_files STATIC ${CMAKE_CURRENT_LIST_DIR}/files_posix.cpp)
  target_include_directories(zb_files PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
endif()
