# The oldest Windows each build of the programs runs on: the 32-bit build Windows 95 and
# NT 4.0, the 64-bit build Windows XP x64 and Server 2003. The programs' code is compiled
# against the SDK headers of that floor, so they declare nothing newer, and the programs'
# headers tell the loader the same. Functions newer than the floor are found at run time
# (src/win32/SystemFunction.h); tools/imports/check-imports checks the result.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARVESK_FLOOR_WINNT 0x0502)   # Windows XP x64, Server 2003
  set(TARVESK_FLOOR_IE 0x0600)      # the common controls they ship
  set(TARVESK_FLOOR_MAJOR 5)
  set(TARVESK_FLOOR_MINOR 2)
else()
  set(TARVESK_FLOOR_WINNT 0x0400)   # Windows 95, NT 4.0
  set(TARVESK_FLOOR_IE 0x0300)      # common controls 4.70 (progress range, tooltip width)
  set(TARVESK_FLOOR_MAJOR 4)
  set(TARVESK_FLOOR_MINOR 0)
endif()

# Code that runs in the programs: the headers of the floor (PUBLIC: whoever includes the
# target's headers sees the same declarations and record sizes).
function(tarvesk_floor_headers target)
  target_compile_definitions(${target} PUBLIC _WIN32_WINNT=${TARVESK_FLOOR_WINNT}
                             WINVER=${TARVESK_FLOOR_WINNT} _WIN32_IE=${TARVESK_FLOOR_IE})
endfunction()

# A program: its header's operating-system and subsystem versions name the floor.
function(tarvesk_floor_program target)
  target_link_options(${target} PRIVATE
    -Wl,--major-os-version,${TARVESK_FLOOR_MAJOR},--minor-os-version,${TARVESK_FLOOR_MINOR}
    -Wl,--major-subsystem-version,${TARVESK_FLOOR_MAJOR},--minor-subsystem-version,${TARVESK_FLOOR_MINOR})
endfunction()
