# The generators in tools/ are host programs. In a native build they are ordinary
# targets; in a cross build they are built with the host compiler as a separate project.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_dir ${CMAKE_BINARY_DIR}/hosttools)
  set(TARVESK_ICONGEN ${_host_dir}/bin/icongen)
  set(TARVESK_HLPGEN ${_host_dir}/bin/hlpgen)
  ExternalProject_Add(hosttools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${_host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
               -DCMAKE_TOOLCHAIN_FILE= -DTARVESK_HOST_TESTS=OFF
               -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${_host_dir}/bin
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TARVESK_ICONGEN} ${TARVESK_HLPGEN})
  set(TARVESK_HOSTTOOLS_TARGET hosttools)
else()
  add_subdirectory(tools)
  set(TARVESK_ICONGEN $<TARGET_FILE:icongen>)
  set(TARVESK_HLPGEN $<TARGET_FILE:hlpgen>)
  set(TARVESK_HOSTTOOLS_TARGET)
  foreach(tool icongen hlpgen)
    if(TARGET ${tool})
      list(APPEND TARVESK_HOSTTOOLS_TARGET ${tool})
    endif()
  endforeach()
endif()
