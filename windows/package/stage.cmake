# Stages the Windows download's folder and packs it into the zip, run by the zanbury-package
# target: cmake -DMANIFEST=FILE -DSTAGE=DIR -DZIP=FILE -DZIP_PROGRAM=zip -P
# stage.cmake. MANIFEST sets PROGRAMS and FILES, the paths of what the folder holds, and EPOCH,
# the time its files are dated. The zip is the same bytes for the same files: its entries
# sorted, with fixed permissions, all of that date, and no extra fields (zip -X).

cmake_minimum_required(VERSION 3.25)
include(${MANIFEST})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(CHMOD ${STAGE} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
get_filename_component(folder ${STAGE} NAME)
get_filename_component(parent ${STAGE} DIRECTORY)
set(entries)
foreach(path ${PROGRAMS} ${FILES})
  get_filename_component(name ${path} NAME)
  if(name IN_LIST entries)
    message(FATAL_ERROR "two files named ${name} in the Windows download")
  endif()
  list(APPEND entries ${name})
  file(COPY_FILE ${path} ${STAGE}/${name})
  set(mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  if(path IN_LIST PROGRAMS)
    list(APPEND mode OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
  endif()
  file(CHMOD ${STAGE}/${name} PERMISSIONS ${mode})
endforeach()
list(SORT entries)
list(TRANSFORM entries PREPEND ${folder}/)
execute_process(COMMAND touch -h -d @${EPOCH} ${STAGE} ${entries} WORKING_DIRECTORY ${parent}
  COMMAND_ERROR_IS_FATAL ANY)

# zip adds to an archive that is there; this one is made new.
get_filename_component(out ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${out})
file(REMOVE ${ZIP} ${ZIP}.new)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC
  ${ZIP_PROGRAM} -X -q ${ZIP}.new ${folder}/ ${entries}
  WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${ZIP}.new ${ZIP})
