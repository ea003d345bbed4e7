# The generators in tools/ are host programs. In a native build they are ordinary
# targets; in a cross build they are built with the host compiler as a separate project,
# or taken from TARVESK_HOST_TOOLS_DIR where another tree has built them already.
if(CMAKE_CROSSCOMPILING AND TARVESK_HOST_TOOLS_DIR)
  set(TARVESK_ICONGEN ${TARVESK_HOST_TOOLS_DIR}/icongen)
  set(TARVESK_HLPGEN ${TARVESK_HOST_TOOLS_DIR}/hlpgen)
  set(TARVESK_HOSTTOOLS_TARGET)
elseif(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_dir ${CMAKE_BINARY_DIR}/hosttools)
  set(TARVESK_HOST_TOOLS_DIR ${_host_dir}/bin)
  set(TARVESK_ICONGEN ${TARVESK_HOST_TOOLS_DIR}/icongen)
  set(TARVESK_HLPGEN ${TARVESK_HOST_TOOLS_DIR}/hlpgen)
  ExternalProject_Add(hosttools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${_host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
               -DCMAKE_TOOLCHAIN_FILE= -DTARVESK_HOST_TESTS=OFF
               -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${TARVESK_HOST_TOOLS_DIR}
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
