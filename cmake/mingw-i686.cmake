set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SETUP_MINGW_TRIPLET i686-w64-mingw32)
# C symbols carry a leading underscore on i686 only.
set(SETUP_SYMBOL_PREFIX "_")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
