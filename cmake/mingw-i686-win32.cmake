# Windows (i686): the programs, with the win32 thread model. See mingw.cmake.
set(TARVESK_MINGW_ARCH i686)
set(TARVESK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
