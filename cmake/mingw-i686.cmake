# Windows (i686): the tests, with the posix thread model; the programs come from
# mingw-i686-win32.cmake in a tree of their own. See mingw.cmake.
set(TARVESK_MINGW_ARCH i686)
set(TARVESK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
