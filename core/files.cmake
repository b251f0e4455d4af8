# The file layer (core/files.h), one implementation per system: a library of its own with no
# program record, which the park readers, the settings and every writer link. Included by
# core/CMakeLists.txt and by the readers' own cmake file, which the fuzz project uses alone.
if(NOT TARGET zb_files)
  if(WIN32)
    set(ZB_FILES_SYSTEM windows)
  else()
    set(ZB_FILES_SYSTEM posix)
  endif()
  add_library(zb_files STATIC ${CMAKE_CURRENT_LIST_DIR}/files.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/files_${ZB_FILES_SYSTEM}.cpp)
  target_include_directories(zb_files PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
endif()
