# The LZMA decoder as target setup_lzma: LzmaDec.c from Debian's lzma-dev package (the LZMA SDK's C
# sources, installed by scripts/bootstrap.sh), copied into the build folder and compiled here for
# whichever side builds (its folder also holds liblzma's headers, which must not shadow ours). The
# host's setup-pack compresses with liblzma (liblzma-dev) as target setup_lzma_encoder.
if(TARGET setup_lzma)
    return()
endif()
set(SETUP_LZMA_SDK_DIR /usr/include/lzma CACHE PATH "The LZMA SDK's C sources (lzma-dev)")
if(NOT EXISTS "${SETUP_LZMA_SDK_DIR}/LzmaDec.c")
    message(FATAL_ERROR "LzmaDec.c missing under ${SETUP_LZMA_SDK_DIR}: run scripts/bootstrap.sh")
endif()
set(_lzma_dir "${CMAKE_BINARY_DIR}/deps/lzma")
foreach(_file LzmaDec.c LzmaDec.h Types.h)
    configure_file("${SETUP_LZMA_SDK_DIR}/${_file}" "${_lzma_dir}/${_file}" COPYONLY)
endforeach()
add_library(setup_lzma STATIC "${_lzma_dir}/LzmaDec.c")
# Decoding speed is the installation's time: built for speed, like the zstd decoder.
target_compile_options(setup_lzma PRIVATE -O2 -w)
target_include_directories(setup_lzma SYSTEM PUBLIC "${_lzma_dir}")
if(NOT WIN32 AND NOT TARGET setup_lzma_encoder)
    include(${CMAKE_CURRENT_LIST_DIR}/HostLibrary.cmake)
    setup_host_library(setup_lzma_encoder lzma.h lzma)
endif()
