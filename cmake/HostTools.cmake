# Builds the host tools with the build machine's compiler, so the Windows build can run them.
include(ExternalProject)

set(SETUP_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(SETUP_PACK_TOOL ${SETUP_HOST_TOOLS_DIR}/tools/pack/setup-pack)
set(SETUP_SKINGEN_TOOL ${SETUP_HOST_TOOLS_DIR}/tools/skingen/skingen)

ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${SETUP_HOST_TOOLS_DIR}
    CMAKE_ARGS -DSETUP_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DBUILD_TESTING=OFF
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${SETUP_PACK_TOOL} ${SETUP_SKINGEN_TOOL}
    USES_TERMINAL_BUILD ON)
