# Cross-compiles for Windows with MinGW-w64; tests run under Wine. Included by the
# toolchain files named after an architecture and a thread model, which set
# TARVESK_MINGW_ARCH (x86_64, i686) and TARVESK_MINGW_THREADS (posix, win32).
#
# The thread model decides the runtime that gets linked in. The posix compilers bring the
# POSIX thread runtime, which imports functions that only Windows Vista and later have;
# GoogleTest and the end-to-end driver need it (std::mutex, std::thread). The win32
# compilers bring only what old Windows has, and build the two programs that ship.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARVESK_MINGW_ARCH})
set(CMAKE_C_COMPILER   ${TARVESK_MINGW_ARCH}-w64-mingw32-gcc-${TARVESK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TARVESK_MINGW_ARCH}-w64-mingw32-g++-${TARVESK_MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${TARVESK_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVESK_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# A tree built with the posix compilers builds the programs in a tree of their own, with
# this toolchain file (cmake/Programs.cmake).
if(TARVESK_MINGW_THREADS STREQUAL "posix")
  set(TARVESK_PROGRAMS_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-${TARVESK_MINGW_ARCH}-win32.cmake)
else()
  set(TARVESK_PROGRAMS_TOOLCHAIN "")
endif()
