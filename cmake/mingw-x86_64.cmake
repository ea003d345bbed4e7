# Windows (x86_64): the tests, with the posix thread model; the programs come from
# mingw-x86_64-win32.cmake in a tree of their own. See mingw.cmake.
set(TARVESK_MINGW_ARCH x86_64)
set(TARVESK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
