# The same sources give the same bytes, whenever and wherever they are built.
#
# - The PE header's time stamp (and with it the checksum) is the time of the last commit,
#   not the time of the link. The MinGW-w64 linker takes it from SOURCE_DATE_EPOCH; every
#   link runs with it set. A SOURCE_DATE_EPOCH in the environment at configure time wins
#   (scripts/release sets it); otherwise it is the commit time of HEAD; outside a git
#   checkout the linker writes no time stamp at all.
# - No path of the source or build folder is left in an object file (__FILE__, debug
#   information), so a copy built in another folder is the same.
# The help generator and icongen write no times of their own; scripts/release dates the
# packaged files and zip entries from the same SOURCE_DATE_EPOCH.

set(TARVESK_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(TARVESK_SOURCE_DATE_EPOCH STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(
      COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE TARVESK_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
  endif()
endif()
if(NOT TARVESK_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  set(TARVESK_SOURCE_DATE_EPOCH "")
endif()

if(WIN32)
  if(TARVESK_SOURCE_DATE_EPOCH STREQUAL "")
    add_link_options(-Wl,--no-insert-timestamp)
  else()
    foreach(_lang C CXX)
      set(CMAKE_${_lang}_LINKER_LAUNCHER
          ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TARVESK_SOURCE_DATE_EPOCH})
    endforeach()
  endif()
  add_compile_options(
    "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=" "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
endif()
