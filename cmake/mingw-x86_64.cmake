set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SETUP_MINGW_TRIPLET x86_64-w64-mingw32)
# C symbols carry no leading underscore on x86_64.
set(SETUP_SYMBOL_PREFIX "")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
