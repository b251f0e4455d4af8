# Run by CPack on the staged files before it packs them: strips every ELF file as Debian's
# dh_strip does, dropping the symbols, the debugging sections and the compiler's notes.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path ${staged})
  file(READ ${path} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
      --strip-unneeded ${path} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "cannot strip ${path}")
    endif()
  endif()
endforeach()
