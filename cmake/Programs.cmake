# The two programs of a Windows test tree. The tests are built with the posix compilers
# (GoogleTest needs std::mutex); the programs that ship must not link the POSIX thread
# runtime, so they are built with TARVESK_PROGRAMS_TOOLCHAIN (the win32 compilers) in a
# tree of their own under programs/, from these same sources, into this tree's bin/.
# The targets Tarvesk and TarveskA build them, as they do where a tree builds them itself.
include(ExternalProject)
ExternalProject_Add(tarvesk_programs
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/programs
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${TARVESK_PROGRAMS_TOOLCHAIN}
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DTARVESK_PROGRAMS_ONLY=ON
             -DTARVESK_TESTS=OFF
             -DTARVESK_PROGRAMS_DIR=${CMAKE_BINARY_DIR}/bin
             -DTARVESK_HOST_TOOLS_DIR=${TARVESK_HOST_TOOLS_DIR}
  # Flags given to this tree reach the programs' tree too.
  CMAKE_CACHE_ARGS -DCMAKE_C_FLAGS:STRING=${CMAKE_C_FLAGS}
                   -DCMAKE_CXX_FLAGS:STRING=${CMAKE_CXX_FLAGS}
                   -DCMAKE_EXE_LINKER_FLAGS:STRING=${CMAKE_EXE_LINKER_FLAGS}
                   -DCMAKE_RC_FLAGS:STRING=${CMAKE_RC_FLAGS}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS ${TARVESK_HOSTTOOLS_TARGET}
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/bin/Tarvesk.exe ${CMAKE_BINARY_DIR}/bin/TarveskA.exe)
foreach(program Tarvesk TarveskA)
  add_custom_target(${program} ALL)
  add_dependencies(${program} tarvesk_programs)
endforeach()
