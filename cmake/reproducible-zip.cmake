# Run by CPack after it made the zip and before it copies the zip out and writes its SHA-256
# file (CPACK_POST_BUILD_SCRIPTS): makes the zip again from the staged files so that the same
# sources give the same bytes. CPack's own zip lists the files in directory order and records
# their file times; this one lists them sorted by name and dates every entry (modified, accessed,
# created) with one time, read in UTC: SOURCE_DATE_EPOCH if set, else the time of the commit the
# sources are checked out at, else 1980-01-01.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(origin "SOURCE_DATE_EPOCH")
else()
  execute_process(COMMAND git -C "${CPACK_FK_SOURCE_DIR}" log -1 --format=%ct
                  RESULT_VARIABLE rc OUTPUT_VARIABLE epoch ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(origin "the commit's time")
  if(NOT rc EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch 315532800)
    set(origin "no commit found, the fixed default")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be seconds since 1970, not '${epoch}'")
endif()

file(GLOB_RECURSE entries RELATIVE "${CPACK_TOPLEVEL_DIRECTORY}" "${CPACK_TEMPORARY_DIRECTORY}/*")
list(SORT entries)
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  if(NOT zip MATCHES "\\.zip$")
    continue()
  endif()
  file(REMOVE "${zip}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC SOURCE_DATE_EPOCH=${epoch}
                          ${CMAKE_COMMAND} -E tar cf "${zip}" --format=zip -- ${entries}
                  WORKING_DIRECTORY "${CPACK_TOPLEVEL_DIRECTORY}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not write ${zip}")
  endif()
  message(STATUS "${zip}: ${entries}, dated ${epoch} (${origin})")
endforeach()
