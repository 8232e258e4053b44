# Shared part of the two MinGW-w64 toolchains. The posix thread model is required for std::thread.
set(CMAKE_C_COMPILER ${SETUP_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SETUP_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SETUP_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SETUP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the installer must import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
